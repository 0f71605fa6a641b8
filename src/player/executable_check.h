// SPDX-License-Identifier: GPL-3.0-or-later
// The test every operation that starts or drives the player makes first.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "player/player_link.h"

namespace jukora {

// Whether the player lives in the folder the user picks and its program is
// not there (for Winamp: no "winamp.exe" in the Winamp directory).
bool program_missing_from_folder(const PlayerLink& link, const std::string& player_dir);

// Whether the player can be used. When it cannot, the user is told why (for
// Winamp: "Winamp executable not found. ...") and the Preferences dialog
// opens, not waited for.
bool player_ready(const PlayerLink& link, const std::string& player_dir, Desktop& desktop);

}  // namespace jukora
