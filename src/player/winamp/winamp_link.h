// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp (2.05 or later) as the player, on Windows: found by its window,
// asked by window messages whether it plays and which song it is at, and
// started with its command line, minimised, with a song or with
// "winamp.m3u" from its folder. Winamp does not name the song it plays: it
// writes its playlist to "winamp.m3u" on request and answers the position,
// and the entry at that position is read from the file. The protocol is
// plain C++ over WinampWindow, so that it is tested on every system.
#pragma once

#include <string>
#include <string_view>

#include "player/player_link.h"
#include "player/winamp/winamp_window.h"

namespace jukora {

// The lowest version answer accepted: 0x2005, which is how Winamp 2.05 (the
// version the message names) reports itself.
inline constexpr long kLowestVersion = 0x2005;

// The entry at 0-based `position` of an M3U text: lines starting with "#"
// are skipped, every other line (an empty one too) is an entry.
std::string playlist_entry(std::string_view text, long position);

class WinampLink : public PlayerLink {
 public:
  explicit WinampLink(WinampWindow& window) : window_(window) {}

  // Winamp is running when its window is there; a hung one is found too,
  // and its requests then say busy.
  Reach reach() override;
  PlayStatus play_status() override;
  // Finds Winamp, checks its version, has it write its playlist and reads
  // the entry at the position it answers, as it is written there.
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  HandOver play_playlist(const std::string& player_dir) override;
  // "winamp.m3u" in the Winamp folder, which Winamp itself writes too.
  std::string playlist_path(const std::string& player_dir) const override;
  void stop() override;
  void start(const std::string& player_dir) override;

  std::string folder_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;

 private:
  WinampWindow& window_;
};

}  // namespace jukora
