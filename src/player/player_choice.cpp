// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/player_choice.h"

#include "platform/settings_keys.h"

namespace jukora {

PlayerChoice::PlayerChoice(const SettingsStore& settings, PlayerLink& built_in)
    : settings_(settings), built_in_(built_in) {
  listen_to(built_in_);
}

void PlayerChoice::add(std::string kind, PlayerLink& backend) {
  backends_.emplace_back(std::move(kind), &backend);
  listen_to(backend);
}

PlayerLink& PlayerChoice::current() const {
  const std::string kind = read_player_kind(settings_);
  for (const auto& [name, backend] : backends_)
    if (name == kind) return *backend;
  return built_in_;
}

void PlayerChoice::cycle_ended() {
  built_in_.cycle_ended();
  for (const auto& [name, backend] : backends_) backend->cycle_ended();
}

void PlayerChoice::listen_to(PlayerLink& backend) {
  // A player the user has left for another one has nothing to say.
  backend.on_change = [this, &backend] {
    if (&current() == &backend) changed();
  };
  backend.on_seeked = [this, &backend](std::chrono::milliseconds position) {
    if (&current() == &backend && on_seeked) on_seeked(position);
  };
}

}  // namespace jukora
