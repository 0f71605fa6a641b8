// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include <algorithm>

#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index) {
  const int anchor = songlist.Row();
  if (anchor < 1 || anchor > songlist.Rows() - 1) return;
  if (songlist.TextMatrix(anchor, col::kDirectory).empty()) return;

  const int first = std::min(anchor, songlist.RowSel());
  const int last = std::max(anchor, songlist.RowSel());
  const int step = index == kIncrement ? 1 : -1;
  // A raised song can only have climbed and a lowered one only sunk, so the
  // anchor song is looked for from its old place in the step's direction.
  files.apply(score_step_of_rows(songlist, first, last, anchor, step, ChangeSource::kWindow));
}

void MSFlexGrid1_KeyPress(Songlist& songlist, SonglistFiles& files, int key_ascii,
                          const std::function<void()>& direct_play) {
  switch (key_ascii) {
    case '+':
    case '=':
      cmdIncDec_Click(songlist, files, kIncrement);
      break;
    case '-':
    case '_':
      cmdIncDec_Click(songlist, files, kDecrement);
      break;
    case kKeyEnter:
      if (direct_play) direct_play();
      break;
    default:
      break;
  }
}

}  // namespace jukora
