// SPDX-License-Identifier: GPL-3.0-or-later
// The media player as the program uses it. Backends: Win32WinampLink (window
// messages to Winamp), MpvLink (an mpv the program starts, over its JSON IPC
// socket), and on Linux the desktop players that speak MPRIS and a Music
// Player Daemon. Every backend answers within a bounded time: a player that
// does not answer in time is busy, never gone.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace jukora {

// A running player, or kNoPlayer. Looked up afresh for every request and
// never kept.
using PlayerHandle = std::intptr_t;
inline constexpr PlayerHandle kNoPlayer = 0;
// The player is there but did not answer in time, or is still coming up:
// ask again later. Never a reason to start another one.
inline constexpr PlayerHandle kPlayerBusy = -1;

// Answers of the play-status request. Anything else (0 above all) is stopped.
inline constexpr int kStatusPlaying = 1;
inline constexpr int kStatusPaused = 3;
// The player did not answer in time: not a stop, so nothing moves on.
inline constexpr int kStatusBusy = -1;

// What became of a song or a playlist handed to the player.
struct HandOver {
  enum class Result {
    kStarted,  // handed over; whether it plays is seen by later requests
    kBusy,     // the player could not take it now: try again on a later tick
    kRefused,  // the player will not take it: `reason` says why, for the user, in whole sentences
  };
  Result result = Result::kStarted;
  std::string reason;

  static HandOver started() { return {}; }
  static HandOver busy() { return {Result::kBusy, {}}; }
  static HandOver refused(std::string why) { return {Result::kRefused, std::move(why)}; }
};

// The song the player is at, as the scoring of the playing song needs it.
struct CurrentSong {
  enum class Kind {
    kSong,        // `path` names it, as the player does (not yet checked to be a local file)
    kNoSong,      // the player runs but is at no song it can name
    kBusy,        // the player did not answer in time: the caller may try again soon
    kNotRunning,  // no player
  };
  Kind kind = Kind::kNoSong;
  std::string path;
  // Told to the user in a message box when not empty (the texts of the
  // original lookup: not running, too old, playlist not found).
  std::string message;
  // The Preferences dialog opens after the message.
  bool show_preferences = false;

  static CurrentSong song(std::string path) { return {Kind::kSong, std::move(path), {}, false}; }
  static CurrentSong no_song(std::string message = {}, bool preferences = false) {
    return {Kind::kNoSong, {}, std::move(message), preferences};
  }
  static CurrentSong busy() { return {Kind::kBusy, {}, {}, false}; }
  static CurrentSong not_running(std::string message) { return {Kind::kNotRunning, {}, std::move(message), false}; }
};

// The texts that name the player. On Windows they are Winamp's, word for
// word; elsewhere each backend says what is true for the player in use.
struct PlayerTexts {
  std::string name;                  // "Winamp", "mpv", the MPRIS player's Identity, "MPD"
  std::string stop_item;             // the mode menu item: "Stop Winamp"
  std::string folder_label;          // Preferences: "Winamp Directory"
  std::string chooser_caption;       // the folder chooser: "Select Winamp Dir"
  std::string executable_not_found;  // "Winamp executable not found.  Do you have the right Winamp dir?"
  std::string not_running;           // "Winamp is not running.  To run winamp, ..."
  std::string too_old;               // "This program requires Winamp 2.05 or higher"; empty: no demand
  std::string playlist_not_found;    // "Winamp playlist not found.  Do you have the right Winamp dir?"
  std::string folder_tip;            // the folder box's tooltip: "Winamp executable directory"
  std::string browse_tip;            // Browse's tooltip: "Browse for winamp executable directory"
};

// Winamp's own texts, exactly as the program has always shown them.
const PlayerTexts& winamp_texts();

class PlayerLink {
 public:
  virtual ~PlayerLink() = default;

  // The running player, kNoPlayer when none runs, kPlayerBusy when it runs
  // but does not answer in time.
  virtual PlayerHandle find_winamp() = 0;
  // 0x20yx for a 2.yx; 0 when there is no player, kStatusBusy when it did not
  // answer in time.
  virtual long version(PlayerHandle player) = 0;
  // The player writes its playlist file and answers the 0-based position of
  // the current song, negative for none.
  virtual long write_playlist(PlayerHandle player) = 0;
  // 1 playing, 3 paused, kStatusBusy when it did not answer in time,
  // anything else stopped; kNoPlayer answers 0. Asked by the play cycle's
  // tick only, so the first status after cycle_ended (or ever) is a cycle's first.
  virtual int play_status(PlayerHandle player) = 0;
  virtual void stop(PlayerHandle player) = 0;

  // Starts the player without a song; never waited for.
  virtual void start(const std::string& winamp_dir) = 0;
  // The one file becomes the player's whole playlist and plays. `song_path`
  // is always a local file path that exists.
  virtual HandOver start_with_file(const std::string& winamp_dir, const std::string& song_path) = 0;
  // Loads the playlist file (playlist_path) and plays it from its first song.
  virtual HandOver start_with_playlist(const std::string& winamp_dir) = 0;

  // The player's executable, tested before every start.
  virtual std::string executable_path(const std::string& winamp_dir) const = 0;
  // The playlist file the player writes and is started with.
  virtual std::string playlist_path(const std::string& winamp_dir) const = 0;

  // The song the player is at. The base asks the way Winamp is asked: find
  // it, check its version, have it write its playlist and read the entry at
  // the position it answers. Backends that can name the song directly
  // override it.
  virtual CurrentSong current_song(const std::string& winamp_dir);

  // Empty when the player can be used; otherwise what to tell the user
  // before the Preferences dialog opens (the base: the executable test).
  virtual std::string missing_program(const std::string& winamp_dir) const;
  // Whether the player lives in a folder the user picks ("winamp_dir"), so
  // that start-up opens the folder chooser when its program is missing.
  virtual bool uses_player_folder() const { return true; }

  virtual PlayerTexts texts() const { return winamp_texts(); }

  // The play cycle has ended: by itself (no song left) or through the Stop
  // item. A backend that changed player state other programs share for the
  // cycle's sake (MPD's modes) puts it back here.
  virtual void cycle_ended() {}

  // Set by the program; a backend that learns of a change in the player by
  // itself (a signal, an event) calls it on the user-interface thread, so
  // that a waiting score or play cycle need not wait for the next tick.
  std::function<void()> on_change;

 protected:
  void changed() const {
    if (on_change) on_change();
  }
};

// Kept for the callers that name the texts directly; the same as winamp_texts().
inline constexpr const char* kExecutableNotFound = "Winamp executable not found.  Do you have the right Winamp dir?";

}  // namespace jukora
