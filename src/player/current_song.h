// SPDX-License-Identifier: GPL-3.0-or-later
// Which file the player is at: the player writes its playlist and answers
// the position; the entry at that position is read from the file.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

class PlayerLink;
class SettingsStore;
class Desktop;

// The lowest version answer accepted: 0x2005, which is how Winamp 2.05 (the
// version the message names) reports itself.
inline constexpr long kLowestVersion = 0x2005;

inline constexpr const char* kNotRunning =
    "Winamp is not running.  To run winamp, select a playmode or run Winamp manually";
inline constexpr const char* kTooOld = "This program requires Winamp 2.05 or higher";
inline constexpr const char* kPlaylistNotFound = "Winamp playlist not found.  Do you have the right Winamp dir?";

// The playlist line at the player's current position, untouched, or empty
// when it cannot be found out (after telling the user where that helps).
std::string get_current_song(PlayerLink& link, const SettingsStore& settings, Desktop& desktop);

// The entry at 0-based `position` of an M3U text: lines starting with "#"
// are skipped, every other line (an empty one too) is an entry.
std::string playlist_entry(std::string_view text, long position);

}  // namespace jukora
