// SPDX-License-Identifier: GPL-3.0-or-later
// The replay limit of the Random "All" cycle: a song comes back only when
// more than "time_block" clock-hour boundaries lie between its Last Played
// and now, in either direction.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/clock.h"

namespace jukora {

class ReplayLimit {
 public:
  ReplayLimit(const DateTime& now, std::int32_t time_block);

  // A Last Played that is not a date (a row appended by a drop that has not
  // been recomputed yet) counts as never played, as the recompute will make it.
  bool passes(std::string_view last_played) const;

 private:
  std::int64_t now_hour_;
  std::int32_t time_block_;
  int year_;
};

}  // namespace jukora
