// SPDX-License-Identifier: GPL-3.0-or-later
// Songs picked out of the list some other way than as the range Row..RowSel:
// the rows a search shows between the two ends of the selection, or those
// rows still selected once the search is cleared.
#pragma once

#include <vector>

namespace jukora {

struct ChosenRows {
  // Data rows, ascending.
  std::vector<int> rows;
  // The row the cursor is on, one of `rows`: the song that stays current.
  int anchor = 0;
};

}  // namespace jukora
