// SPDX-License-Identifier: GPL-3.0-or-later
// The odds of the two Random cycles for the songlist as it stands.
#include <vector>

#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "playmodes/play_modes.h"
#include "playmodes/replay_limit.h"
#include "songlist/date_text.h"
#include "songlist/songlist.h"

namespace jukora {

ListOdds PlayModes::odds() {
  const int n = songlist_.Rows() - 1;
  const bool running = cycle_timer_.enabled();
  const bool all_runs = running && cycle_.play_mode == PlayMode::kRandomAll;
  const bool top_runs = running && cycle_.play_mode == PlayMode::kRandomTop;
  const ReplayLimit limit = replay_limit();
  const auto floor = read_score_floor(settings_);
  std::vector<OddsRow> rows(n > 0 ? n : 0);
  for (int i = 1; i <= n; ++i) {
    rows[i - 1].same_score_as_next = i < n && songlist_.same_score_text(i, i + 1);
    if (!is_song(i) || (floor && !floor_allows(songlist_.sort_value(i), floor))) continue;
    // A song the player took and did not play is passed over by the cycle that runs.
    rows[i - 1].free_for_all = limit.passes_hour(songlist_.last_played_hour(i)) && !(all_runs && not_played(i));
    rows[i - 1].free_for_top = !top_runs || unmarked(i);
  }
  // A cycle started now takes every row for "All"; "Top 20" clears the marks.
  return {random_all_odds(rows, all_runs ? cycle_.play_scope : songlist_.Rows()),
          random_top_odds(rows, top_runs ? cycle_.play_scope : kTopRows)};
}

RowOdds PlayModes::row_odds(const ListOdds& odds, int row) {
  RowOdds words;
  if (row < 1 || row > static_cast<int>(odds.all.size()) || row > static_cast<int>(odds.top.size())) return words;
  words.all = odds.all[row - 1];
  words.top = odds.top[row - 1];
  if (!is_song(row)) return words;
  if (const auto floor = read_score_floor(settings_); floor && !floor_allows(songlist_.sort_value(row), floor))
    words.below_floor = floor;
  if (const auto hour = replay_limit().free_from_hour(songlist_.last_played_hour(row)))
    words.free_from = time_of_hour(*hour);
  const bool marking =
      cycle_timer_.enabled() && (cycle_.play_mode == PlayMode::kCountdown || cycle_.play_mode == PlayMode::kCountup ||
                                 cycle_.play_mode == PlayMode::kRandomTop);
  words.played_in_cycle = marking && songlist_.marked(row);
  return words;
}

std::string PlayModes::odds_words(const ListOdds& odds, int row) {
  return odds_line(row_odds(odds, row), clock_.now());
}

std::string PlayModes::chance_words(const ListOdds& odds, int row) const {
  const std::vector<double>& chances =
      cycle_timer_.enabled() && cycle_.play_mode == PlayMode::kRandomTop ? odds.top : odds.all;
  return row >= 1 && row <= static_cast<int>(chances.size()) ? chance_percent(chances[row - 1]) : std::string();
}

}  // namespace jukora
