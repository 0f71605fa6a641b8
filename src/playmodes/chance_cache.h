// SPDX-License-Identifier: GPL-3.0-or-later
// What a window shows of Random's odds: each row's "Chance %" text and its
// tooltip line. The odds are worked out only when asked for, again after
// any change of the list, and otherwise at most once a second (the replay
// limit and a cycle's start change them too).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "playmodes/random_odds.h"

namespace jukora {

class PlayModes;
class Songlist;

class ChanceCache {
 public:
  ChanceCache(PlayModes& modes, const Songlist& songlist) : modes_(modes), songlist_(songlist) {}

  // The chance of data row `row` in the cycle the column follows; empty
  // for a row past the list.
  std::string chance_text(int row);
  // "Chance: … % in Random All, … % in Random Top 20; free from 21:00".
  std::string odds_line(int row);

 private:
  const ListOdds& odds();

  PlayModes& modes_;
  const Songlist& songlist_;
  ListOdds odds_;
  std::uint64_t revision_ = 0;
  std::chrono::steady_clock::time_point worked_out_{};
};

}  // namespace jukora
