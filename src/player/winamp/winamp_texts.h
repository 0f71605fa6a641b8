// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp's texts, exactly as the program has always shown them.
#pragma once

#include "player/player_link.h"

namespace jukora {

inline constexpr const char* kExecutableNotFound = "Winamp executable not found.  Do you have the right Winamp dir?";
inline constexpr const char* kNotRunning =
    "Winamp is not running.  To run winamp, select a playmode or run Winamp manually";
inline constexpr const char* kTooOld = "This program requires Winamp 2.05 or higher";
inline constexpr const char* kPlaylistNotFound = "Winamp playlist not found.  Do you have the right Winamp dir?";

const PlayerTexts& winamp_texts();

}  // namespace jukora
