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

}  // namespace jukora
