// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/replay_limit.h"

#include "songlist/date_text.h"

namespace jukora {

namespace {

const std::int64_t kNeverPlayedHour = hour_number(DateTime{});

}  // namespace

ReplayLimit::ReplayLimit(const DateTime& now, std::int32_t time_block)
    : now_hour_(hour_number(now)), time_block_(time_block), year_(now.year) {}

bool ReplayLimit::passes(std::string_view last_played) const {
  std::int64_t played_hour = parse_hour_number(last_played, year_).value_or(kNeverPlayedHour);
  std::int64_t hours = now_hour_ >= played_hour ? now_hour_ - played_hour : played_hour - now_hour_;
  return hours > time_block_;
}

}  // namespace jukora
