// SPDX-License-Identifier: GPL-3.0-or-later
// How many songs of the list hold each score, as bars for a chart: one bar
// a score, or, when the scores spread too wide for that, one bar a range.
#pragma once

#include <cstdint>
#include <vector>

namespace jukora {

class Songlist;

struct ScoreBar {
  // The scores the bar counts, both ends included.
  std::int64_t low = 0, high = 0;
  int songs = 0;
};

// The scores as their whole values (as a score step reads them), lowest
// first. Scores no song holds get bars of none between those that are held,
// so the bars stand on an even scale; at most `max_bars` bars.
std::vector<ScoreBar> songs_per_score(const Songlist& songlist, int max_bars);

}  // namespace jukora
