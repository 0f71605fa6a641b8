// SPDX-License-Identifier: GPL-3.0-or-later
// Which play cycle the timer feeds: the mode's next-song rule and how many
// rows from the top it draws from.
#pragma once

#include <cstdint>

namespace jukora {

namespace mode {
inline constexpr std::int16_t kNone = 0;
inline constexpr std::int16_t kRandomAll = 1;
inline constexpr std::int16_t kCountdown = 2;
inline constexpr std::int16_t kCountup = 3;
inline constexpr std::int16_t kRandomTop = 6;
}  // namespace mode

// The scope of a "Top 20" cycle and of the "Playlist Top 20" export.
inline constexpr std::int32_t kTopRows = 20;

struct PlayCycle {
  std::int16_t play_mode = mode::kNone;
  // "All" takes Rows (header row included) when chosen; each step limits it
  // to the data rows of the moment.
  std::int32_t play_scope = 0;

  friend bool operator==(const PlayCycle&, const PlayCycle&) = default;
};

}  // namespace jukora
