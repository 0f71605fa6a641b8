// SPDX-License-Identifier: GPL-3.0-or-later
// The one table that turns every other program's rating into Jukora's score
// and Jukora's score back into their forms. Ratings travel as half stars,
// 0 to 10 (0 is a rating of no stars, not "unrated"); the rule then makes a
// score of them, and a score goes out clamped to 0-10 as half stars again.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class SettingsStore;

inline constexpr int kMaxHalfStars = 10;

// What a source's value means: a rating, no rating at all, or a value no
// program writes (told apart so that an import can count it).
struct ReadRating {
  enum class Kind { kRated, kUnrated, kImpossible };
  Kind kind = Kind::kUnrated;
  int half_stars = 0;

  static ReadRating rated(int half_stars) { return {Kind::kRated, half_stars}; }
  static ReadRating unrated() { return {}; }
  static ReadRating impossible() { return {Kind::kImpossible, 0}; }
  friend bool operator==(const ReadRating&, const ReadRating&) = default;
};

// ID3v2 POPM byte, read by range: 0 unrated, 1-31 one star, 32-95 two,
// 96-159 three, 160-223 four, 224-255 five.
ReadRating rating_from_popm(int byte);
// 0.0-1.0 (Strawberry, Clementine, FMPS_Rating): rounded to the nearest half
// star, halves up (0.25 is one and a half stars); negative is unrated.
ReadRating rating_from_fraction(double value);
// FMPS_Rating as text ("0.8").
ReadRating rating_from_fraction_text(std::string_view text);
// Vorbis RATING: 0-5 stars when the value is at most 5, else 0-100 (a
// tenth of it in half stars, halves up).
ReadRating rating_from_rating_text(std::string_view text);
// Rhythmbox 0-5 stars, 0 or absent unrated.
ReadRating rating_from_stars_text(std::string_view text);
// MPD's "rating" sticker: a whole number 0-10 in half stars.
ReadRating rating_from_sticker_text(std::string_view text);

// Half stars a score stands for when it goes out: the score clamped to 0-10.
int half_stars_of_score(std::int64_t score);
// The POPM byte Jukora writes for a score: whole stars by the five-star
// rule (1, 64, 128, 196, 255), a half star the byte in the range of the star
// above (13, 54, 118, 186, 242), no stars 0.
int popm_byte_of_score(std::int64_t score);
// FMPS_Rating for a score: clamped to 0-10, a tenth of it ("0.7", "1", "0").
std::string fmps_text_of_score(std::int64_t score);
// MPD's sticker value for a score: clamped to 0-10.
std::string sticker_text_of_score(std::int64_t score);

// The table above in words, one line per form, for the import dialog.
std::vector<std::string> rating_table_lines();

// "★★★½" for 7 half stars, "no stars" for 0.
std::string stars_text(int half_stars);

// The rule an import applies: the score each rating (in half stars) gets.
// By default a score of stars x 2, so half stars are kept and the scale is
// MPD's. The user may change any entry before an import.
class RatingRule {
 public:
  RatingRule();
  std::int64_t score_of(int half_stars) const;
  void set_score(int half_stars, std::int64_t score);
  bool is_default() const;

  // "0,1,2,...,10" as settings keep it; nothing when the text is not 11
  // whole numbers.
  std::string to_text() const;
  static std::optional<RatingRule> from_text(std::string_view text);

  friend bool operator==(const RatingRule&, const RatingRule&) = default;

 private:
  std::array<std::int64_t, kMaxHalfStars + 1> scores_{};
};

// The rule in Preferences ("prefs/rating_rule"); the default when none is
// kept or the kept text is not a rule.
RatingRule read_rating_rule(const SettingsStore& store);
void save_rating_rule(SettingsStore& store, const RatingRule& rule);

}  // namespace jukora
