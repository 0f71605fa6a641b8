// SPDX-License-Identifier: GPL-3.0-or-later
// The test every operation that starts or drives the player makes first.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "player/player_link.h"

namespace jukora {

bool executable_exists(const PlayerLink& link, const std::string& winamp_dir);

// Whether the player can be used. When it cannot, the user is told why (for
// Winamp: "Winamp executable not found. ...") and the Preferences dialog
// opens, not waited for.
bool player_ready(const PlayerLink& link, const std::string& winamp_dir, Desktop& desktop);

}  // namespace jukora
