// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/song_cells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "platform/settings_keys.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"

namespace jukora {

namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// A number's whole value (halves to even), held within the 64-bit range.
std::int64_t whole_of(double value) {
  const double rounded = std::nearbyint(value);
  if (!(rounded < 9223372036854775808.0)) return std::numeric_limits<std::int64_t>::max();
  if (rounded < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(rounded);
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// "00" to "99", one after another.
constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
    pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

}  // namespace

ReadScore read_score(std::string_view text) {
  // Plain whole numbers are by far the common Score: read without the
  // general parser.
  if (!text.empty() && text.size() < 16) {
    const std::size_t sign = text[0] == '-' ? 1 : 0;
    if (sign < text.size() && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(sign), text.end(), digit)) {
      std::int64_t value = 0;
      for (std::size_t k = sign; k < text.size(); ++k) value = value * 10 + (text[k] - '0');
      const bool zero_led = text.size() - sign > 1 && text[sign] == '0';
      return {sign ? -value : value, true, !zero_led && !(sign && value == 0)};
    }
  }
  const std::optional<double> number = to_number(text);
  if (!number) return {0, false, false};
  ReadScore read{whole_of(*number), true, false};
  char buffer[24];
  const std::size_t size = write_score_text(read.whole, buffer);
  read.canonical = std::string_view(buffer, size) == text;
  return read;
}

ReadDate read_date(std::string_view text, int current_year) {
  DateTime when;
  bool canonical = false;
  switch (read_program_date(text, current_year, when, canonical)) {
    case QuickDate::kDate:
      return {LastPlayed::key_of(when), true, canonical};
    case QuickDate::kNoDate:
      return {0, false, false};
    case QuickDate::kOther:
      break;
  }
  const std::optional<DateTime> parsed = parse_date_text(text, current_year);
  if (!parsed) return {0, false, false};
  // Seconds, a four-digit year, blanks around it: kept as it was written.
  return {LastPlayed::key_of(*parsed), true, false};
}

std::size_t write_score_text(std::int64_t whole, char* out) {
  return static_cast<std::size_t>(std::to_chars(out, out + 24, whole).ptr - out);
}

std::size_t write_date_text(std::uint64_t key, char* out) {
  // The save writes one per row: the fields come straight from the packed
  // key, and each two digits at once.
  const DateTime when = LastPlayed::time_of(key);
  char* p = out;
  auto two = [&p](int value) {
    std::memcpy(p, kDigitPairs.data() + 2 * value, 2);
    p += 2;
  };
  auto plain = [&p](int value) {
    if (value >= 10) *p++ = kDigitPairs[static_cast<std::size_t>(2 * value)];
    *p++ = kDigitPairs[static_cast<std::size_t>(2 * value + 1)];
  };
  two(when.hour);
  *p++ = ':';
  two(when.minute);
  *p++ = ' ';
  plain(when.month);
  *p++ = '/';
  plain(when.day);
  *p++ = '/';
  two(static_cast<int>((key >> 26) % 100));
  return static_cast<std::size_t>(p - out);
}

Score Score::read(std::string_view text) {
  const ReadScore read = read_score(text);
  if (read.canonical) return Score(read.whole);
  return Score(read.whole, std::string(text));
}

double Score::sort_value() const { return raw_ ? score_sort_value(*raw_) : static_cast<double>(whole_); }

bool Score::numeric() const { return !raw_ || is_numeric(*raw_); }

std::string Score::text() const {
  if (raw_) return *raw_;
  char buffer[24];
  return std::string(buffer, write_score_text(whole_, buffer));
}

Score Score::stepped(int step) const {
  // Held to just outside the 32-bit range first, so that the step cannot overflow.
  const std::int64_t from = std::clamp(whole_, kInt32Min - 1, kInt32Max + 1);
  return Score(std::clamp(from + step, kInt32Min, kInt32Max));
}

std::int32_t Score::clamped() const { return static_cast<std::int32_t>(std::clamp(whole_, kInt32Min, kInt32Max)); }

std::uint64_t LastPlayed::key_of(const DateTime& when) {
  return std::uint64_t(when.year) << 26 | std::uint64_t(when.month) << 22 | std::uint64_t(when.day) << 17 |
         std::uint64_t(when.hour) << 12 | std::uint64_t(when.minute) << 6 | std::uint64_t(when.second);
}

DateTime LastPlayed::time_of(std::uint64_t key) {
  return {static_cast<int>(key >> 26),        static_cast<int>(key >> 22 & 0xF), static_cast<int>(key >> 17 & 0x1F),
          static_cast<int>(key >> 12 & 0x1F), static_cast<int>(key >> 6 & 0x3F), static_cast<int>(key & 0x3F)};
}

std::uint64_t LastPlayed::never_key() { return key_of(DateTime{}); }

LastPlayed::LastPlayed(const DateTime& when) {
  DateTime minute = when;
  minute.second = 0;
  key_ = key_of(minute);
}

LastPlayed LastPlayed::read(std::string_view text, int current_year) {
  const ReadDate read = read_date(text, current_year);
  if (read.canonical) return LastPlayed(read.key, true, std::nullopt);
  return LastPlayed(read.date ? read.key : never_key(), read.date, std::string(text));
}

LastPlayed LastPlayed::read(std::string_view text) { return read(text, current_year()); }

DateTime LastPlayed::when() const { return time_of(date_ ? key_ : never_key()); }

std::int64_t LastPlayed::hour_number() const { return jukora::hour_number(when()); }

std::string LastPlayed::text() const {
  if (raw_) return *raw_;
  char buffer[24];
  return std::string(buffer, write_date_text(key_, buffer));
}

bool LastPlayed::later_than(const LastPlayed& other) const { return date_ && (!other.date_ || key_ > other.key_); }

}  // namespace jukora
