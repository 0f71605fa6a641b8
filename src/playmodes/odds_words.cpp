// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/odds_words.h"

#include <charconv>
#include <cmath>

#include "songlist/date_text.h"

namespace jukora {

namespace {

std::string fixed(double value, int decimals) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

// "21:00" today, "21:00 12/7/26" on another day.
std::string time_words(const DateTime& when, const DateTime& now) {
  const std::string text = format_date_text(when);
  const bool today = when.year == now.year && when.month == now.month && when.day == now.day;
  return today ? text.substr(0, text.find(' ')) : text;
}

}  // namespace

std::string chance_percent(double chance) {
  const double percent = chance * 100;
  if (!(percent > 0)) return "0";
  if (percent >= 100) return "100";
  // One decimal from 1 % up, two significant digits below; never rounded up
  // to certainty or down to nothing.
  const int decimals = percent >= 1 ? 1 : 1 - static_cast<int>(std::floor(std::log10(percent)));
  std::string text = fixed(percent, decimals);
  if (text == "100.0") text = "99.9";
  return text;
}

std::string odds_line(const RowOdds& odds, const DateTime& now) {
  std::string line =
      "Chance: " + chance_percent(odds.all) + " % in Random All, " + chance_percent(odds.top) + " % in Random Top 20";
  std::string why;
  auto add = [&why](const std::string& words) { why += (why.empty() ? "; " : ", ") + words; };
  if (odds.below_floor) add("scored below " + std::to_string(*odds.below_floor));
  if (odds.free_from) {
    // Years ahead: a replay limit set far beyond any use.
    if (odds.free_from->year > now.year + 10)
      add("not free for years");
    else
      add("free from " + time_words(*odds.free_from, now));
  }
  if (odds.played_in_cycle) add("played in this cycle");
  return line + why;
}

}  // namespace jukora
