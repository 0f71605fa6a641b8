// SPDX-License-Identifier: GPL-3.0-or-later
// A Music Player Daemon as the player, local or on another machine, through
// libmpdclient. Jukora never starts or stops MPD itself: it replaces MPD's
// queue with the song or playlist it hands over, and reads MPD's state and
// current song. POSIX only.
#pragma once

#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "player/player_link.h"

namespace jukora {

class SettingsStore;

class MpdLink : public PlayerLink {
 public:
  // Host, port, password and music folder are read from `settings` (section
  // "player") at every use; the export's playlist file goes into folders.data.
  MpdLink(const SettingsStore& settings, const AppFolders& folders);
  ~MpdLink() override;

  Reach reach() override;
  PlayStatus play_status() override;
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  HandOver play_playlist(const std::string& player_dir) override;
  std::string playlist_path(const std::string& player_dir) const override;
  void stop() override;
  // Jukora never starts MPD: a daemon that is not there is told by
  // missing_program.
  void start(const std::string& player_dir) override;

  std::string missing_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;
  void cycle_ended() override;

 private:
  class Impl;
  // Held by pointer so that the const requests may still open a connection.
  std::unique_ptr<Impl> impl_;
};

}  // namespace jukora
