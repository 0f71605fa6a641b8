#include <numeric>

#include "playmodes/cycle_fixture.h"

namespace jukora::testing {
namespace {

std::vector<int> range(int from, int to) {
  std::vector<int> out;
  for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1) out.push_back(i);
  return out;
}

using PlayCycleTest = CycleFixture;

TEST_F(PlayCycleTest, CountupAndCountdownPlayEachRowOfTheScopeOnceThenEnd) {
  struct Case {
    int rows;
    const char* submenu;
    const char* caption;
    std::vector<int> order;
  };
  const Case cases[] = {{5, "up", "All", range(1, 5)},       {8, "up", "Top 20", range(1, 8)},
                        {30, "up", "Top 20", range(1, 20)},  {30, "up", "All", range(1, 30)},
                        {5, "down", "Top 20", range(5, 1)},  {8, "down", "All", range(8, 1)},
                        {30, "down", "Top 20", range(20, 1)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows, " + c.submenu + " " + c.caption);
    songlist.Clear();
    link.calls.clear();
    fill(c.rows);
    songlist.SetTextMatrix(1, col::kMark, "*");  // left over from an earlier cycle
    std::string before = std::string(songlist.TextMatrix(1, col::kLastPlayed));
    if (c.submenu == std::string("up")) modes.mnuAscending_Click(c.caption);
    if (c.submenu == std::string("down")) modes.mnuDescending_Click(c.caption);
    ASSERT_TRUE(timer.enabled());
    run();
    EXPECT_EQ(played(), c.order);
    EXPECT_EQ(songlist.TextMatrix(c.order.front(), col::kMark), "*");
    EXPECT_EQ(songlist.TextMatrix(1, col::kLastPlayed), before);
    EXPECT_TRUE(desktop.messages.empty());
  }
  // Each song is saved as it is handed over; the marks are not part of the file.
  EXPECT_EQ(read_bytes(list_path).find('*'), std::string::npos);
  EXPECT_NE(read_bytes(list_path).find("\"20.mp3\""), std::string::npos);
}

TEST_F(PlayCycleTest, RandomTopStartsAnywhereFromOneToOnePastTheScope) {
  fill(8);
  // 0.99 x 8 rounds to 8: the start is 9, past the last row; the walk back
  // from there takes row 8.
  clock.randoms = {0.99, 0.99, 0.5625};
  modes.mnuRandom_Click("Top 20");
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kRandomTop, 20}));
  modes.tmrJukora_Timer();
  modes.tmrJukora_Timer();
  modes.tmrJukora_Timer();
  // 0.5625 x 8 = 4.5 goes to the even 4: row 5.
  EXPECT_EQ(played(), (std::vector<int>{8, 7, 5}));
  EXPECT_EQ(clock.reseeds, 3);
  run();  // from then on every draw is 0: the start is row 1
  std::vector<int> all = played();
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, range(1, 8));
}

TEST_F(PlayCycleTest, RandomTopStartOfTwentyOneOfThirtyPlaysTheRowBelowTheScope) {
  fill(30);
  clock.randoms = {0.99, 0.99};
  modes.mnuRandom_Click("Top 20");
  modes.tmrJukora_Timer();
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{21, 20}));
  run();
  EXPECT_EQ(played().size(), 21u);  // rows 22 to 30 never come up
}

TEST_F(PlayCycleTest, WaitsWhilePlayingOrPausedAndMovesOnWhenStopped) {
  fill(3);
  modes.mnuAscending_Click("All");
  link.status = kStatusPlaying;
  modes.tmrJukora_Timer();
  link.status = kStatusPaused;
  modes.tmrJukora_Timer();
  EXPECT_TRUE(played().empty());
  link.status = 0;
  modes.tmrJukora_Timer();
  link.status = kStatusPlaying;
  modes.skip_song();  // stops the song; the next tick feeds the next
  EXPECT_EQ(link.calls.back(), "stop");
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{1, 2}));
  link.status = 7;  // any answer but playing or paused counts as stopped
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), range(1, 3));
}

TEST_F(PlayCycleTest, CountdownFollowsTheTableAfterARescore) {
  fill(5);
  modes.mnuDescending_Click("All");
  modes.tmrJukora_Timer();  // row 5
  songlist.SetTextMatrix(4, col::kScore, "100");
  recompute_songlist(songlist);  // now 4, 1, 2, 3, 5*: the marked song moved with its row
  modes.tmrJukora_Timer();
  EXPECT_EQ(played(), (std::vector<int>{5, 3}));
}

TEST_F(PlayCycleTest, APlayerThatIsNotRunningIsStartedTwiceInOneTick) {
  fill(2);
  link.running = false;
  modes.mnuAscending_Click("All");
  modes.tmrJukora_Timer();
  EXPECT_EQ(link.starts(), (std::vector<std::string>{"start " + dir, "start_with_file " + dir + " " + song("1.mp3")}));
}

TEST_F(PlayCycleTest, AMissingExecutableEndsTheCycleWithTheMessage) {
  fill(2);
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, temp.file("nowhere"));
  modes.mnuDescending_Click("Top 20");
  modes.tmrJukora_Timer();
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(desktop.messages, (std::vector<std::string>{kExecutableNotFound}));
  EXPECT_EQ(desktop.preferences_shown, 1);
  EXPECT_TRUE(link.calls.empty());
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kCountdown, 20}));
}

TEST_F(PlayCycleTest, SkipAndStopWinamp) {
  fill(3);
  songlist.SetTextMatrix(2, col::kMark, "*");
  modes.skip_song();  // no cycle set: Random over all rows, marks kept
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kRandomAll, 4}));
  EXPECT_TRUE(timer.enabled());
  EXPECT_EQ(songlist.TextMatrix(2, col::kMark), "*");
  EXPECT_EQ(link.calls.back(), "stop");

  modes.stop_winamp();
  EXPECT_EQ(modes.cycle(), PlayCycle{});
  EXPECT_FALSE(timer.enabled());
  EXPECT_EQ(link.calls.back(), "stop");

  modes.mnuAscending_Click("All");
  link.running = false;
  link.calls.clear();
  modes.skip_song();  // a cycle is set but no player runs: nothing at all
  EXPECT_EQ(link.calls, (std::vector<std::string>{"find_winamp"}));
  EXPECT_EQ(modes.cycle(), (PlayCycle{mode::kCountup, 4}));
}

TEST_F(PlayCycleTest, OtherCaptionsDoNothing) {
  fill(2);
  for (const char* caption : {"Countdown", "all", "Top 20 ", ""}) {
    modes.mnuRandom_Click(caption);
    modes.mnuDescending_Click(caption);
    modes.mnuAscending_Click(caption);
  }
  modes.mnuRandom_Click("Playlist All");
  EXPECT_FALSE(timer.enabled());
  EXPECT_TRUE(link.calls.empty());
  EXPECT_EQ(modes.cycle(), PlayCycle{});
}

}  // namespace
}  // namespace jukora::testing
