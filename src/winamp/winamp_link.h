// The media player as the program uses it. Two backends: Win32WinampLink
// (window messages to Winamp) and MpvLink (mpv's JSON IPC socket).
#pragma once

#include <cstdint>
#include <string>

namespace jukora {

// A running player, or kNoPlayer. Looked up afresh for every request and
// never kept.
using PlayerHandle = std::intptr_t;
inline constexpr PlayerHandle kNoPlayer = 0;

// Answers of the play-status request.
inline constexpr int kStatusPlaying = 1;
inline constexpr int kStatusPaused = 3;

class WinampLink {
 public:
  virtual ~WinampLink() = default;

  virtual PlayerHandle find_winamp() = 0;
  // 0x20yx for a 2.yx; 0 when the player does not answer.
  virtual long version(PlayerHandle player) = 0;
  // The player writes its playlist file and answers the 0-based position of
  // the current song, negative for none.
  virtual long write_playlist(PlayerHandle player) = 0;
  // 1 playing, 3 paused, anything else stopped; kNoPlayer answers 0.
  virtual int play_status(PlayerHandle player) = 0;
  virtual void stop(PlayerHandle player) = 0;

  // Starts are never waited for; their outcome is not examined.
  virtual void start(const std::string& winamp_dir) = 0;
  // The one file becomes the player's whole playlist and plays.
  virtual void start_with_file(const std::string& winamp_dir, const std::string& song_path) = 0;
  // Loads the playlist file (playlist_path) and plays it.
  virtual void start_with_playlist(const std::string& winamp_dir) = 0;

  // The player's executable, tested before every start.
  virtual std::string executable_path(const std::string& winamp_dir) const = 0;
  // The playlist file the player writes and is started with.
  virtual std::string playlist_path(const std::string& winamp_dir) const = 0;
};

inline constexpr const char* kExecutableNotFound = "Winamp executable not found.  Do you have the right Winamp dir?";

}  // namespace jukora
