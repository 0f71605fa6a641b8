// SPDX-License-Identifier: GPL-3.0-or-later
// Play cycles through the real mpv, on generated two-second songs with no
// audio device, the timer's ticks driven by the test.
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "player/player_choice.h"
#include "scoring/current_song_scoring.h"
#include "support/player_fixture.h"
#include "support/players_posix.h"

namespace jukora::testing {
namespace {

// The program's player, mpv as no other is chosen, noting each song handed
// over and when the cycle saw it play.
class WatchedMpv : public PlayerChoice {
 public:
  WatchedMpv(const SettingsStore& settings, MpvLink& mpv) : PlayerChoice(settings, mpv), mpv_(mpv) {}
  PlayStatus play_status() override {
    PlayStatus status = PlayerChoice::play_status();
    if (status == PlayStatus::kPlaying && !events.empty() && events.back() != "playing") events.push_back("playing");
    return status;
  }
  HandOver play_file(const std::string& dir, const std::string& song) override {
    HandOver handed = PlayerChoice::play_file(dir, song);
    if (handed.result == HandOver::Result::kStarted) events.push_back(get_file_name(song));
    return handed;
  }
  std::string socket_path() { return mpv_.socket_path(); }
  std::vector<std::string> events;

 private:
  MpvLink& mpv_;
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
      write_wav(temp.file(name), 2);
      songlist.add_cells({"", dir, name, std::to_string('z' - name[0])});
    }
    recompute_songlist(songlist);
    cycle.score_first = [this] { return scoring.run_waiting(); };
  }
  ~PlayCycleMpvTest() override {
    for (pid_t pid : players_on(mpv.socket_path())) kill(pid, SIGKILL);
  }

  // Ticks until `done` holds or 30 s have passed, a quarter of the shell's
  // interval apart to keep it short: quicker ticks would count a player
  // that is slow for a moment as one that does not answer.
  template <class Done>
  bool tick_until(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
      cycle.tick();
      if (retry.enabled()) scoring.retry();
      std::this_thread::sleep_for(std::chrono::milliseconds(retry.enabled() ? 100 : 250));
    }
    return done();
  }
  bool cycle_ended() { return !timer.enabled(); }

  // Ticks until the cycle ends; the songs, each of which must have played
  // before the next came.
  std::vector<std::string> run_cycle() {
    EXPECT_TRUE(tick_until([&] { return cycle_ended(); })) << "the cycle did not end in time";
    std::vector<std::string> songs;
    for (std::size_t i = 0; i < mpv.events.size(); i += 2) {
      songs.push_back(mpv.events[i]);
      EXPECT_TRUE(i + 1 < mpv.events.size() && mpv.events[i + 1] == "playing") << ::testing::PrintToString(mpv.events);
    }
    return songs;
  }

  // A private folder for mpv's socket, in place before the link reads it.
  bool runtime_ready = use_runtime_dir(temp.file("run"));
  std::unique_ptr<MpvLink> real_mpv = make_mpv_link(AppFolders{temp.file("data")});
  WatchedMpv mpv{settings, *real_mpv};
  StillHourClock hour;
  PlayModes cycle{songlist, files, settings, mpv, desktop, hour, timer};
  FakeTimer retry;
  CurrentSongScoring scoring{songlist, files, settings, mpv, desktop, retry};
};

TEST_F(PlayCycleMpvTest, HostileAndMissingRowsArePassedOverAndWhatTheyNameIsUntouched) {
  // Played, this Directory would make mpv empty a file of the user's.
  const std::string victim = temp.file("victim.txt");
  write_bytes(victim, "precious");
  songlist.Clear();
  songlist.add_cells({"", dir, "gone-1.wav", "9"});
  songlist.add_cells({"", dir, "gone-2.wav", "8"});
  songlist.add_cells({"", "av://lavfi:anullsrc,ametadata=mode=print:file=" + dir, "victim.txt", "7"});
  songlist.add_cells({"", dir, "a.wav", "6"});
  recompute_songlist(songlist);

  songlist.SetRow(3);
  cycle.play_row(songlist.Row());
  EXPECT_EQ(desktop.messages.size(), 1u);
  cycle.start_cycle({PlayOrder::kCountup, Scope::kAll});
  EXPECT_EQ(run_cycle(), std::vector<std::string>{"a.wav"}) << "the first real song, then the end";
  mpv.events.clear();
  cycle.start_cycle({PlayOrder::kRandom, Scope::kAll});
  EXPECT_EQ(run_cycle(), std::vector<std::string>{"a.wav"});
  EXPECT_EQ(read_bytes(victim), "precious");
  // Random picks the order: the others may come before or after a.wav.
  ASSERT_GE(desktop.notes.size(), 2u) << ::testing::PrintToString(desktop.notes);
  EXPECT_EQ(desktop.notes[0], "Passed over 3 songs: 1 not a file on this computer, 2 missing.");
  EXPECT_TRUE(desktop.notes[1].starts_with("Passed over ")) << ::testing::PrintToString(desktop.notes);
}

