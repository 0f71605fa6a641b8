// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/songs_per_score.h"

#include <map>
#include <string>

#include "songlist/songlist.h"

namespace jukora {

std::vector<ScoreBar> songs_per_score(const Songlist& songlist, int max_bars) {
  std::map<std::int64_t, int> counts;
  for (int row = 1; row < songlist.Rows(); ++row) ++counts[songlist.score(row).clamped()];
  if (counts.empty() || max_bars < 1) return {};
  const std::int64_t low = counts.begin()->first;
  const std::int64_t span = counts.rbegin()->first - low + 1;
  // The width that brings the span within max_bars; every bar as wide.
  const std::int64_t width = (span + max_bars - 1) / max_bars;
  std::vector<ScoreBar> bars(static_cast<std::size_t>((span + width - 1) / width));
  for (std::size_t i = 0; i < bars.size(); ++i) {
    bars[i].low = low + static_cast<std::int64_t>(i) * width;
    bars[i].high = bars[i].low + width - 1;
  }
  for (const auto& [score, songs] : counts) bars[static_cast<std::size_t>((score - low) / width)].songs += songs;
  bars.back().high = counts.rbegin()->first;
  return bars;
}

}  // namespace jukora
