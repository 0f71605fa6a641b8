// SPDX-License-Identifier: GPL-3.0-or-later
// The player the user chose in Preferences, seen as one player: every
// request goes to the backend that the setting "player"/"kind" names at that
// moment, so a change takes effect at the next request, like every other
// preference. An unknown or missing kind means the built-in player.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "player/player_link.h"

namespace jukora {

class SettingsStore;

class PlayerChoice : public PlayerLink {
 public:
  PlayerChoice(const SettingsStore& settings, PlayerLink& built_in);

  // Makes `backend` the player of kind `kind` ("mpris", "mpd").
  void add(std::string kind, PlayerLink& backend);
  // The backend the settings name now.
  PlayerLink& current() const;

  PlayerHandle find_winamp() override { return current().find_winamp(); }
  long version(PlayerHandle player) override { return current().version(player); }
  long write_playlist(PlayerHandle player) override { return current().write_playlist(player); }
  int play_status(PlayerHandle player) override { return current().play_status(player); }
  void stop(PlayerHandle player) override { current().stop(player); }
  void start(const std::string& winamp_dir) override { current().start(winamp_dir); }
  HandOver start_with_file(const std::string& winamp_dir, const std::string& song_path) override {
    return current().start_with_file(winamp_dir, song_path);
  }
  HandOver start_with_playlist(const std::string& winamp_dir) override {
    return current().start_with_playlist(winamp_dir);
  }
  std::string executable_path(const std::string& winamp_dir) const override {
    return current().executable_path(winamp_dir);
  }
  std::string playlist_path(const std::string& winamp_dir) const override {
    return current().playlist_path(winamp_dir);
  }
  CurrentSong current_song(const std::string& winamp_dir) override { return current().current_song(winamp_dir); }
  std::string missing_program(const std::string& winamp_dir) const override {
    return current().missing_program(winamp_dir);
  }
  bool uses_player_folder() const override { return current().uses_player_folder(); }
  PlayerTexts texts() const override { return current().texts(); }
  // Every player hears it: the cycle may have run on one the user has left since.
  void cycle_ended() override;

 private:
  void listen_to(PlayerLink& backend);

  const SettingsStore& settings_;
  PlayerLink& built_in_;
  std::vector<std::pair<std::string, PlayerLink*>> backends_;
};

}  // namespace jukora
