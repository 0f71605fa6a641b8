// SPDX-License-Identifier: GPL-3.0-or-later
// Raising and lowering the scores of the selected rows from the main window:
// the two buttons and the character keys of the grid.
#pragma once

#include <functional>

#include "songlist/chosen_rows.h"

namespace jukora {

class Songlist;
class SonglistFiles;

// cmdIncDec indexes.
inline constexpr int kIncrement = 0;
inline constexpr int kDecrement = 1;

// Character codes the grid's key handler acts on.
inline constexpr int kKeyEnter = 13;

// Steps the Score of every row from Row to RowSel by +1 (index 0) or -1
// (index 1), recomputes and saves, then makes the song that was at Row the
// current row again in its new place. Nothing happens without a current
// listed song.
void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index);
// The same step for the rows `chosen` names instead of the range, its
// anchor made current again afterwards.
void cmdIncDec_Click(Songlist& songlist, SonglistFiles& files, int index, const ChosenRows& chosen);

// "+" and "=" increment, "-" and "_" decrement, Enter plays the current row
// through `direct_play`; every other character is ignored. The steps act on
// `chosen` when it is given, else on the range Row..RowSel.
void MSFlexGrid1_KeyPress(Songlist& songlist, SonglistFiles& files, int key_ascii,
                          const std::function<void()>& direct_play, const ChosenRows* chosen = nullptr);

}  // namespace jukora
