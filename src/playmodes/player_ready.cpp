// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/player_ready.h"

#include "platform/desktop.h"
#include "player/player_link.h"

namespace jukora {

bool player_ready(const PlayerLink& link, const std::string& player_dir, Desktop& desktop) {
  std::string missing = link.missing_program(player_dir);
  if (missing.empty()) return true;
  desktop.message_box(missing);
  desktop.show_preferences();
  return false;
}

}  // namespace jukora
