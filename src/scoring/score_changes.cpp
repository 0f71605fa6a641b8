// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

void step_scores(Songlist& songlist, SonglistFiles& files, ScoreDirection direction, const ChosenRows& rows) {
  const int anchor = rows.anchor;
  if (anchor < 1 || anchor > songlist.Rows() - 1 || !songlist.is_song(anchor)) return;
  // A raised song can only have climbed and a lowered one only sunk, so the
  // anchor song is looked for from its old place in the step's direction.
  files.apply(score_step_of_rows(songlist, rows.rows, anchor, direction == ScoreDirection::kUp ? 1 : -1,
                                 ChangeSource::kWindow));
}

}  // namespace jukora
