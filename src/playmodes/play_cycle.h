// SPDX-License-Identifier: GPL-3.0-or-later
// Which play cycle the timer feeds: the mode's next-song rule and how many
// rows from the top it draws from.
#pragma once

#include <cstdint>

namespace jukora {

enum class PlayMode { kNone, kRandomAll, kCountdown, kCountup, kRandomTop };

// The scope of a "Top 20" cycle and of the "Playlist Top 20" export.
inline constexpr std::int32_t kTopRows = 20;

struct PlayCycle {
  PlayMode play_mode = PlayMode::kNone;
  // "All" takes Rows (header row included) when chosen; each step limits it
  // to the data rows of the moment.
  std::int32_t play_scope = 0;

  friend bool operator==(const PlayCycle&, const PlayCycle&) = default;
};

}  // namespace jukora
