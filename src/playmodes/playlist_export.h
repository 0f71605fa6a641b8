// SPDX-License-Identifier: GPL-3.0-or-later
// The text of the player's playlist file: one song a line, Directory and
// File joined by the native separator, each line ended by CR LF. A song that
// is not a local file path, or would not stay on its one line, is left out.
#pragma once

#include <string>

namespace jukora {

class Songlist;

// Rows 1 to `count` top down, or `count` to 1 when `descending`. `songs`
// counts the lines that name a song (the blank row of an empty list is
// written as the bare separator, but names none).
std::string playlist_text(const Songlist& songlist, int count, bool descending, int& songs);

}  // namespace jukora
