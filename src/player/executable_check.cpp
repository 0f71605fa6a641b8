// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/executable_check.h"

#include "platform/files.h"

namespace jukora {

bool executable_exists(const PlayerLink& link, const std::string& winamp_dir) {
  return is_file(link.executable_path(winamp_dir));
}

bool player_ready(const PlayerLink& link, const std::string& winamp_dir, Desktop& desktop) {
  std::string missing = link.missing_program(winamp_dir);
  if (missing.empty()) return true;
  desktop.message_box(missing);
  desktop.show_preferences();
  return false;
}

}  // namespace jukora
