// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/date_text.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace jukora {

namespace {

bool is_leap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int days_in_month(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && is_leap(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 of a proleptic Gregorian date.
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

// The date of a day counted from 1970-01-01.
void civil_from_days(std::int64_t z, DateTime& when) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  when.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  when.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  when.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (when.month <= 2));
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void skip_blanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }
  // Reads 1 to max_digits digits.
  bool number(int max_digits, int& value, int* digits_read = nullptr) {
    int digits = 0;
    value = 0;
    while (pos_ < text_.size() && digits < max_digits && text_[pos_] >= '0' && text_[pos_] <= '9') {
      value = value * 10 + (text_[pos_++] - '0');
      ++digits;
    }
    if (digits_read) *digits_read = digits;
    return digits > 0;
  }
  bool take(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  bool peek_time() const {
    auto colon = text_.find(':', pos_);
    auto slash = text_.find('/', pos_);
    return colon != std::string_view::npos && (slash == std::string_view::npos || colon < slash);
  }
  bool done() const { return pos_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

int full_year(int two_digits, int current_year) {
  // The window never slides past 1971, so a song never played stays in the
  // past however late the clock runs.
  int low = std::min(current_year - 80, 1971);
  int year = low - low % 100 + two_digits;
  if (year < low) year += 100;
  return year;
}

}  // namespace

std::string format_date_text(const DateTime& when) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d %d/%d/%02d", when.hour, when.minute, when.month, when.day,
                ((when.year % 100) + 100) % 100);
  return buffer;
}

std::optional<DateTime> parse_date_text(std::string_view text, int current_year) {
  Scanner in(text);
  DateTime when;
  in.skip_blanks();
  bool has_time = in.peek_time();
  if (has_time) {
    if (!in.number(2, when.hour) || !in.take(':') || !in.number(2, when.minute)) return std::nullopt;
    if (in.take(':') && !in.number(2, when.second)) return std::nullopt;
    in.skip_blanks();
  }
  int year_digits = 0;
  if (!in.number(2, when.month) || !in.take('/') || !in.number(2, when.day) || !in.take('/') ||
      !in.number(4, when.year, &year_digits))
    return std::nullopt;
  in.skip_blanks();
  if (!in.done()) return std::nullopt;
  if (year_digits == 2 || year_digits == 1) {
    when.year = full_year(when.year, current_year);
  } else if (year_digits != 4) {
    return std::nullopt;
  }
  if (when.hour > 23 || when.minute > 59 || when.second > 59) return std::nullopt;
  if (when.month < 1 || when.month > 12 || when.day < 1 || when.day > days_in_month(when.year, when.month))
    return std::nullopt;
  return when;
}

std::optional<DateTime> parse_date_text(std::string_view text) { return parse_date_text(text, current_year()); }

std::int64_t hour_number(const DateTime& when) {
  return days_from_civil(when.year, static_cast<unsigned>(when.month), static_cast<unsigned>(when.day)) * 24 +
         when.hour;
}

DateTime time_of_hour(std::int64_t hour) {
  DateTime when;
  const std::int64_t day = hour >= 0 ? hour / 24 : (hour - 23) / 24;
  civil_from_days(day, when);
  when.hour = static_cast<int>(hour - day * 24);
  return when;
}

QuickDate read_program_date(std::string_view text, int current_year, DateTime& when, bool& canonical) {
  // "hh:mm m/d/yy" with one- or two-digit month and day: every load and the
  // play cycle's replay test read every row's Last Played, so this form gets
  // a fast path.
  auto digit = [&](std::size_t i) { return static_cast<unsigned>(text[i]) - '0'; };
  auto is_digit = [&](std::size_t i) { return i < text.size() && digit(i) <= 9; };
  if (text.size() < 12 || text.size() > 14 || text[2] != ':' || text[5] != ' ' || !is_digit(0) || !is_digit(1) ||
      !is_digit(3) || !is_digit(4))
    return QuickDate::kOther;
  std::size_t i = 6;
  canonical = true;
  auto field = [&](int& value) {
    if (!is_digit(i)) return false;
    value = static_cast<int>(digit(i++));
    if (is_digit(i)) {
      // The program writes month and day without a leading zero.
      canonical = canonical && value != 0;
      value = value * 10 + static_cast<int>(digit(i++));
    }
    return true;
  };
  int month = 0, day = 0;
  if (!field(month) || i >= text.size() || text[i++] != '/' || !field(day) || i >= text.size() || text[i++] != '/' ||
      i + 2 != text.size() || !is_digit(i) || !is_digit(i + 1))
    return QuickDate::kOther;
  const int year = full_year(static_cast<int>(digit(i) * 10 + digit(i + 1)), current_year);
  const int hour = static_cast<int>(digit(0) * 10 + digit(1)), minute = static_cast<int>(digit(3) * 10 + digit(4));
  if (hour > 23 || minute > 59 || month < 1 || month > 12 || day < 1 || day > days_in_month(year, month))
    return QuickDate::kNoDate;
  when = DateTime{year, month, day, hour, minute, 0};
  return QuickDate::kDate;
}

std::optional<std::int64_t> parse_hour_number(std::string_view text, int current_year) {
  DateTime when;
  bool canonical = false;
  switch (read_program_date(text, current_year, when, canonical)) {
    case QuickDate::kDate:
      return hour_number(when);
    case QuickDate::kNoDate:
      return std::nullopt;
    case QuickDate::kOther:
      break;
  }
  auto parsed = parse_date_text(text, current_year);
  if (!parsed) return std::nullopt;
  return hour_number(*parsed);
}

bool is_later_date(std::string_view text, std::string_view than) {
  const auto when = parse_date_text(text);
  if (!when) return false;
  const auto before = parse_date_text(than);
  auto key = [](const DateTime& t) { return std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second); };
  return !before || key(*when) > key(*before);
}

}  // namespace jukora
