// SPDX-License-Identifier: GPL-3.0-or-later
// How the odds of the Random cycles are put into words: the "Chance %"
// column's numbers and the line a row's tooltip gives them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"

namespace jukora {

// A chance as a percentage without its sign: "2.4", "35", "0.052". One that
// is not 0 never shows as "0", and none shows as "100" unless it is certain.
std::string chance_percent(double chance);

// What a row's tooltip tells of its odds.
struct RowOdds {
  double all = 0, top = 0;
  // When the replay limit lets it play again; nothing when it may now.
  std::optional<DateTime> free_from = {};
  // Marked by the cycle that runs.
  bool played_in_cycle = false;
  // The floor it lies below, when "Random skips songs scored below N" holds it back.
  std::optional<std::int32_t> below_floor = {};
};

// "Chance: 2.4 % in Random All, 5.0 % in Random Top 20; free from 21:00"; a
// time on another day than `now` comes with its date.
std::string odds_line(const RowOdds& odds, const DateTime& now);

}  // namespace jukora
