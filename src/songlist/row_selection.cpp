// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/row_selection.h"

#include <algorithm>

#include "songlist/songlist.h"

namespace jukora {

ChosenRows shown_rows_in_range(const Songlist& songlist, const std::vector<int>& shown) {
  const int row = songlist.Row();
  const int low = std::min(row, songlist.RowSel()), high = std::max(row, songlist.RowSel());
  if (low < 1) return ChosenRows{{}, row};
  return ChosenRows{
      {std::lower_bound(shown.begin(), shown.end(), low), std::upper_bound(shown.begin(), shown.end(), high)}, row};
}

void select_all_rows(Songlist& songlist, const std::vector<int>* shown) {
  const int first = shown ? (shown->empty() ? 0 : shown->front()) : std::min(1, songlist.Rows() - 1);
  const int last = shown ? (shown->empty() ? 0 : shown->back()) : songlist.Rows() - 1;
  if (first < 1) return;
  songlist.SetRow(first);
  songlist.SetRowSel(last);
}

}  // namespace jukora
