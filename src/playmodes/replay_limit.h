// SPDX-License-Identifier: GPL-3.0-or-later
// The replay limit of the Random "All" cycle: a song comes back only when
// more than "time_block" clock-hour boundaries lie between its Last Played
// and now, in either direction.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/clock.h"
#include "songlist/song_cells.h"

namespace jukora {

class ReplayLimit {
 public:
  ReplayLimit(const DateTime& now, std::int32_t time_block);

  // A Last Played that is not a date (a row appended by a drop that has not
  // been recomputed yet) counts as never played, as the recompute will make it.
  bool passes(const LastPlayed& last_played) const { return passes_hour(last_played.hour_number()); }
  // The same for the hour number of a Last Played (Songlist::last_played_hour).
  bool passes_hour(std::int64_t played_hour) const;
  // The hour number from which a song played in `played_hour` may play
  // again; nothing when it may now.
  std::optional<std::int64_t> free_from_hour(std::int64_t played_hour) const;

 private:
  std::int64_t now_hour_;
  std::int32_t time_block_;
};

}  // namespace jukora
