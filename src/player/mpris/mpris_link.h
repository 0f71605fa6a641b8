// SPDX-License-Identifier: GPL-3.0-or-later
// The player on Linux when the user picks a desktop player: whatever runs
// under the bus name the settings give ("player"/"mpris_name"), reached over
// MPRIS on the D-Bus session bus. Every call to the player is asynchronous
// with a deadline; the link answers from what the player last reported
// (its signals, and a poll at every request), so no request waits on the
// player. Needs a running Qt event loop.
#pragma once

#ifndef _WIN32

#include <functional>
#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "player/mpris/mpris_rules.h"
#include "player/player_link.h"

namespace jukora {

class SettingsStore;
class MprisBus;

class MprisLink : public PlayerLink, public MprisDirectory {
 public:
  // Whether the process with this id is the program's own mpv, which shows
  // up on the bus as an MPRIS player too and is never the user's.
  using OwnPlayerTest = std::function<bool(long pid)>;

  MprisLink(const SettingsStore& settings, const AppFolders& folders, OwnPlayerTest own_player);
  ~MprisLink() override;

  Reach reach() override;
  PlayStatus play_status() override;
  CurrentSong current_song(const std::string& player_dir) override;

  HandOver play_file(const std::string& player_dir, const std::string& song_path) override;
  HandOver play_playlist(const std::string& player_dir) override;
  std::string playlist_path(const std::string& player_dir) const override;
  void stop() override;
  // Runs the command that starts the player, unless it runs or is coming up.
  void start(const std::string& player_dir) override;

  std::string missing_program(const std::string& player_dir) const override;
  PlayerTexts texts() const override;

  std::string unavailable() const override;
  void list_players(std::function<void(std::vector<MprisPlayer>)> done) override;

  // Set by the program: tells the user, without a box in the way, that a
  // hand-over which had to wait for the player to come up was refused.
  std::function<void(const std::string&)> tell;

 private:
  friend class MprisBus;

  std::unique_ptr<MprisBus> bus_;
};

}  // namespace jukora

#endif
