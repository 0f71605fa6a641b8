// SPDX-License-Identifier: GPL-3.0-or-later
// How the grid's columns share its width: each number column as wide as its
// texts, Directory and File sharing what the others leave in proportion to
// their widths, and a width the person dragged kept as it is. A text the
// grid has room for is never cut.
#pragma once

#include <array>

#include "songlist/songlist.h"

namespace jukora {

struct ColumnNeeds {
  // Pixels: the widest text of the rows on screen, at least the header's.
  std::array<int, kColumns> text{};
  // Pixels: the header's own width, below which no column goes.
  std::array<int, kColumns> header{};
  // Directory's and File's shares of what the other columns leave.
  int directory_weight = 1;
  int file_weight = 1;
  // Columns the person sized, and their widths then.
  std::array<bool, kColumns> held{};
  std::array<int, kColumns> held_width{};
};

// The columns' widths in pixels for a grid `room` pixels wide inside.
std::array<int, kColumns> fit_columns(const ColumnNeeds& needs, int room);

}  // namespace jukora
