// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the player's program is where the user said it is.
#pragma once

#include <string>

#include "player/player_link.h"

namespace jukora {

// Whether the player lives in the folder the user picks and its program is
// not there (for Winamp: no "winamp.exe" in the Winamp directory).
bool program_missing_from_folder(const PlayerLink& link, const std::string& player_dir);

}  // namespace jukora
