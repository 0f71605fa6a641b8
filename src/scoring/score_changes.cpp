// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include <algorithm>
#include <string>

#include "songlist/numbers.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index) {
  const int anchor = songlist.Row();
  const int rows_before = songlist.Rows();
  if (anchor < 1 || anchor > rows_before - 1) return;
  if (songlist.TextMatrix(anchor, col::kDirectory).empty()) return;

  const int first = std::min(anchor, songlist.RowSel());
  const int last = std::max(anchor, songlist.RowSel());
  const std::string directory(songlist.TextMatrix(anchor, col::kDirectory));
  const std::string file(songlist.TextMatrix(anchor, col::kFile));
  const int step = index == kIncrement ? 1 : -1;

  for (int i = first; i <= last; ++i)
    songlist.SetTextMatrix(i, col::kScore, stepped_score(songlist.TextMatrix(i, col::kScore), step));
  recompute_songlist(songlist);
  files.write_songlist();

  // A raised song can only have climbed and a lowered one only sunk, so the
  // search starts at the old place and follows the step.
  const int hit = songlist.find(directory, file, anchor, step > 0 ? 1 : rows_before - 1);
  if (hit > 0) songlist.SetRow(hit);
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
