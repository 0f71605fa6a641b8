// SPDX-License-Identifier: GPL-3.0-or-later
// Play cycles and the export through a real MPD on one-second songs, the
// timer's ticks driven by the test.
#include <signal.h>

#include "player/mpd/mpd_fixture.h"

namespace jukora::testing {
namespace {

class PlayCycleMpdTest : public MpdFixture {
 protected:
  PlayCycleMpdTest() { list({song("a.wav"), song("b.wav"), song("c.wav")}); }

  // Notes the song MPD plays, once for each time it starts.
  void watch() {
    const std::string now = state() == "play" ? playing() : "";
    if (!now.empty() && now != last_) seen.push_back(now);
    last_ = now;
  }
  // Ticks four times a second and watches MPD in between, until `done`.
  bool run_until(const std::function<bool()>& done, bool tick = true) {
    int step = 0;
    return eventually(
        [&] {
          if (tick && step++ % 12 == 0) rig.modes.tick();
          watch();
          return done();
        },
        std::chrono::seconds(15));
  }

  std::vector<std::string> seen;

 private:
  std::string last_;
};

const std::vector<std::string> kInOrder = {"a.wav", "b.wav", "c.wav"};

TEST_F(PlayCycleMpdTest, ACountupAndAnExportPlayEachSongToItsEndInOrderAndPutTheModesBack) {
  server.command("repeat 1");
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  ASSERT_TRUE(run_until([&] { return !rig.timer.enabled(); }));
  EXPECT_EQ(seen, kInOrder);
  EXPECT_TRUE(modes_come_back([&] { return server.value("status", "repeat") == "1"; }));

  // The export plays as the queue, whatever order MPD was set to.
  seen.clear();
  server.command("command_list_begin\nrepeat 0\nrandom 1\ncommand_list_end");
  ASSERT_TRUE(exported("a.wav"));
  ASSERT_TRUE(run_until([&] { return seen.size() == 3 && state() == "stop"; }, false));
  EXPECT_EQ(seen, kInOrder);
}

TEST_F(PlayCycleMpdTest, MpdStoppedKilledAndRestartedMidCycleIsBusyAndTheCycleGoesOn) {
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  ASSERT_TRUE(run_until([&] { return !seen.empty(); }));

  // Requests the tick makes are busy, never gone, and never stall it.
  kill(server.pid(), SIGSTOP);
  EXPECT_EQ(bounded([&] { return mpd.play_status(); }), PlayStatus::kBusy);
  EXPECT_EQ(bounded([&] { return mpd.current_song("").kind; }), CurrentSong::Kind::kBusy);
  server.kill(SIGKILL);
  const auto down_until = Clock::now() + std::chrono::milliseconds(600);
  while (Clock::now() < down_until) {
    EXPECT_EQ(bounded([&] { return mpd.missing_program(""); }), "");
    EXPECT_EQ(bounded([&] { return mpd.reach(); }), Reach::kBusy);
    EXPECT_EQ(bounded([&] { return mpd.play_file("", song("b.wav")).result; }), HandOver::Result::kBusy);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }

  ASSERT_TRUE(server.start());
  ASSERT_TRUE(run_until([&] { return !rig.timer.enabled(); }));
  EXPECT_EQ(seen, kInOrder);
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace jukora::testing
