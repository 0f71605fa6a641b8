// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/random_odds.h"

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

constexpr int kPicks = 200'000;

class RandomOddsTest : public PlayerFixture {
 protected:
  // Data rows with these Scores (in the order given, top first) and Last
  // Played texts (never played where none is given).
  void list(const std::vector<std::string>& scores, const std::vector<std::string>& played = {}) {
    songlist.Clear();
    for (std::size_t i = 0; i < scores.size(); ++i)
      songlist.add_cells({"", music, std::to_string(i + 1) + ".mp3", scores[i], "", "",
                          i < played.size() && !played[i].empty() ? played[i] : std::string(kNeverPlayed)});
    recompute_songlist(songlist);
  }

  // How often each row is picked in kPicks draws of the cycle's own choice,
  // with a fixed sequence of random numbers; entry 0 counts no row.
  std::vector<double> frequencies(bool top) {
    std::mt19937_64 engine(20261206);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    clock.randoms.resize(2 * kPicks);
    for (double& r : clock.randoms) r = uniform(engine);
    clock.next = 0;
    std::vector<double> seen(songlist.Rows(), 0.0);
    for (int pick = 0; pick < kPicks; ++pick) seen[top ? modes.choose_random_top() : modes.choose_random_all()] += 1;
    for (double& count : seen) count /= kPicks;
    return seen;
  }

  // The odds shown now against the picks of a cycle of that kind started
  // now (unless one runs already), row by row.
  void expect_odds_hold(Scope scope) {
    const bool top = scope == Scope::kTop20;
    const ListOdds before = modes.odds();
    const std::vector<double>& odds = top ? before.top : before.all;
    if (!timer.enabled()) modes.start_cycle({PlayOrder::kRandom, scope});
    const std::vector<double> seen = frequencies(top);
    ASSERT_EQ(odds.size() + 1, seen.size());
    double total = 0;
    for (std::size_t i = 0; i < odds.size(); ++i) {
      total += odds[i];
      // Five standard deviations of the count: the seed is fixed, so this
      // never flickers, and a rule off by one row is far outside it.
      const double spread = 5 * std::sqrt(odds[i] * (1 - odds[i]) / kPicks) + 1e-9;
      EXPECT_NEAR(seen[i + 1], odds[i], spread) << "row " << i + 1 << (top ? " of Top 20" : " of All");
      if (odds[i] == 0) {
        EXPECT_EQ(seen[i + 1], 0) << "row " << i + 1;
      }
    }
    EXPECT_NEAR(total, seen[0] == 1 ? 0 : 1, 1e-9);
  }
};

TEST_F(RandomOddsTest, RunsOfEqualScoresWidenTheSecondPick) {
  list({"9", "9", "9", "7", "07", "7", "5", "5", "5", "5", "4", "3", "3", "1", "0", "-2", "-2", "-2"});
  expect_odds_hold(Scope::kAll);
  expect_odds_hold(Scope::kTop20);  // fewer rows than the scope
}

TEST_F(RandomOddsTest, RowsHeldBackByTheHoursGiveTheirChanceToTheHighestFreeRow) {
  std::vector<std::string> scores, played;
  for (int i = 0; i < 30; ++i) scores.push_back(std::to_string(10 - i / 3));
  played.assign(30, "");
  // Within 2 hours of 11:00, one of them ahead in time; 08:59 is free again.
  for (int row : {1, 2, 5, 6, 7, 12, 29}) played[row - 1] = "10:00 12/6/26";
  played[3] = "13:00 12/6/26";
  played[4] = "08:59 12/6/26";
  list(scores, played);
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "2");
  expect_odds_hold(Scope::kAll);
  EXPECT_GT(modes.odds().all[2], modes.odds().all[8]) << "row 3 takes what rows 1 and 2 lose";
}

