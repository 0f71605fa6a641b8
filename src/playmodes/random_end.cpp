// SPDX-License-Identifier: GPL-3.0-or-later
// What the user is told when a Random cycle ends while songs are left.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings_keys.h"
#include "playmodes/play_modes.h"
#include "playmodes/replay_words.h"
#include "songlist/songlist.h"

namespace jukora {

std::string PlayModes::random_end_notice() {
  if (cycle_.play_mode != PlayMode::kRandomAll && cycle_.play_mode != PlayMode::kRandomTop) return {};
  const auto floor = read_score_floor(settings_);
  const std::int32_t time_block = read_time_block(settings_);
  // Random "All" ends only when every song is held back: the one end of a
  // cycle the user cannot see coming. "Top 20" ends when its songs are
  // played, unless the floor held some back.
  if (!floor) {
    if (cycle_.play_mode != PlayMode::kRandomAll) return {};
    return random_all_held_words(songlist_, time_block, clock_.now());
  }
  const int last = cycle_.play_mode == PlayMode::kRandomAll ? songlist_.Rows() - 1
                                                            : std::min(step_scope() + 1, songlist_.Rows() - 1);
  bool below_floor = false;
  std::vector<std::int64_t> too_recent;  // the hours the songs above the floor were played
  for (int i = 1; i <= last; ++i) {
    if (!is_song(i) || (cycle_.play_mode == PlayMode::kRandomTop && !unmarked(i))) continue;
    if (!floor_allows(songlist_.sort_value(i), floor))
      below_floor = true;
    else
      too_recent.push_back(songlist_.last_played_hour(i));
  }
  const std::string below = "scored below " + std::to_string(*floor);
  const std::string floor_words = " (\"Random skips songs " + below + "\" in Preferences).";
  if (cycle_.play_mode == PlayMode::kRandomTop)
    return below_floor ? "Random Top 20 stopped: the songs left are " + below + floor_words : std::string{};
  // Without a song below the floor, the floor played no part: the words are
  // those of the replay limit alone.
  if (!below_floor) return random_all_held_words(songlist_, time_block, clock_.now());
  if (too_recent.empty()) return "Random All stopped: every song is " + below + floor_words;
  const std::optional<std::int64_t> free = first_free_hour(time_block, clock_.now(), too_recent);
  const std::string when = free ? free_time_words(*free, clock_.now()) : std::string{};
  const std::string hours = std::to_string(time_block) + (time_block == 1 ? " hour" : " hours");
  return "Random All stopped: every song was played too recently or is " + below + "; with " + hours +
         (when.empty() ? " none may play again for years" : " the first may play again from " + when) + floor_words;
}

}  // namespace jukora
