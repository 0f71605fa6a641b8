// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/rating_scale.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/settings_keys.h"

namespace jukora {

namespace {

// The number a tag or sticker holds, blanks around it allowed; nothing for
// anything else (a NaN or an infinity included).
std::optional<double> number_in(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\0')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return {};
  return value;
}

// Halves up, for the non-negative values ratings are. A value that lies a
// hair below a half by binary rounding (0.35 * 10) still counts as the half.
int half_up(double value) { return static_cast<int>(std::floor(value + 0.5 + 1e-9)); }

constexpr std::array<int, kMaxHalfStars + 1> kPopmOut = {0, 13, 1, 54, 64, 118, 128, 186, 196, 242, 255};

}  // namespace

ReadRating rating_from_popm(int byte) {
  if (byte < 0 || byte > 255) return ReadRating::impossible();
  if (byte == 0) return ReadRating::unrated();
  if (byte < 32) return ReadRating::rated(2);
  if (byte < 96) return ReadRating::rated(4);
  if (byte < 160) return ReadRating::rated(6);
  if (byte < 224) return ReadRating::rated(8);
  return ReadRating::rated(10);
}

ReadRating rating_from_fraction(double value) {
  if (!std::isfinite(value) || value > 1.0 + 1e-9) return ReadRating::impossible();
  if (value < 0) return ReadRating::unrated();
  return ReadRating::rated(std::min(half_up(value * 10), kMaxHalfStars));
}

ReadRating rating_from_fraction_text(std::string_view text) {
  std::optional<double> value = number_in(text);
  return value ? rating_from_fraction(*value) : ReadRating::impossible();
}

ReadRating rating_from_rating_text(std::string_view text) {
  std::optional<double> value = number_in(text);
  if (!value || *value < 0 || *value > 100) return ReadRating::impossible();
  if (*value <= 5) return ReadRating::rated(half_up(*value * 2));
  return ReadRating::rated(half_up(*value / 10));
}

ReadRating rating_from_stars_text(std::string_view text) {
  std::optional<double> value = number_in(text);
  if (!value || *value < 0 || *value > 5) return ReadRating::impossible();
  const int half_stars = half_up(*value * 2);
  return half_stars == 0 ? ReadRating::unrated() : ReadRating::rated(half_stars);
}

ReadRating rating_from_sticker_text(std::string_view text) {
  std::optional<double> value = number_in(text);
  if (!value || *value < 0 || *value > kMaxHalfStars || *value != std::floor(*value)) return ReadRating::impossible();
  return ReadRating::rated(static_cast<int>(*value));
}

int half_stars_of_score(std::int64_t score) {
  return static_cast<int>(std::clamp<std::int64_t>(score, 0, kMaxHalfStars));
}

int popm_byte_of_score(std::int64_t score) { return kPopmOut[half_stars_of_score(score)]; }

std::string fmps_text_of_score(std::int64_t score) {
  const int tenths = half_stars_of_score(score);
  if (tenths == 0) return "0";
  if (tenths == kMaxHalfStars) return "1";
  return "0." + std::to_string(tenths);
}

std::string sticker_text_of_score(std::int64_t score) { return std::to_string(half_stars_of_score(score)); }

std::vector<std::string> rating_table_lines() {
  return {
      "ID3 POPM byte, any program's (Jukora's own wins, else the highest): 1-31 \u2605, 32-95 \u2605\u2605, "
      "96-159 \u2605\u2605\u2605, 160-223 \u2605\u2605\u2605\u2605, 224-255 \u2605\u2605\u2605\u2605\u2605; "
      "0 unrated",
      "FMPS_Rating, Strawberry, Clementine: 0.0-1.0, each tenth a half star (halves up); negative unrated",
      "Vorbis RATING: up to 5 in stars, above 5 out of 100",
      "Rhythmbox: 0-5 stars, 0 unrated; MPD sticker \"rating\": 0-10 half stars",
      "Scores go out clamped to 0-10: FMPS_Rating score / 10, MPD sticker the score, POPM by the stars "
      "(a half star as the star above)",
  };
}

std::string stars_text(int half_stars) {
  if (half_stars <= 0) return "no stars";
  std::string text;
  for (int i = 0; i < half_stars / 2; ++i) text += "\u2605";
  if (half_stars % 2) text += "\u00bd";
  return text;
}

RatingRule::RatingRule() {
  for (int i = 0; i <= kMaxHalfStars; ++i) scores_[i] = i;
}

std::int64_t RatingRule::score_of(int half_stars) const {
  return scores_[static_cast<std::size_t>(std::clamp(half_stars, 0, kMaxHalfStars))];
}

void RatingRule::set_score(int half_stars, std::int64_t score) {
  if (half_stars < 0 || half_stars > kMaxHalfStars) return;
  // A score is a 32-bit number wherever the list holds it.
  scores_[static_cast<std::size_t>(half_stars)] = std::clamp<std::int64_t>(
      score, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

bool RatingRule::is_default() const { return *this == RatingRule(); }

std::string RatingRule::to_text() const {
  std::string text;
  for (std::int64_t score : scores_) text += (text.empty() ? "" : ",") + std::to_string(score);
  return text;
}

std::optional<RatingRule> RatingRule::from_text(std::string_view text) {
  RatingRule rule;
  for (int i = 0; i <= kMaxHalfStars; ++i) {
    const auto comma = text.find(',');
    if ((comma == std::string_view::npos) != (i == kMaxHalfStars)) return {};
    std::string_view item = text.substr(0, comma);
    std::int64_t score = 0;
    auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), score);
    if (item.empty() || error != std::errc() || end != item.data() + item.size()) return {};
    rule.set_score(i, score);
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
  }
  return rule;
}

RatingRule read_rating_rule(const SettingsStore& store) {
  const std::optional<std::string> text = store.read(sections::kPrefs, keys::kRatingRule);
  std::optional<RatingRule> rule = text ? RatingRule::from_text(*text) : std::nullopt;
  return rule ? *rule : RatingRule();
}

void save_rating_rule(SettingsStore& store, const RatingRule& rule) {
  store.SaveSetting(sections::kPrefs, keys::kRatingRule, rule.to_text());
}

}  // namespace jukora
