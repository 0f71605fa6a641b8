// SPDX-License-Identifier: GPL-3.0-or-later
// The player on Windows: Winamp, found by its window class and driven by
// window messages and its command line.
#pragma once

#ifdef _WIN32

#include <string>

#include "player/player_link.h"

namespace jukora {

class Win32WinampLink : public PlayerLink {
 public:
  PlayerHandle find_winamp() override;
  long version(PlayerHandle player) override;
  long write_playlist(PlayerHandle player) override;
  int play_status(PlayerHandle player) override;
  void stop(PlayerHandle player) override;

  void start(const std::string& winamp_dir) override;
  HandOver start_with_file(const std::string& winamp_dir, const std::string& song_path) override;
  HandOver start_with_playlist(const std::string& winamp_dir) override;

  std::string executable_path(const std::string& winamp_dir) const override;
  std::string playlist_path(const std::string& winamp_dir) const override;
};

}  // namespace jukora

#endif
