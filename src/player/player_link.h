// SPDX-License-Identifier: GPL-3.0-or-later
// The media player as the program uses it, by what a player does for Jukora:
// it is reached, reports its status and the song it is at, plays one file or
// a playlist from its first song, stops, and is started bare. Each backend
// (player/winamp, player/mpv, player/mpris, player/mpd) does that its own
// way. Every request ends within a bounded time: a player that does not
// answer in time is busy, never gone.
#pragma once

#include <chrono>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace jukora {

// Whether the player can be reached now.
enum class Reach {
  kRunning,     // it runs and answers
  kBusy,        // it is there but did not answer in time, or is still coming up:
                // ask again later, and never start another one
  kNotRunning,  // no player runs
};

// What the player does, as the play cycle sees it.
enum class PlayStatus {
  kStopped,
  kPlaying,
  kPaused,
  kBusy,  // it did not answer in time: not a stop, so nothing moves on
};

// What became of a song or a playlist handed to the player.
struct HandOver {
  enum class Result {
    kStarted,  // handed over; whether it plays is seen by later requests
    kBusy,     // the player could not take it now: try again on a later tick
    kRefused,  // the player will not take it: `reason` says why, for the user, in whole sentences
  };
  Result result = Result::kStarted;
  std::string reason;
  // A refusal that holds for every song, not just this one: the player
  // takes none the way it is set up.
  bool any_song = false;

  static HandOver started() { return {}; }
  static HandOver busy() { return {Result::kBusy, {}}; }
  static HandOver refused(std::string why) { return {Result::kRefused, std::move(why)}; }
  static HandOver refused_any(std::string why) { return {Result::kRefused, std::move(why), true}; }
};

// What became of the song the last play_file handed over.
struct Arrival {
  enum class State {
    kPlays,    // the player plays it, or has: it counts as played
    kAwaited,  // not yet seen playing; ask again later
    kLost,     // the player went away before it played: it did not play, and the player may be started again
    kMissed,   // the player took it but did not play it: `reason` says so for the user (empty: told already)
  };
  State state = State::kPlays;
  std::string reason;
  // A miss that holds for every song, not just this one: the player did not
  // come up, or takes no songs the way it is set up.
  bool any_song = false;
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
  // Told to the user in a message box when not empty (not running, or what
  // keeps the player from naming its song).
  std::string message;
  // The Preferences dialog opens after the message.
  bool show_preferences = false;
  // Why the name the player gives is no song, for the word after a score
  // click (where no message is shown); empty when there is nothing to say.
  std::string reason = {};

  static CurrentSong song(std::string path) { return {Kind::kSong, std::move(path), {}, false}; }
  static CurrentSong no_song(std::string message = {}, bool preferences = false) {
    return {Kind::kNoSong, {}, std::move(message), preferences};
  }
  static CurrentSong unnamed(std::string why) { return {Kind::kNoSong, {}, {}, false, std::move(why)}; }
  static CurrentSong busy() { return {Kind::kBusy, {}, {}, false}; }
  static CurrentSong not_running(std::string message, bool preferences = false) {
    return {Kind::kNotRunning, {}, std::move(message), preferences};
  }
};

// How far the player is into the song it is at, and how long that song is:
// each as the player says it, nothing where it says nothing (a stream, a
// song it has no length for). A player that did not answer in time is busy.
struct PlayPosition {
  PlayStatus status = PlayStatus::kBusy;
  std::optional<std::chrono::milliseconds> position = {}, length = {};
};

// A time a player gives in seconds with a fraction; nothing for one that is
// missing, negative or beyond any song (no overflow from a garbled answer).
inline std::optional<std::chrono::milliseconds> player_seconds(std::optional<double> seconds) {
  if (!seconds || !(*seconds >= 0) || *seconds > 1e9) return std::nullopt;
  return std::chrono::milliseconds(std::llround(*seconds * 1000));
}

