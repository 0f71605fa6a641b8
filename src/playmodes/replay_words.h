// SPDX-License-Identifier: GPL-3.0-or-later
// The replay limit of Random "All" in words a person can act on: when songs
// it holds back may play again, for the notice at the end of a cycle and
// for the note beside the hours box in Preferences. Hours count clock-hour
// boundaries, so with 0 hours a song comes back at the next full hour.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/clock.h"

namespace jukora {

class Songlist;

// The hour (an hour_number) from which the first of the songs last played
// in `played_hours` may play again under a limit of `time_block` hours;
// nothing when one may play now, or when there is none.
std::optional<std::int64_t> first_free_hour(std::int32_t time_block, const DateTime& now,
                                            std::span<const std::int64_t> played_hours);

// That hour as seen from `now`: "19:00", "07:00 tomorrow", "19:00 on 3/14/26".
std::string free_time_words(std::int64_t free_hour, const DateTime& now);

// Why Random "All" stopped when every song of `list` is held back: "Random
// All stopped: every song has played this hour; with 0 hours they may play
// again from 19:00." Empty when a song may play now.
std::string random_all_held_words(const Songlist& list, std::int32_t time_block, const DateTime& now);

// Beside the hours box: "Played now, a song may play again from 19:00."
std::string replay_note(std::int32_t time_block, const DateTime& now);

}  // namespace jukora
