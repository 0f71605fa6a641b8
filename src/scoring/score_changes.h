// SPDX-License-Identifier: GPL-3.0-or-later
// Raising and lowering the scores of the rows the user chose in the window:
// the two buttons and the score keys of the grid.
#pragma once

#include "songlist/chosen_rows.h"

namespace jukora {

class Songlist;
class SonglistFiles;

enum class ScoreDirection { kUp, kDown };

// Steps the Score of every row of `rows` by one, recomputes and saves, then
// makes the song that was at the anchor the current row again in its new
// place. Nothing happens without a listed song at the anchor.
void step_scores(Songlist& songlist, SonglistFiles& files, ScoreDirection direction, const ChosenRows& rows);

}  // namespace jukora
