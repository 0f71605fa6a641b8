// SPDX-License-Identifier: GPL-3.0-or-later
// Restores the table's invariants after every change: no empty rows, Score
// order, row numbers, Score and Last Played repaired, Rank % filled in.
#pragma once

namespace jukora {

class Songlist;

void recompute_songlist(Songlist& songlist);

// The header texts. The views take the column widths from the settings.
void setup_grid(Songlist& songlist);

// The grid's format string: column alignments, "<" left and ">" right.
inline constexpr const char* kGridFormat = "<|<|<|>|>|>|<";

}  // namespace jukora
