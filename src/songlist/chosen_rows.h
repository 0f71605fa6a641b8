// SPDX-License-Identifier: GPL-3.0-or-later
// The songs the score keys, the buttons and Delete act on: the range
// Row..RowSel, or rows picked out of the list some other way: the rows a
// search shows between the two ends of the selection, or those rows still
// selected once the search is cleared.
#pragma once

#include <vector>

namespace jukora {

class Songlist;

struct ChosenRows {
  // Data rows, ascending.
  std::vector<int> rows;
  // The row the cursor is on, one of `rows`: the song that stays current.
  int anchor = 0;
};

// The range Row..RowSel, anchored at Row.
ChosenRows range_of_selection(const Songlist& songlist);

}  // namespace jukora
