// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/replay_limit.h"

#include "songlist/date_text.h"

namespace jukora {

ReplayLimit::ReplayLimit(const DateTime& now, std::int32_t time_block)
    : now_hour_(hour_number(now)), time_block_(time_block) {}

bool ReplayLimit::passes_hour(std::int64_t played_hour) const {
  std::int64_t hours = now_hour_ >= played_hour ? now_hour_ - played_hour : played_hour - now_hour_;
  return hours > time_block_;
}

std::optional<std::int64_t> ReplayLimit::free_from_hour(std::int64_t played_hour) const {
  if (passes_hour(played_hour)) return std::nullopt;
  // A Last Played ahead of now holds the song back until as long after it.
  return played_hour + time_block_ + 1;
}

}  // namespace jukora
