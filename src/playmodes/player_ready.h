// SPDX-License-Identifier: GPL-3.0-or-later
// The test every operation that starts or drives the player makes first,
// and what the user is told when it fails.
#pragma once

#include <string>

namespace jukora {

class Desktop;
class PlayerLink;

// Whether the player can be used. When it cannot, the user is told why (for
// Winamp: "Winamp executable not found. ...") and the Preferences dialog
// opens, not waited for.
bool player_ready(const PlayerLink& link, const std::string& player_dir, Desktop& desktop);

}  // namespace jukora
