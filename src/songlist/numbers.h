// SPDX-License-Identifier: GPL-3.0-or-later
// Score texts and Rank % texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jukora {

// A Score text counts as numeric when it reads as a decimal number
// (optional sign, fraction and exponent; blanks around it allowed).
bool is_numeric(std::string_view text);

// The value a Score sorts by: its number, or 0 for any other text.
double score_sort_value(std::string_view text);

// The Score after a step: its whole value (halves to even, 0 for text that
// is not a number) plus step, held within the 32-bit range.
std::string stepped_score(std::string_view text, int step);

// q rounded to 2 places, halves to even, without trailing zeros:
// "100", "66.67", "12.5", "3.12".
std::string rank_text(double q);
// The same in hundredths (10000 for 100), and the text of hundredths.
long long rank_hundredths(double q);
std::string hundredths_text(long long hundredths);

}  // namespace jukora
