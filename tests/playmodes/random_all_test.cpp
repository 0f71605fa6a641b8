#include "playmodes/cycle_fixture.h"
#include "playmodes/replay_limit.h"

namespace jukora::testing {
namespace {

TEST(ReplayLimit, CountsClockHourBoundariesEitherWay) {
  const DateTime now{2026, 12, 6, 11, 0, 0};
  const ReplayLimit none(now, 0), two(now, 2), day(DateTime{2026, 12, 7, 10, 59, 0}, 24);
  EXPECT_TRUE(none.passes("10:59 12/6/26"));   // one boundary, at 11:00
  EXPECT_FALSE(none.passes("11:00 12/6/26"));  // the same hour
  EXPECT_FALSE(ReplayLimit({2026, 12, 6, 11, 59, 0}, 0).passes("11:00 12/6/26"));
  EXPECT_FALSE(two.passes("09:00 12/6/26"));  // 2 is not more than 2
  EXPECT_TRUE(two.passes("08:59 12/6/26"));
  EXPECT_FALSE(two.passes("13:30 12/6/26"));  // the future counts like the past
  EXPECT_TRUE(two.passes("14:00 12/6/26"));
  EXPECT_FALSE(day.passes("10:15 12/6/26"));  // 24 boundaries by 10:59 the next day
  EXPECT_TRUE(ReplayLimit({2026, 12, 7, 11, 0, 0}, 24).passes("10:15 12/6/26"));
  EXPECT_TRUE(none.passes("23:30 12/31/25"));  // across a year
  // Not yet recomputed (a drop in progress): never played.
  EXPECT_TRUE(day.passes(""));
  EXPECT_TRUE(day.passes("soon"));
  EXPECT_TRUE(ReplayLimit({1971, 1, 1, 0, 59, 0}, -1).passes(""));
  EXPECT_FALSE(ReplayLimit({1971, 1, 1, 0, 59, 0}, 0).passes(""));
}

using RandomAllTest = CycleFixture;

TEST_F(RandomAllTest, ReplayTestReadsTimeBlockEachTimeAndTakesNonNumbersAsZero) {
  fill(1, "10:00 12/6/26");
  EXPECT_TRUE(modes.replay_test(1));
  for (const char* block : {"", "abc"}) {
    settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, block);
    EXPECT_TRUE(modes.replay_test(1)) << block;
  }
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "1");
  EXPECT_FALSE(modes.replay_test(1));
}

TEST_F(RandomAllTest, SecondPickSpansTheScoreRunOfTheFirst) {
  const char* score[] = {"9", "8", "4", "4", "4", "4", "4", "2", "1", "0"};
  for (int i = 1; i <= 10; ++i) songlist.add_cells({"", "music", std::to_string(i) + ".mp3", score[i - 1]});
  recompute_songlist(songlist);
  modes.mnuRandom_Click("All");
  // 0.25 x 10 = 2.5 goes to the even 2: row 3, widened over the run of "4"
  // to row 7; then 0.99 x 7 rounds to 7: row 8, one past the run.
  clock.randoms = {0.25, 0.99};
  modes.tmrJukora_Timer();
  // 0.75 x 10 = 7.5 goes to the even 8: row 9; then 0.5 x 9 = 4.5 goes to 4: row 5.
  clock.randoms = {0.75, 0.5};
  clock.next = 0;
  modes.tmrJukora_Timer();
  // Drawn in single precision 0.05 is a little more, so 0.05 x 10 rounds up:
  // row 2; then 0.99 x 2 rounds to 2: row 3.
  clock.randoms = {0.05, 0.99};
  clock.next = 0;
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{8, 5, 3}));
  EXPECT_EQ(clock.reseeds, 3);
  EXPECT_EQ(songlist.TextMatrix(8, col::kLastPlayed), "11:00 12/6/26");
  EXPECT_EQ(songlist.TextMatrix(8, col::kMark), "");
  EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), kNeverPlayed);
  EXPECT_NE(read_bytes(list_path).find("\"8.mp3\",\"2\",\"11:00 12/6/26\""), std::string::npos);
}

TEST_F(RandomAllTest, FallsBackToTheHighestRowThatPasses) {
  fill(6, "10:30 12/6/26");
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "1");
  songlist.SetTextMatrix(4, col::kLastPlayed, "09:59 12/6/26");
  songlist.SetTextMatrix(6, col::kLastPlayed, "12:00 12/7/26");
  modes.mnuRandom_Click("All");
  clock.randoms = {0.0, 0.0};  // row 1, played too recently
  modes.tmrJukora_Timer();
  // 0.99 x 6 rounds to 6 (row 7), then 0.99 x 7 to 7 (row 8): past the last
  // row, so the scan runs again.
  clock.randoms = {0.99, 0.99};
  clock.next = 0;
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{4, 6}));
  EXPECT_TRUE(timer.enabled());
  modes.tmrJukora_Timer();
  EXPECT_FALSE(timer.enabled());
}

TEST_F(RandomAllTest, WithTimeBlockZeroEachSongPlaysOnceInTheHourThenSkipOnlyStops) {
  fill(5, "23:00 12/5/26");
  modes.mnuRandom_Click("All");
  run();
  EXPECT_EQ(played(), (std::vector<int>{1, 2, 3, 4, 5}));
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kRandomAll, 6}));
  link.calls.clear();
  modes.skip_song();
  EXPECT_EQ(link.calls, (std::vector<std::string>{"find_winamp", "stop"}));
  EXPECT_FALSE(timer.enabled());
}

TEST_F(RandomAllTest, IgnoresMarksAndLeavesThemAlone) {
  fill(2);
  modes.skip_song();
  songlist.SetTextMatrix(1, col::kMark, "*");
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{1}));
  EXPECT_EQ(songlist.TextMatrix(2, col::kMark), "");
}

}  // namespace
}  // namespace jukora::testing
