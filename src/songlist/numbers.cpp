// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/settings_keys.h"

namespace jukora {

namespace {

// Plain whole numbers are by far the common Score; read them without the
// general parser.
std::optional<double> plain_whole(std::string_view text) {
  if (text.empty() || text.size() >= 16) return std::nullopt;
  std::size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    char c = text[k];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return static_cast<double>(i ? -value : value);
}

}  // namespace

bool is_numeric(std::string_view text) { return plain_whole(text) || to_number(text); }

double score_sort_value(std::string_view text) {
  if (auto value = plain_whole(text)) return *value;
  return to_number(text).value_or(0.0);
}

std::string stepped_score(std::string_view text, int step) {
  double value = std::nearbyint(to_number(text).value_or(0.0));
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  value = std::clamp(value + step, lo, hi);
  return std::to_string(static_cast<std::int32_t>(value));
}

long long rank_hundredths(double q) {
  // q * 100 is itself rounded and can land on a half that q is not (or miss
  // one it is); near a half, fma measures q against the midpoint exactly.
  // Elsewhere it is not needed, and it is slow where the processor lacks it.
  double scaled = q * 100.0;
  double below = std::floor(scaled);
  double past_half = scaled - below - 0.5;
  if (std::fabs(past_half) < 1e-6) past_half = std::fma(q, 100.0, -(below + 0.5));
  bool up = past_half > 0 || (past_half == 0 && std::fmod(below, 2.0) != 0);
  return static_cast<long long>(up ? below + 1 : below);
}

std::string hundredths_text(long long cents) {
  bool negative = cents < 0;
  if (negative) cents = -cents;
  std::string text = negative ? "-" : "";
  text += std::to_string(cents / 100);
  long long fraction = cents % 100;
  if (fraction != 0) {
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
  }
  return text;
}

std::string rank_text(double q) { return hundredths_text(rank_hundredths(q)); }

}  // namespace jukora