TEST_F(PlayCycleMpvTest, AStoppedPlayerHoldsTheCycleAndAScoreAtASongsEndGoesToThatSong) {
  cycle.start_cycle({PlayOrder::kCountup, Scope::kAll});
  ASSERT_TRUE(tick_until([&] { return mpv.events.size() == 2; }));
  const pid_t player = players_on(mpv.socket_path()).front();
  ASSERT_EQ(kill(player, SIGSTOP), 0);
  for (int tick = 0; tick < 5; ++tick) cycle.tick();
  EXPECT_EQ(mpv.events.size(), 2u);
  EXPECT_EQ(cells(2, col::kMark, col::kFile) + cells(3, col::kMark, col::kFile), ",b.wav,c.wav");
  ASSERT_EQ(kill(player, SIGCONT), 0);

  // The click comes as a.wav ends, when mpv may be too busy to answer. No
  // tick hands on meanwhile, so mpv stays at a.wav: the test can wait long.
  ASSERT_TRUE(eventually(
      [&] {
        auto session = MpvSession::connect(mpv.socket_path(), std::chrono::seconds(2));
        if (!session) return false;
        auto replies = session->ask_all({{"get_property", "eof-reached"}, {"get_property", "time-remaining"}});
        return (replies[0].ok && replies[0].data == true) ||
               (replies[1].ok && replies[1].data.is_number() && replies[1].data.get<double>() < 0.1);
      },
      std::chrono::seconds(20)));
  scoring.increment_current_song();
  // Each song played to its end, in order; a Countup records no plays.
  EXPECT_EQ(run_cycle(), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(cells(3, col::kMark, col::kLastPlayed), "*,00:00 1/1/71");
  EXPECT_EQ(cells(1, col::kFile, col::kScore), "a.wav,26");
  EXPECT_NE(std::find(desktop.notes.begin(), desktop.notes.end(), "a \u2014 score 26"), desktop.notes.end());
}

// As a folder of songs mpv cannot play (empty files), or mpv without a
// working sound device, would have it.
TEST_F(PlayCycleMpvTest, SongsMpvCannotPlayAreNeverRecordedAndThreeInARowStopTheCycle) {
  songlist.Clear();
  for (const char* name : {"1.mp3", "2.mp3", "3.mp3", "4.mp3"}) {
    write_bytes(temp.file(name), "");
    songlist.add_cells({"", dir, name, "5", "", "", "10:00 12/5/26"});
  }
  recompute_songlist(songlist);
  cycle.play_row(1);
  ASSERT_TRUE(timer.enabled()) << "the direct play is followed";
  EXPECT_EQ(cells(1, col::kFile, col::kLastPlayed), "1.mp3,11:30 12/6/26");
  ASSERT_TRUE(tick_until([&] { return cycle_ended(); }));
  EXPECT_EQ(cells(1, col::kFile, col::kLastPlayed), "1.mp3,10:00 12/5/26");
  ASSERT_EQ(desktop.notes.size(), 1u);
  EXPECT_EQ(desktop.notes[0],
            "mpv did not play \"1.mp3\": unrecognized file format.  Its Last Played is back to 10:00 12/5/26.");

  cycle.start_cycle({PlayOrder::kRandom, Scope::kAll});
  mpv.events.clear();
  ASSERT_TRUE(tick_until([&] { return cycle_ended(); }));
  EXPECT_EQ(mpv.events.size(), 3u) << ::testing::PrintToString(mpv.events);
  for (int row = 1; row <= 4; ++row) EXPECT_EQ(songlist.TextMatrix(row, col::kLastPlayed), "10:00 12/5/26") << row;
  ASSERT_EQ(desktop.notes.size(), 3u) << ::testing::PrintToString(desktop.notes);
  // mpv may give up the second song before the first word is said.
  EXPECT_TRUE(desktop.notes[1].starts_with("Passed over ") &&
              desktop.notes[1].find(" did not play (mpv did not play \"") != std::string::npos)
      << desktop.notes[1];
  EXPECT_TRUE(desktop.notes[2].starts_with("The play cycle stopped: mpv did not play the last 3 songs it was handed, "))
      << desktop.notes[2];
  EXPECT_NE(desktop.notes[2].find(": unrecognized file format.  None of them was marked as played."), std::string::npos)
      << desktop.notes[2];
}

}  // namespace
}  // namespace jukora::testing
