// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/rating_scale.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"

namespace jukora::testing {
namespace {

constexpr int kUnrated = -1;
constexpr int kImpossible = -2;

int as_number(ReadRating rating) {
  if (rating.kind == ReadRating::Kind::kUnrated) return kUnrated;
  if (rating.kind == ReadRating::Kind::kImpossible) return kImpossible;
  return rating.half_stars;
}

TEST(RatingScale, EveryFormReadsAsHalfStarsByTheOneTable) {
  for (auto [byte, half_stars] : {std::tuple{0, kUnrated},
                                  {1, 2},
                                  {31, 2},
                                  {32, 4},
                                  {95, 4},
                                  {96, 6},
                                  {159, 6},
                                  {160, 8},
                                  {223, 8},
                                  {224, 10},
                                  {255, 10},
                                  {256, kImpossible},
                                  {-1, kImpossible}})
    EXPECT_EQ(as_number(rating_from_popm(byte)), half_stars) << "POPM " << byte;

  using Reader = ReadRating (*)(std::string_view);
  const std::tuple<Reader, const char*, int> texts[] = {
      // FMPS_Rating, Strawberry and Clementine: 0.0-1.0, halves up.
      {rating_from_fraction_text, "0.8", 8},
      {rating_from_fraction_text, "0.25", 3},
      {rating_from_fraction_text, "0.35", 4},
      {rating_from_fraction_text, "0", 0},
      {rating_from_fraction_text, "1.0", 10},
      {rating_from_fraction_text, " 0.6 ", 6},
      {rating_from_fraction_text, "-1", kUnrated},
      {rating_from_fraction_text, "1.5", kImpossible},
      {rating_from_fraction_text, "nan", kImpossible},
      {rating_from_fraction_text, "", kImpossible},
      // Vorbis RATING: 0-5 stars up to 5, else 0-100.
      {rating_from_rating_text, "4", 8},
      {rating_from_rating_text, "2.5", 5},
      {rating_from_rating_text, "5", 10},
      {rating_from_rating_text, "80", 8},
      {rating_from_rating_text, "100", 10},
      {rating_from_rating_text, "55", 6},
      {rating_from_rating_text, "101", kImpossible},
      {rating_from_rating_text, "-3", kImpossible},
      {rating_from_rating_text, "four", kImpossible},
      // Rhythmbox: stars, 0 unrated.
      {rating_from_stars_text, "4", 8},
      {rating_from_stars_text, "0", kUnrated},
      {rating_from_stars_text, "3.5", 7},
      {rating_from_stars_text, "6", kImpossible},
      // MPD stickers: whole numbers 0-10.
      {rating_from_sticker_text, "7", 7},
      {rating_from_sticker_text, "0", 0},
      {rating_from_sticker_text, "10", 10},
      {rating_from_sticker_text, "11", kImpossible},
      {rating_from_sticker_text, "7.5", kImpossible},
      {rating_from_sticker_text, "1e400", kImpossible},
  };
  for (auto [reader, text, half_stars] : texts) EXPECT_EQ(as_number(reader(text)), half_stars) << '"' << text << '"';
}

TEST(RatingScale, ScoresGoOutClampedAndComeBackAsTheSameStars) {
  // The score, and what goes out for it: half stars (the sticker's number),
  // the POPM byte and the FMPS text.
  const std::tuple<std::int64_t, int, int, const char*> cases[] = {
      {-4, 0, 0, "0"},    {0, 0, 0, "0"},     {1, 1, 13, "0.1"},  {2, 2, 1, "0.2"},   {5, 5, 118, "0.5"},
      {7, 7, 186, "0.7"}, {8, 8, 196, "0.8"}, {9, 9, 242, "0.9"}, {10, 10, 255, "1"}, {25, 10, 255, "1"}};
  for (auto [score, half_stars, popm, fmps] : cases) {
    EXPECT_EQ(half_stars_of_score(score), half_stars) << score;
    EXPECT_EQ(sticker_text_of_score(score), std::to_string(half_stars)) << score;
    EXPECT_EQ(popm_byte_of_score(score), popm) << score;
    EXPECT_EQ(fmps_text_of_score(score), fmps) << score;
    // FMPS keeps every score of 0-10; POPM keeps whole stars and rounds a
    // half star up.
    EXPECT_EQ(as_number(rating_from_fraction_text(fmps)), half_stars) << score;
    if (popm) {
      EXPECT_EQ(as_number(rating_from_popm(popm)), (half_stars + 1) / 2 * 2) << score;
    }
  }
}

TEST(RatingScale, RuleIsStarsTimesTwoUntilChangedAndKeptAsText) {
  RatingRule rule;
  EXPECT_TRUE(rule.is_default());
  EXPECT_EQ(rule.score_of(7), 7);
  EXPECT_EQ(rule.to_text(), "0,1,2,3,4,5,6,7,8,9,10");
  rule.set_score(10, 20);
  rule.set_score(0, -3);
  EXPECT_EQ(rule.to_text(), "-3,1,2,3,4,5,6,7,8,9,20");

  MemorySettingsStore settings;
  save_rating_rule(settings, rule);
  EXPECT_EQ(read_rating_rule(settings), rule);
  for (const char* bad : {"", "1,2,3", "0,1,2,3,4,5,6,7,8,9,10,11", "0,1,2,3,4,5,6,7,8,9,x", "0,1,2,3,4,5,6,7,8,9,"}) {
    settings.SaveSetting(sections::kPrefs, keys::kRatingRule, bad);
    EXPECT_TRUE(read_rating_rule(settings).is_default()) << bad;
  }
  EXPECT_EQ(stars_text(7), "\u2605\u2605\u2605\u00bd");
  EXPECT_EQ(stars_text(0), "no stars");
}

}  // namespace
}  // namespace jukora::testing
