// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include <algorithm>
#include <string>

#include "songlist/numbers.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// Steps every row `for_each_row` visits, recomputes and saves, then makes
// the song that was at `anchor` current again in its new place. Nothing
// happens without a listed song at the anchor.
template <class ForEachRow>
void step_rows(Songlist& songlist, SonglistFiles& files, int index, int anchor, ForEachRow for_each_row) {
  const int rows_before = songlist.Rows();
  if (anchor < 1 || anchor > rows_before - 1) return;
  if (songlist.TextMatrix(anchor, col::kDirectory).empty()) return;

  const std::string directory(songlist.TextMatrix(anchor, col::kDirectory));
  const std::string file(songlist.TextMatrix(anchor, col::kFile));
  const int step = index == kIncrement ? 1 : -1;

  for_each_row(
      [&](int i) { songlist.SetTextMatrix(i, col::kScore, stepped_score(songlist.TextMatrix(i, col::kScore), step)); });
  recompute_songlist(songlist);
  files.write_songlist();

  // A raised song can only have climbed and a lowered one only sunk, so the
  // search starts at the old place and follows the step.
  const int hit = songlist.find(directory, file, anchor, step > 0 ? 1 : rows_before - 1);
  if (hit > 0) songlist.SetRow(hit);
}

}  // namespace

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index) {
  const int anchor = songlist.Row();
  const int first = std::min(anchor, songlist.RowSel());
  const int last = std::max(anchor, songlist.RowSel());
  step_rows(songlist, files, index, anchor, [&](auto step) {
    for (int i = first; i <= last; ++i) step(i);
  });
}

void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index, const ChosenRows& chosen) {
  const int rows = songlist.Rows();
  step_rows(songlist, files, index, chosen.anchor, [&](auto step) {
    for (int i : chosen.rows)
      if (i >= 1 && i < rows) step(i);
  });
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
