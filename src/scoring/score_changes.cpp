// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include <algorithm>
#include <vector>

#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// One step over `rows`, the song at `anchor` current again in its new place
// afterwards. Nothing happens without a listed song at the anchor.
void step_rows(Songlist& songlist, SonglistFiles& files, int index, int anchor, const std::vector<int>& rows) {
  if (anchor < 1 || anchor > songlist.Rows() - 1) return;
  if (!songlist.is_song(anchor)) return;
  const int step = index == kIncrement ? 1 : -1;
  // A raised song can only have climbed and a lowered one only sunk, so the
  // anchor song is looked for from its old place in the step's direction.
  files.apply(score_step_of_rows(songlist, rows, anchor, step, ChangeSource::kWindow));
}

}  // namespace

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index) {
  const int anchor = songlist.Row();
  step_rows(songlist, files, index, anchor,
            row_range(std::min(anchor, songlist.RowSel()), std::max(anchor, songlist.RowSel())));
}

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index, const ChosenRows& chosen) {
  step_rows(songlist, files, index, chosen.anchor, chosen.rows);
}

void MSFlexGrid1_KeyPress(Songlist& songlist, SonglistFiles& files, int key_ascii,
                          const std::function<void()>& direct_play, const ChosenRows* chosen) {
  auto step = [&](int index) {
    if (chosen)
      cmdIncDec_Click(songlist, files, index, *chosen);
    else
      cmdIncDec_Click(songlist, files, index);
  };
  switch (key_ascii) {
    case '+':
    case '=':
      step(kIncrement);
      break;
    case '-':
    case '_':
      step(kDecrement);
      break;
    case kKeyEnter:
      if (direct_play) direct_play();
      break;
    default:
      break;
  }
}

}  // namespace jukora
