// The text of the player's playlist file: one song a line, Directory and
// File joined by the native separator, each line ended by CR LF.
#pragma once

#include <string>

namespace jukora {

class Songlist;

// Rows 1 to `count` top down, or `count` to 1 when `descending`.
std::string playlist_text(const Songlist& songlist, int count, bool descending);

}  // namespace jukora
