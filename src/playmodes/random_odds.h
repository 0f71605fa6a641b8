// SPDX-License-Identifier: GPL-3.0-or-later
// The odds of the two Random cycles: for the list as it stands, how likely
// each row is to be handed over at the next pick, worked out from the rule
// the picks follow rather than by trying it. Linear in the rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace jukora {

// What the odds need of one data row.
struct OddsRow {
  // Its Score text is the next row's: Random "All" widens its first pick
  // over such a run.
  bool same_score_as_next = false;
  // Random "All" may hand it over: a song outside the replay limit, not
  // below the floor.
  bool free_for_all = false;
  // Random "Top 20" may hand it over: a song not marked in this cycle, not
  // below the floor.
  bool free_for_top = false;
};

// The chance of each data row (entry k for row k + 1) at the next pick of
// Random "All" over the top `scope` rows, and of Random "Top 20" over its
// `scope`. The entries add up to 1, or are all 0 when no row may play.
std::vector<double> random_all_odds(std::span<const OddsRow> rows, std::int64_t scope);
std::vector<double> random_top_odds(std::span<const OddsRow> rows, std::int64_t scope);

// The chance of each data row at the next pick of both Random cycles.
struct ListOdds {
  std::vector<double> all, top;
};

// "Random skips songs scored below N": whether a song of this Score may play.
inline bool floor_allows(double score, std::optional<std::int32_t> floor) { return !floor || score >= *floor; }

}  // namespace jukora
