// SPDX-License-Identifier: GPL-3.0-or-later
// Which file the player is at, with the player's own words to the user where
// it cannot say (not running, or what it lacks).
#pragma once

#include <string>

namespace jukora {

class PlayerLink;
class SettingsStore;
class Desktop;

// The song the player is at, as it names it, or empty when it cannot be
// found out (after telling the user where that helps).
std::string get_current_song(PlayerLink& link, const SettingsStore& settings, Desktop& desktop);

}  // namespace jukora
