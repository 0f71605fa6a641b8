// SPDX-License-Identifier: GPL-3.0-or-later
// The one selection of the grid, Row..RowSel, while a search may show only
// some rows: which songs the keys act on, and what selecting every row
// means. What is highlighted is exactly what is acted on.
#pragma once

#include <vector>

#include "songlist/chosen_rows.h"

namespace jukora {

class Songlist;

// The rows of `shown` (data rows, ascending) that lie in the range
// Row..RowSel, the cursor's row the anchor: a hidden row of the range is
// never acted on.
ChosenRows shown_rows_in_range(const Songlist& songlist, const std::vector<int>& shown);

// Every row shown selected, anchored at the first: Row on the first and
// RowSel on the last of `shown`, or of every data row when `shown` is null.
// A list without rows keeps its cursor.
void select_all_rows(Songlist& songlist, const std::vector<int>* shown);

}  // namespace jukora
