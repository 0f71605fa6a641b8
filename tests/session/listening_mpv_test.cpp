// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening, through the real mpv: 20-second songs,
// seeks to each side of the rule's boundaries, then Jukora's Skip, a pause,
// a stop or the song's own end, with the looks driven by the test.
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "scoring/current_song_scoring.h"
#include "session/listening_watch.h"
#include "support/player_fixture.h"
#include "support/players_posix.h"

namespace jukora::testing {
namespace {

using std::chrono::milliseconds;

class ListeningMpvTest : public PlayerFixture {
 protected:
  ListeningMpvTest() {
    EXPECT_TRUE(runtime_ready);
    write_bytes(temp.file("mpv"), "#!/bin/sh\nexec /usr/bin/mpv --ao=null --vo=null \"$@\"\n");
    chmod(temp.file("mpv").c_str(), 0755);
    write_wav(temp.file("song.wav"), 20);
    songlist.add_cells({"", dir, "song.wav", "4"});
    recompute_songlist(songlist);
    files.tell_scores_to(events);
    save_listen_scores(settings, true);
  }
  ~ListeningMpvTest() override {
    for (pid_t pid : players_on(mpv->socket_path())) kill(pid, SIGKILL);
  }

  std::vector<MpvReply> ask(const std::vector<std::vector<std::string>>& commands) {
    auto session = MpvSession::connect(mpv->socket_path(), milliseconds(2000));
    return session ? session->ask_all(commands) : std::vector<MpvReply>(commands.size());
  }
  // The song plays from `seconds` on, seen there by a look.
  void play_from(double seconds) {
    ASSERT_EQ(mpv->play_file(dir, temp.file("song.wav")).result, HandOver::Result::kStarted);
    ASSERT_TRUE(eventually([&] { return mpv->play_position().status == PlayStatus::kPlaying; }));
    // A seek sent while mpv still loads the file is dropped: sent again until it lands.
    ASSERT_TRUE(eventually([&] {
      const PlayPosition at = mpv->play_position();
      const milliseconds target(static_cast<int>(seconds * 1000));
      if (at.position && *at.position >= target && *at.position < target + milliseconds(900)) return true;
      ask({{"seek", std::to_string(seconds), "absolute"}});
      return false;
    }));
    watch.look();
  }
  // Looks until the play has ended and been judged.
  void looks_until_stopped() {
    ASSERT_TRUE(eventually(
        [&] {
          watch.look();
          return mpv->play_position().status == PlayStatus::kStopped;
        },
        std::chrono::seconds(15)));
    watch.look();
  }
  std::string score() const { return std::string(songlist.TextMatrix(1, col::kScore)); }

  bool runtime_ready = use_runtime_dir(temp.file("run"));
  std::unique_ptr<MpvLink> mpv = make_mpv_link(AppFolders{temp.file("data")});
  FakeTimer retry;
  FakeEventLoop loop;
  SongEvents events;
  CurrentSongScoring scoring{songlist, files, settings, *mpv, desktop, retry};
  ListeningWatch watch{songlist, files, settings, desktop, *mpv, scoring, events, loop};
};

TEST_F(ListeningMpvTest, SeeksToEachBoundaryThenSkipPauseStopOrTheEnd) {
  enum class Then { kSkip, kPause, kStop, kEnd };
  const struct {
    double seek;
    Then then;
    const char* score;
  } cases[] = {
      {3, Then::kSkip, "4"},                            // within the grace
      {6, Then::kSkip, "3"},                            // after it, before the half
      {9, Then::kSkip, "3"},   {11, Then::kSkip, "4"},  // each side of the half
      {6, Then::kPause, "4"},  {6, Then::kStop, "4"},   // not left
      {16, Then::kSkip, "4"},                           // after the half, before the end
      {18.5, Then::kEnd, "5"},                          // the last 2 s, played out
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.seek));
    songlist.SetTextMatrix(1, col::kScore, "4");
    play_from(c.seek);
    switch (c.then) {
      case Then::kSkip:
        watch.skipping();
        mpv->stop();
        break;
      case Then::kPause:
        ask({{"set", "pause", "yes"}});
        ASSERT_TRUE(eventually([&] { return mpv->play_position().status == PlayStatus::kPaused; }));
        watch.look();
        mpv->stop();
        break;
      case Then::kStop:
        mpv->stop();
        break;
      case Then::kEnd:
        break;
    }
    looks_until_stopped();
    EXPECT_EQ(score(), c.score);
  }
  EXPECT_EQ(files.undo_label(), "listening score of song.wav");
}

}  // namespace
}  // namespace jukora::testing
