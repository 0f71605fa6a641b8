// Play cycles through the real mpv, on generated one-second songs with no
// audio device, the timer's ticks driven by the test.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/player_fixture.h"
#include "player/mpv_ipc.h"
#include "player/mpv_link.h"

namespace jukora::testing {
namespace {

// The real player, noting each song handed over and when the cycle saw it play.
class WatchedMpv : public MpvLink {
 public:
  using MpvLink::MpvLink;
  int play_status(PlayerHandle player) override {
    int status = MpvLink::play_status(player);
    if (status == kStatusPlaying && !events.empty() && events.back() != "playing") events.push_back("playing");
    return status;
  }
  HandOver start_with_file(const std::string& dir, const std::string& song) override {
    events.push_back(get_file_name(song));
    return MpvLink::start_with_file(dir, song);
  }
  std::vector<std::string> events;
};

// The hour held still, so that a run across a clock hour cannot bring a song back.
class StillHourClock : public SystemClock {
 public:
  DateTime now() override { return {2026, 12, 6, 11, 30, 0}; }
};

class PlayCycleMpvTest : public PlayerFixture {
 protected:
  PlayCycleMpvTest() {
    EXPECT_TRUE(runtime_ready);
    write_bytes(temp.file("mpv"), "#!/bin/sh\nexec /usr/bin/mpv --ao=null --vo=null \"$@\"\n");
    chmod(temp.file("mpv").c_str(), 0755);
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) {
      std::string sox = "sox -q -n -r 8000 '" + temp.file(name) + "' synth 1 sine 440 vol 0.1";
      EXPECT_EQ(std::system(sox.c_str()), 0);
      songlist.add_cells({"", dir, name, std::to_string('z' - name[0])});
    }
    recompute_songlist(songlist);
  }
  ~PlayCycleMpvTest() override {
    if (auto session = MpvSession::connect(mpv.socket_path())) session->ask({"quit"});
  }

  // Ticks until the cycle ends (half the shell's interval keeps it short);
  // the songs, each of which must have played before the next came.
  std::vector<std::string> run_cycle() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (timer.enabled() && std::chrono::steady_clock::now() < deadline) {
      cycle.tmrJukora_Timer();
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    EXPECT_FALSE(timer.enabled()) << "the cycle did not end in time";
    std::vector<std::string> songs;
    for (std::size_t i = 0; i < mpv.events.size(); i += 2) {
      songs.push_back(mpv.events[i]);
      EXPECT_TRUE(i + 1 < mpv.events.size() && mpv.events[i + 1] == "playing") << ::testing::PrintToString(mpv.events);
    }
    return songs;
  }

  // A private folder for mpv's socket, in place before the link reads it.
  static bool runtime_dir(const std::string& path) {
    std::filesystem::create_directory(path);
    return chmod(path.c_str(), 0700) == 0 && setenv("XDG_RUNTIME_DIR", path.c_str(), 1) == 0;
  }

  bool runtime_ready = runtime_dir(temp.file("run"));
  WatchedMpv mpv{AppFolders{temp.file("data")}};
  StillHourClock hour;
  PlayModes cycle{songlist, files, settings, mpv, desktop, hour, timer};
};

TEST_F(PlayCycleMpvTest, CountupPlaysEachSongToItsEndInOrder) {
  cycle.mnuAscending_Click("All");
  EXPECT_EQ(run_cycle(), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(cells(3, col::kMark, col::kLastPlayed), "*,00:00 1/1/71");
}

TEST_F(PlayCycleMpvTest, RandomAllPlaysEachSongOnceWithinTheHour) {
  cycle.mnuRandom_Click("All");
  std::vector<std::string> songs = run_cycle();
  std::sort(songs.begin(), songs.end());
  EXPECT_EQ(songs, (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(cells(3, col::kMark, col::kLastPlayed), ",11:30 12/6/26");
}

}  // namespace
}  // namespace jukora::testing
