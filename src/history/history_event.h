// SPDX-License-Identifier: GPL-3.0-or-later
// One line of the score history: a score change or a song handed to the
// player, and when it happened.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "songlist/song_events.h"

namespace jukora {

struct HistoryEvent {
  // Seconds since 1970-01-01 00:00 UTC.
  std::int64_t time = 0;
  std::variant<ScoreChange, HandedOver> what;

  const std::string& directory() const {
    return std::visit([](const auto& event) -> const std::string& { return event.directory; }, what);
  }
  const std::string& file() const {
    return std::visit([](const auto& event) -> const std::string& { return event.file; }, what);
  }
};

// The plays and score changes of each week, oldest week first.
struct WeeklyActivity {
  // The start of the first week, in seconds since 1970 (UTC).
  std::int64_t first_week = 0;
  std::vector<int> plays, score_changes;
};

inline constexpr std::int64_t kSecondsPerWeek = 7 * 24 * 60 * 60;

}  // namespace jukora
