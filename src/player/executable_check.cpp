// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/executable_check.h"

#include "platform/files.h"

namespace jukora {

bool program_missing_from_folder(const PlayerLink& link, const std::string& player_dir) {
  const std::string program = link.folder_program(player_dir);
  return !program.empty() && !is_file(program);
}

std::string PlayerLink::missing_program(const std::string& player_dir) const {
  return program_missing_from_folder(*this, player_dir) ? texts().executable_not_found : std::string();
}

bool player_ready(const PlayerLink& link, const std::string& player_dir, Desktop& desktop) {
  std::string missing = link.missing_program(player_dir);
  if (missing.empty()) return true;
  desktop.message_box(missing);
  desktop.show_preferences();
  return false;
}

}  // namespace jukora
