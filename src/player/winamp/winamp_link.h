// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp (2.05 or later) as the player, on Windows: found by its window,
// asked by window messages whether it plays and which song it is at, and
// started with its command line, minimised, with a song or with
// "winamp.m3u" from its folder. Winamp does not name the song it plays: it
// writes its playlist to "winamp.m3u" on request and answers the position,
// and the entry at that position is read from the file. The protocol is
// plain C++ over WinampWindow, so that it is tested on every system.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "player/player_link.h"
#include "player/winamp/winamp_window.h"

namespace jukora {

// The lowest version answer accepted: 0x2005, which is how Winamp 2.05 (the
// version the message names) reports itself.
inline constexpr long kLowestVersion = 0x2005;

// The entry at 0-based `position` of an M3U text: lines starting with "#"
// are skipped, every other line (an empty one too) is an entry.
std::string playlist_entry(std::string_view text, long position);

// Winamp, reached through `window`, which must outlive the link.
std::unique_ptr<PlayerLink> make_winamp_link(WinampWindow& window);

}  // namespace jukora
