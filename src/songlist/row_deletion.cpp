// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/row_deletion.h"

#include <algorithm>

#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

void fg_sort(Songlist& songlist, SonglistFiles& files, int row) {
  if (row > songlist.Rows() - 1 || row < 1) return;
  files.apply(deletion_of_rows(songlist, {row}));
}

void MSFlexGrid1_KeyDown(Songlist& songlist, SonglistFiles& files, int key_code, int /*shift*/,
                         const ChosenRows* chosen) {
  if (key_code != kKeyDelete) return;
  // The rows go as one step, saved once; the list ends as it would after
  // deleting them one by one from the bottom up, each followed by a
  // recompute.
  if (chosen) {
    if (!chosen->rows.empty()) files.apply(deletion_of_rows(songlist, chosen->rows));
    return;
  }
  const int top = std::max(std::min(songlist.Row(), songlist.RowSel()), 1);
  const int bottom = std::min(std::max(songlist.Row(), songlist.RowSel()), songlist.Rows() - 1);
  if (top > bottom) return;
  files.apply(deletion_of_rows(songlist, row_range(top, bottom)));
}

}  // namespace jukora
