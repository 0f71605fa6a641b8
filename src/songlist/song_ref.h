// SPDX-License-Identifier: GPL-3.0-or-later
// A song as changes and undo steps name it: its Directory and File, never a
// row number, which is good only until the next sort or the next time the
// list is read again from its file.
#pragma once

#include <string>

namespace jukora {

struct SongRef {
  std::string directory;
  std::string file;
  // Which of the rows holding this song, counted from the top: 0 unless the
  // list holds the same song more than once (a list another program wrote).
  int copy = 0;

  friend bool operator==(const SongRef&, const SongRef&) = default;
};

}  // namespace jukora
