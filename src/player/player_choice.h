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

  Reach reach() override { return current().reach(); }
  PlayStatus play_status() override { return current().play_status(); }
  CurrentSong current_song(const std::string& player_dir) override { return current().current_song(player_dir); }
  CurrentSong current_song_since(const std::string& player_dir, std::chrono::steady_clock::time_point asked) override {
    return current().current_song_since(player_dir, asked);
  }
  PlayPosition play_position() override { return current().play_position(); }
  HandOver play_file(const std::string& player_dir, const std::string& song_path) override {
    return current().play_file(player_dir, song_path);
  }
  Arrival arrival() override { return current().arrival(); }
  HandOver play_playlist(const std::string& player_dir) override { return current().play_playlist(player_dir); }
  std::string playlist_path(const std::string& player_dir) const override {
    return current().playlist_path(player_dir);
  }
  void stop() override { current().stop(); }
  void start(const std::string& player_dir) override { current().start(player_dir); }
  std::string missing_program(const std::string& player_dir) const override {
    return current().missing_program(player_dir);
  }
  std::string folder_program(const std::string& player_dir) const override {
    return current().folder_program(player_dir);
  }
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
