// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/replay_words.h"

#include <chrono>
#include <cstdio>
#include <vector>

#include "playmodes/replay_limit.h"
#include "songlist/date_text.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// Further off than this, a date is nothing to plan by (and soon no
// calendar date at all): the words say "for years" instead.
constexpr std::int64_t kFarHours = std::int64_t{20} * 366 * 24;

// Hour numbers count from 00:00 1/1/1970, as the system's days do.
std::int64_t day_of_hour(std::int64_t hour) { return hour >= 0 ? hour / 24 : (hour - 23) / 24; }

}  // namespace

std::optional<std::int64_t> first_free_hour(std::int32_t time_block, const DateTime& now,
                                            std::span<const std::int64_t> played_hours) {
  const ReplayLimit limit(now, time_block);
  std::optional<std::int64_t> first;
  for (const std::int64_t played : played_hours) {
    if (limit.passes_hour(played)) return std::nullopt;
    // A Last Played ahead of now (the clock was put back) holds its song
    // as long after it as one in the past would.
    const std::int64_t free = played + time_block + 1;
    if (!first || free < *first) first = free;
  }
  return first;
}

std::string free_time_words(std::int64_t free_hour, const DateTime& now) {
  const std::int64_t now_hour = hour_number(now);
  if (free_hour - now_hour > kFarHours) return {};
  const std::int64_t day = day_of_hour(free_hour);
  char text[40];
  std::snprintf(text, sizeof text, "%02d:00", static_cast<int>(free_hour - day * 24));
  const std::int64_t days_ahead = day - day_of_hour(now_hour);
  if (days_ahead == 0) return text;
  if (days_ahead == 1) return text + std::string(" tomorrow");
  const std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{day}}};
  const std::size_t used = std::char_traits<char>::length(text);
  std::snprintf(text + used, sizeof text - used, " on %u/%u/%02d", static_cast<unsigned>(date.month()),
                static_cast<unsigned>(date.day()), (static_cast<int>(date.year()) % 100 + 100) % 100);
  return text;
}

std::string random_all_held_words(const Songlist& list, std::int32_t time_block, const DateTime& now) {
  std::vector<std::int64_t> played;
  for (int row = 1; row < list.Rows(); ++row)
    if (list.is_song(row)) played.push_back(list.last_played_hour(row));
  const std::optional<std::int64_t> free = first_free_hour(time_block, now, played);
  if (!free) return {};
  const std::string hours = std::to_string(time_block) + (time_block == 1 ? " hour" : " hours");
  const std::string when = free_time_words(*free, now);
  // With 0 hours every song waits for the same full hour; with more, each
  // for its own.
  const std::string again = when.empty()      ? "none may play again for years"
                            : time_block == 0 ? "they may play again from " + when
                                              : "the first may play again from " + when;
  return "Random All stopped: every song " +
         std::string(time_block == 0 ? "has played this hour" : "was played too recently") + "; with " + hours + " " +
         again + ".";
}

std::string replay_note(std::int32_t time_block, const DateTime& now) {
  const std::int64_t played[] = {hour_number(now)};
  const std::optional<std::int64_t> free = first_free_hour(time_block, now, played);
  if (!free) return "Played now, a song may play again at once.";
  const std::string when = free_time_words(*free, now);
  return when.empty() ? "Played now, a song may not play again for years."
                      : "Played now, a song may play again from " + when + ".";
}

}  // namespace jukora
