// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/replay_limit.h"
#include "support/player_fixture.h"

namespace jukora::testing {
namespace {

TEST(ReplayLimit, CountsClockHourBoundariesEitherWay) {
  const ReplayLimit none({2026, 12, 6, 11, 0}, 0), two({2026, 12, 6, 11, 0}, 2);
  EXPECT_TRUE(none.passes(LastPlayed::read("10:59 12/6/26")));
  EXPECT_FALSE(ReplayLimit({2026, 12, 6, 11, 59}, 0).passes(LastPlayed::read("11:00 12/6/26")));
  EXPECT_FALSE(two.passes(LastPlayed::read("09:00 12/6/26")));  // 2 is not more than 2
  EXPECT_TRUE(two.passes(LastPlayed::read("08:59 12/6/26")));
  EXPECT_FALSE(two.passes(LastPlayed::read("13:59 12/6/26")));  // the future counts like the past
  EXPECT_TRUE(two.passes(LastPlayed::read("14:00 12/6/26")));
  EXPECT_FALSE(ReplayLimit({2026, 12, 7, 10, 59}, 24).passes(LastPlayed::read("10:15 12/6/26")));
  // Not a date yet (a drop in progress): never played.
  EXPECT_FALSE(ReplayLimit({1971, 1, 1, 0, 59}, 0).passes(LastPlayed::read("")));
  EXPECT_TRUE(ReplayLimit({1971, 1, 1, 1, 0}, 0).passes(LastPlayed::read("soon")));
}

using RandomAllTest = PlayerFixture;

TEST_F(RandomAllTest, TheSecondPickSpansTheScoreRunOfTheFirst) {
  fill(10);
  for (int row = 3; row <= 7; ++row) songlist.SetTextMatrix(row, col::kScore, "4");
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "");  // reads as 0
  // 0.25 x 10 = 2.5 goes to 2: row 3, widened to 7; 0.99 x 7: row 8.  7.5 goes
  // to 8: row 9; 0.5 x 9 = 4.5 to 4: row 5.  0.05 drawn in single precision is
  // a little more, so 0.05 x 10 rounds up: row 2; 0.99 x 2: row 3.  Then 0:
  // row 1, and the rest by the scan.
  clock.randoms = {0.25, 0.99, 0.75, 0.5, 0.05, 0.99};
  EXPECT_EQ(run(), (std::vector<int>{8, 5, 3, 1, 2, 4, 6, 7, 9, 10}));
  EXPECT_EQ(cells(8, col::kMark, col::kLastPlayed), ",11:00 12/6/26");
}

TEST_F(RandomAllTest, AReplayLimitBeyondTheIntegerRangeHoldsEverySongBack) {
  fill(3);
  for (const char* hours : {"10000000000", "1e300"}) {
    settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, hours);
    modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
    EXPECT_TRUE(run().empty()) << hours;
  }
}

TEST_F(RandomAllTest, ASongPassedOverUnderANegativeLimitIsNotTriedAgainInTheSameTick) {
  fill(2);
  std::filesystem::remove(song(1));
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "-1");  // every song always passes
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  modes.tick();
  EXPECT_TRUE(link.starts().empty());
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Passed over 1 song: 1 missing."});
}

TEST_F(RandomAllTest, FallsBackToTheHighestRowThatPasses) {
  fill(6, "10:30 12/6/26");
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "1");
  songlist.SetTextMatrix(4, col::kLastPlayed, "09:59 12/6/26");
  songlist.SetTextMatrix(6, col::kLastPlayed, "12:00 12/7/26");
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  clock.randoms = {0.0, 0.0, 0.99, 0.99};  // row 1, too recent; then row 8, past the end
  EXPECT_EQ(run(), (std::vector<int>{4, 6}));
  EXPECT_EQ(desktop.notes, std::vector<std::string>{"Random All stopped: every song was played too recently; with 1 "
                                                    "hour the first may play again from 12:00."});
}

TEST_F(RandomAllTest, ACycleHeldBackByTheFloorSaysSo) {
  // Scores 4 .. 1; rows 1 and 2 played this hour (Top 20 plays them). The floor, then the
  // cycle, then what the user is told as it ends.
  const struct {
    const char* floor;
    Scope scope;
    std::vector<int> played;
    const char* note;
  } cases[] = {
      {"",
       Scope::kAll,
       {3, 4},
       "Random All stopped: every song has played this hour; with 0 hours they may play again from 12:00."},
      {"3",
       Scope::kAll,
       {},
       "Random All stopped: every song was played too recently or is scored below 3; with 0 hours the first may "
       "play again from 12:00 (\"Random skips songs scored below 3\" in Preferences)."},
      {"5",
       Scope::kAll,
       {},
       "Random All stopped: every song is scored below 5 (\"Random skips songs scored below 5\" in Preferences)."},
      {"3",
       Scope::kTop20,
       {1, 2},
       "Random Top 20 stopped: the songs left are scored below 3 (\"Random skips songs scored below 3\" in "
       "Preferences)."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.floor);
    fill(4);
    for (int row : {1, 2}) songlist.SetTextMatrix(row, col::kLastPlayed, "11:00 12/6/26");
    save_floor_on(settings, *c.floor != 0);
    if (*c.floor) settings.SaveSetting(sections::kPrefs, keys::kFloorScore, c.floor);
    desktop.notes.clear();
    link.calls.clear();
    modes.start_cycle({PlayOrder::kRandom, c.scope});
    EXPECT_EQ(run(), c.played);
    EXPECT_EQ(desktop.notes, std::vector<std::string>{c.note});
  }
}

}  // namespace
}  // namespace jukora::testing
