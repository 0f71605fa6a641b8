// SPDX-License-Identifier: GPL-3.0-or-later
// Last Played texts in the form "hh:mm m/d/yy" (14:05 6/12/01).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace jukora {

// The value of a song never played: 00:00 1/1/71.
inline constexpr std::string_view kNeverPlayed = "00:00 1/1/71";

std::string format_date_text(const DateTime& when);

// Reads "h:mm m/d/yy" and its variants: one- or two-digit fields, optional
// seconds, a four-digit year, or the date alone. A two-digit year is taken
// within [current_year - 80, current_year + 19], so in 2026 "30" is 2030 and
// "71" is 1971; from 2052 on the window stops at 1971. Empty text and
// impossible dates read as nothing.
std::optional<DateTime> parse_date_text(std::string_view text, int current_year);
std::optional<DateTime> parse_date_text(std::string_view text);

// Whether `text` is a date later than `than`, or than no date at all.
bool is_later_date(std::string_view text, std::string_view than);

// Hours since a fixed origin of the moment cut down to its whole hour, so the
// difference of two is the number of clock-hour boundaries between them.
std::int64_t hour_number(const DateTime& when);
// The start of the hour of that number.
DateTime time_of_hour(std::int64_t hour);

// The program's own form "hh:mm m/d/yy" read without the general parser.
// kOther: the text is in another form, which parse_date_text may still read;
// kNoDate: in that form, but no date. `canonical` tells whether the text is
// exactly what format_date_text writes for `when`.
enum class QuickDate { kOther, kNoDate, kDate };
QuickDate read_program_date(std::string_view text, int current_year, DateTime& when, bool& canonical);

// hour_number of the text as parse_date_text reads it, nothing when it is not
// a date. The form the program writes is read without the general parser.
std::optional<std::int64_t> parse_hour_number(std::string_view text, int current_year);

}  // namespace jukora
