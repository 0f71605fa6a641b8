// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting rows from the grid: one row at a time, each followed by a
// recompute and a save.
#pragma once

#include "songlist/chosen_rows.h"

namespace jukora {

class Songlist;
class SonglistFiles;

inline constexpr int kKeyDelete = 46;

// Deletes data row `row` (the only data row is blanked instead), recomputes
// and saves. Rows outside the data rows are ignored.
void fg_sort(Songlist& songlist, SonglistFiles& files, int row);

// The Delete key deletes the selected rows, bottom-up: the range
// Row..RowSel, or the rows `chosen` names when it is given.
void MSFlexGrid1_KeyDown(Songlist& songlist, SonglistFiles& files, int key_code, int shift,
                         const ChosenRows* chosen = nullptr);

}  // namespace jukora
