// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/row_deletion.h"

#include <algorithm>

#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

void fg_sort(Songlist& songlist, SonglistFiles& files, int row) {
  if (row > songlist.Rows() - 1 || row < 1) return;
  if (songlist.Rows() < 3) {
    for (int c = 1; c < kColumns; ++c) songlist.SetTextMatrix(row, c, "");
  } else {
    songlist.RemoveItem(row);
  }
  recompute_songlist(songlist);
  files.write_songlist();
  songlist.SetCol(0);
}

void MSFlexGrid1_KeyDown(Songlist& songlist, SonglistFiles& files, int key_code, int /*shift*/,
                         const ChosenRows* chosen) {
  if (key_code != kKeyDelete) return;
  if (chosen) {
    // Bottom-up, so that the rows still to go keep their places.
    for (auto i = chosen->rows.rbegin(); i != chosen->rows.rend(); ++i) fg_sort(songlist, files, *i);
    return;
  }
  int top = std::min(songlist.Row(), songlist.RowSel());
  int bottom = std::max(songlist.Row(), songlist.RowSel());
  for (int i = bottom; i >= top; --i) fg_sort(songlist, files, i);
}

}  // namespace jukora