// The texts that name the player. On Windows they are Winamp's, word for
// word; elsewhere each backend says what is true for the player in use.
struct PlayerTexts {
  std::string name;                  // "Winamp", "mpv", the MPRIS player's Identity, "MPD"
  std::string stop_item;             // the mode menu item: "Stop Winamp"
  std::string folder_label;          // Preferences: "Winamp Directory"
  std::string chooser_caption;       // the folder chooser: "Select Winamp Dir"
  std::string executable_not_found;  // "Winamp executable not found.  Do you have the right Winamp dir?"
  std::string not_running;           // "Winamp is not running.  To run winamp, ..."
  std::string folder_tip;            // the folder box's tooltip: "Winamp executable directory"
  std::string browse_tip;            // Browse's tooltip: "Browse for winamp executable directory"
};

// `player_dir` is the setting "winamp_dir", read afresh by the caller for
// every request: the folder that holds the player's program, where the
// player lives in one.
class PlayerLink {
 public:
  virtual ~PlayerLink() = default;

  // Whether the player runs and answers now. Starts nothing.
  virtual Reach reach() = 0;
  // Asked by the play cycle's tick only, once reach() found the player
  // running, so the first status after cycle_ended (or ever) is a cycle's first.
  virtual PlayStatus play_status() = 0;
  // The song the player is at.
  virtual CurrentSong current_song(const std::string& player_dir) = 0;
  // The song a score click made at `asked` goes to: what the player reports
  // at that moment or later, never from before it. A backend that may hear
  // of a change of song late (by a signal) answers busy until a reading it
  // asked for since has come back, and then tells through changed(). The
  // default reads the player there and then.
  virtual CurrentSong current_song_since(const std::string& player_dir,
                                         std::chrono::steady_clock::time_point /*asked*/) {
    return current_song(player_dir);
  }
  // Whether the player plays, and where in its song, in one request within
  // the link's deadline, for scores that learn from listening (asked only
  // while they are on). A backend whose player cannot say keeps the
  // default, and its plays never change a score.
  virtual PlayPosition play_position() { return {}; }

  // The one file becomes the player's whole playlist and plays. `song_path`
  // is always a local file path that exists.
  virtual HandOver play_file(const std::string& player_dir, const std::string& song_path) = 0;
  // Whether the song the last play_file started plays. A backend that can
  // tell confirms it only once the player is seen playing it, and says what
  // the player said when it did not; Winamp takes a song only to play it at
  // once, and keeps the default.
  virtual Arrival arrival() { return {}; }
  // The playlist file (playlist_path) becomes the player's playlist and plays
  // from its first song.
  virtual HandOver play_playlist(const std::string& player_dir) = 0;
  // Where the playlist export writes the list that play_playlist plays.
  virtual std::string playlist_path(const std::string& player_dir) const = 0;
  // Stops the song of a player that reach() found running; the player keeps
  // running.
  virtual void stop() = 0;
  // Starts the player without a song; never waited for.
  virtual void start(const std::string& player_dir) = 0;

  // Empty when the player can be used; otherwise what to tell the user
  // before the Preferences dialog opens. The base tests that the folder
  // program is there.
  virtual std::string missing_program(const std::string& player_dir) const;
  // The program of a player that lives in the folder the user picks
  // (winamp.exe, mpv): start-up opens the folder chooser when it is not
  // there. Empty for a player found elsewhere, or never started by Jukora.
  virtual std::string folder_program(const std::string&) const { return {}; }

  virtual PlayerTexts texts() const = 0;

  // The play cycle has ended: by itself (no song left) or through the Stop
  // item. A backend that changed player state other programs share for the
  // cycle's sake (MPD's modes) puts it back here.
  virtual void cycle_ended() {}

  // Set by the program; a backend that learns of a change in the player by
  // itself (a signal, an event) calls it on the user-interface thread, so
  // that a waiting score or play cycle need not wait for the next tick.
  std::function<void()> on_change;
  // Set by the program; called like on_change by a backend whose player
  // tells of a seek in the song it plays, with the position reached.
  std::function<void(std::chrono::milliseconds)> on_seeked;

 protected:
  void changed() const {
    if (on_change) on_change();
  }
};

}  // namespace jukora