TEST_F(RandomOddsTest, ARunningCycleIsTakenAsItStands) {
  // A Top 20 over more rows than its scope, some played: a start past the
  // scope may reach the row just below it.
  std::vector<std::string> scores;
  for (int i = 0; i < 30; ++i) scores.push_back(std::to_string(30 - i));
  list(scores);
  modes.start_cycle({PlayOrder::kRandom, Scope::kTop20});
  for (int row : {1, 4, 5, 6, 19, 20}) songlist.SetTextMatrix(row, col::kMark, "*");
  expect_odds_hold(Scope::kTop20);
  EXPECT_GT(modes.odds().top[20], 0);
  modes.stop_player();
  EXPECT_EQ(modes.odds().top[0], 0.5 / 20) << "a fresh start clears the marks";

  // An "All" started with 11 rows, when 15 are listed now: the first pick
  // keeps to the rows there were.
  list(std::vector<std::string>(11, "4"));
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  for (int i = 0; i < 4; ++i) songlist.add_cells({"", music, "n" + std::to_string(i), "4", "", "", kNeverPlayed});
  recompute_songlist(songlist);
  expect_odds_hold(Scope::kAll);
}

TEST_F(RandomOddsTest, TheFloorHoldsSongsBackInBothCycles) {
  list({"8", "6", "3", "3", "2", "2", "-1", "-5"}, {"10:00 12/6/26"});
  settings.SaveSetting(sections::kPrefs, keys::kFloorScore, "3");
  const ListOdds off = modes.odds();
  EXPECT_GT(off.all[6], 0);
  save_floor_on(settings, true);
  const ListOdds on = modes.odds();
  for (int row = 5; row <= 8; ++row) EXPECT_EQ(on.all[row - 1] + on.top[row - 1], 0) << row;
  expect_odds_hold(Scope::kAll);
  expect_odds_hold(Scope::kTop20);
}

TEST_F(RandomOddsTest, NoRowMayPlay) {
  list({"3", "2", "1"}, {"10:30 12/6/26", "11:00 12/6/26", "11:00 12/6/26"});
  expect_odds_hold(Scope::kAll);
  modes.start_cycle({PlayOrder::kRandom, Scope::kTop20});
  for (int row = 1; row <= 3; ++row) songlist.SetTextMatrix(row, col::kMark, "*");
  expect_odds_hold(Scope::kTop20);
  songlist.Clear();
  EXPECT_TRUE(modes.odds().all.empty());
}

TEST(ChancePercent, ShowsWhatIsThereAndNeverMore) {
  const std::pair<double, const char*> cases[] = {
      {0, "0"},         {1, "100"},         {0.024, "2.4"},          {0.05, "5.0"},     {0.35249, "35.2"},
      {0.0052, "0.52"}, {0.00052, "0.052"}, {0.0000004, "0.000040"}, {0.99996, "99.9"},
  };
  for (const auto& [chance, text] : cases) EXPECT_EQ(chance_percent(chance), text) << chance;
}

TEST_F(RandomOddsTest, EachRowsTooltipLineSaysWhyItMayNotPlay) {
  // Played at 10:00 and at 12:30 (a clock that was ahead), under a replay
  // limit of 12 hours; one marked by a running Top 20; one below the floor.
  list({"5", "4", "3", "2"}, {"10:00 12/6/26", "", "12:30 12/6/26"});
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "12");
  modes.start_cycle({PlayOrder::kRandom, Scope::kTop20});
  songlist.SetTextMatrix(2, col::kMark, "*");
  save_floor_on(settings, true);
  settings.SaveSetting(sections::kPrefs, keys::kFloorScore, "3");
  const ListOdds odds = modes.odds();
  std::vector<std::string> lines;
  for (int row = 1; row <= 4; ++row) lines.push_back(odds_line(modes.row_odds(odds, row), clock.time));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Chance: 0 % in Random All, 12.5 % in Random Top 20; free from 23:00",
                       "Chance: 100 % in Random All, 0 % in Random Top 20; played in this cycle",
                       "Chance: 0 % in Random All, 87.5 % in Random Top 20; free from 01:00 12/7/26",
                       "Chance: 0 % in Random All, 0 % in Random Top 20; scored below 3",
                   }));
}

}  // namespace
}  // namespace jukora::testing
