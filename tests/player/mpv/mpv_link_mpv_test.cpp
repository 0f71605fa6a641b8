// SPDX-License-Identifier: GPL-3.0-or-later
// MpvLink against a real mpv playing short generated WAV files, with no
// audio device: the "Winamp directory" holds a wrapper named mpv that adds
// --ao=null --vo=null.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "support/held_time.h"
#include "support/players_posix.h"

namespace jukora {
namespace {

using namespace std::chrono_literals;
using testing::eventually;
using testing::held_by;
using testing::players_on;
using testing::read_bytes;
using testing::TempDir;
using testing::write_bytes;
using testing::write_wav;

class MpvLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::use_runtime_dir(temp.file("run")));
    winamp_dir = temp.file("player dir, here");
    std::filesystem::create_directory(winamp_dir);
    write_wrapper();

    music = temp.file("music, vol 1");
    for (const char* name : {"a.wav", "b.wav"}) write_wav(music + "/" + name);

    link = make_mpv_link(AppFolders{temp.file("data")});
  }

  // A player may still be coming up, deaf to a quit.
  void TearDown() override {
    for (pid_t pid : players_on(link->socket_path())) kill(pid, SIGKILL);
  }

  // True once no player is left on the socket.
  bool players_quit() {
    tell_mpv({"quit"});
    return eventually([&] { return players_on(link->socket_path()).empty(); }, 3s);
  }

  // The test's own word to mpv, with time to spare for a loaded machine.
  MpvReply tell_mpv(const std::vector<std::string>& command) {
    auto session = MpvSession::connect(link->socket_path(), 10s);
    return session ? session->ask(command) : MpvReply{};
  }

  // `options` stand for settings of the user's own mpv configuration.
  void write_wrapper(const std::string& options = "") {
    write_bytes(winamp_dir + "/mpv", "#!/bin/sh\nexec /usr/bin/mpv --ao=null --vo=null " + options + " \"$@\"\n");
    chmod((winamp_dir + "/mpv").c_str(), 0755);
  }

  std::string song(const std::string& name) const { return music + "/" + name; }

  // The link's first answers that are not busy: on a loaded machine mpv may
  // not answer in time for a while, and the link says busy until it does.
  PlayStatus status() {
    PlayStatus now = PlayStatus::kBusy;
    eventually([&] { return (now = link->play_status()) != PlayStatus::kBusy; });
    return now;
  }
  CurrentSong at() {
    CurrentSong now = CurrentSong::busy();
    eventually([&] { return (now = link->current_song(winamp_dir)).kind != CurrentSong::Kind::kBusy; });
    return now;
  }
  std::string scored() { return at().path; }

  bool status_becomes(PlayStatus status) {
    return eventually([&] { return link->play_status() == status; });
  }

  // Handed over as the play cycle does: a busy mpv gets it on a later tick.
  bool hands_over(const std::string& path) {
    return eventually([&] { return link->play_file(winamp_dir, path).result == HandOver::Result::kStarted; });
  }
  // What became of the song handed over last, once the link can tell.
  Arrival arrival() {
    Arrival arrival;
    eventually([&] { return (arrival = link->arrival()).state != Arrival::State::kAwaited; });
    return arrival;
  }

  TempDir temp;
  std::string winamp_dir, music;
  std::unique_ptr<MpvLink> link;
};

TEST_F(MpvLinkTest, FollowsASongThroughPauseStopAndEnd) {
  // Long enough not to end while it is paused and stopped.
  write_wav(song("long.wav"), 5);
  ASSERT_TRUE(hands_over(song("long.wav")));
  ASSERT_TRUE(status_becomes(PlayStatus::kPlaying));
  ASSERT_TRUE(tell_mpv({"set", "pause", "yes"}).ok);
  EXPECT_EQ(status(), PlayStatus::kPaused);
  ASSERT_TRUE(tell_mpv({"set", "pause", "no"}).ok);
  EXPECT_EQ(status(), PlayStatus::kPlaying);
  // As the program stops it: once it answers.
  ASSERT_TRUE(eventually([&] { return link->reach() == Reach::kRunning; }));
  link->stop();
  EXPECT_EQ(status(), PlayStatus::kStopped);
  EXPECT_EQ(at().kind, CurrentSong::Kind::kNoSong) << "stopped, mpv is at no song";

  // The running player takes the next song. Seen played, not seen playing:
  // a one-second song may end while a slow mpv is busy.
  ASSERT_TRUE(hands_over(song("a.wav")));
  EXPECT_EQ(arrival().state, Arrival::State::kPlays);
  ASSERT_TRUE(status_becomes(PlayStatus::kStopped)) << "the song ends by itself";
  EXPECT_EQ(scored(), song("a.wav")) << "the ended song can still be scored";

  // The end left mpv paused; the next song plays all the same.
  ASSERT_TRUE(hands_over(song("b.wav")));
  EXPECT_EQ(arrival().state, Arrival::State::kPlays);
  EXPECT_EQ(players_on(link->socket_path()).size(), 1u);
}

TEST_F(MpvLinkTest, ASongPlaysOnceMpvIsSeenPlayingItAndOneItGivesUpIsMissedWithItsWords) {
  write_bytes(song("empty.mp3"), "");
  write_wav(song("two\nlines.wav"));
  // To an mpv started with it, and to the running one.
  for (int twice = 0; twice < 2; ++twice) {
    ASSERT_TRUE(hands_over(song("empty.mp3")));
    const Arrival missed = arrival();
    EXPECT_EQ(missed.state, Arrival::State::kMissed);
    EXPECT_EQ(missed.reason, "mpv did not play \"empty.mp3\": unrecognized file format.");
    EXPECT_FALSE(missed.any_song);
  }
  EXPECT_EQ(at().kind, CurrentSong::Kind::kNoSong);

  // A name holding a line break is the song's own.
  ASSERT_TRUE(hands_over(song("two\nlines.wav")));
  EXPECT_EQ(arrival().state, Arrival::State::kPlays);
  EXPECT_EQ(scored(), song("two\nlines.wav"));
  EXPECT_EQ(players_on(link->socket_path()).size(), 1u);
}

TEST_F(MpvLinkTest, AnEndTheUsersSettingsLeaveUnpausedIsStillAnEnd) {
  write_wrapper("--keep-open-pause=no");
  ASSERT_TRUE(hands_over(song("a.wav")));
  EXPECT_EQ(arrival().state, Arrival::State::kPlays);
  ASSERT_TRUE(status_becomes(PlayStatus::kStopped)) << "a play cycle would wait for this song for good";
  EXPECT_EQ(scored(), song("a.wav"));
}

TEST_F(MpvLinkTest, PlaysAPlaylistOfAwkwardNames) {
  const std::vector<std::string> names = {"with space, and comma.wav", "double\"quote.wav", "caf\xE9 latin-1.wav"};
  std::string lines;
  for (const auto& name : names) {
    write_wav(song(name));
    lines += song(name) + "\r\n";
  }
  // As the playlist export writes it: no header, CR LF after every line.
  std::filesystem::create_directories(temp.file("data"));
  write_bytes(link->playlist_path(winamp_dir), lines);

  // As the export does when no player runs: a bare start, then the list.
  link->start(winamp_dir);
  EXPECT_EQ(link->play_playlist(winamp_dir).result, HandOver::Result::kStarted);
  ASSERT_TRUE(eventually([&] { return scored() == song(names[2]); }));
  ASSERT_TRUE(status_becomes(PlayStatus::kStopped));
  EXPECT_EQ(scored(), song(names[2])) << "the list ends at its last song";

  ASSERT_TRUE(hands_over(song(names[1])));
  EXPECT_EQ(arrival().state, Arrival::State::kPlays);
  EXPECT_EQ(scored(), song(names[1]));
  EXPECT_EQ(players_on(link->socket_path()).size(), 1u);
}

TEST_F(MpvLinkTest, AStaleSocketIsGoneAndAPlayerComingUpIsBusyButNeverDoubled) {
  // mpv leaves its socket file behind when it quits.
  std::string path = link->socket_path();
  ASSERT_EQ(path.rfind(temp.file("run"), 0), 0u);
  int fd = testing::unix_socket_at(path, -1);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_EQ(link->reach(), Reach::kNotRunning);

  link->start(winamp_dir);
  EXPECT_NE(link->reach(), Reach::kNotRunning) << "a player just started is busy, not gone";
  link->start(winamp_dir);
  Reach player = Reach::kBusy;
  ASSERT_TRUE(eventually([&] { return (player = link->reach()) != Reach::kBusy; }));
  ASSERT_EQ(player, Reach::kRunning);
  EXPECT_EQ(status(), PlayStatus::kStopped);
  EXPECT_EQ(at().kind, CurrentSong::Kind::kNoSong);
  EXPECT_EQ(players_on(path).size(), 1u);
  struct stat folder {};
  ASSERT_EQ(stat(std::filesystem::path(path).parent_path().c_str(), &folder), 0);
  EXPECT_EQ(folder.st_mode & 0777, 0700u);

  // A sweep of old files takes the folder away while the program runs: the
  // next player must still be reachable, or every start would add one.
  ASSERT_TRUE(players_quit());
  std::filesystem::remove_all(std::filesystem::path(path).parent_path());
  link->play_file(winamp_dir, song("a.wav"));
  EXPECT_NE(link->reach(), Reach::kNotRunning);
  EXPECT_EQ(link->socket_path(), path);
}

TEST_F(MpvLinkTest, AStoppedPlayerIsBusyAtOnceNeverReplacedAndPlaysOnWhenContinued) {
  write_wav(song("long.wav"), 5);
  ASSERT_TRUE(hands_over(song("long.wav")));
  ASSERT_TRUE(status_becomes(PlayStatus::kPlaying));
  const std::string socket = link->socket_path();
  ASSERT_EQ(players_on(socket).size(), 1u);
  const pid_t player = players_on(socket).front();
  EXPECT_NE(read_bytes("/proc/" + std::to_string(player) + "/cmdline").find("--load-unsafe-playlists=no"),
            std::string::npos);
  ASSERT_EQ(kill(player, SIGSTOP), 0);

  // Ticks for longer than the quiet time after a request ran out, with the
  // socket's backlog filled up on the way.
  std::vector<int> queued;
  bool backlog_full = false;
  const auto until = std::chrono::steady_clock::now() + 1500ms;
  while (std::chrono::steady_clock::now() < until) {
    const auto held = held_by([&] {
      EXPECT_NE(link->reach(), Reach::kNotRunning);
      EXPECT_EQ(link->play_status(), PlayStatus::kBusy);
      EXPECT_EQ(link->current_song(winamp_dir).kind, CurrentSong::Kind::kBusy);
      EXPECT_EQ(link->play_file(winamp_dir, song("a.wav")).result, HandOver::Result::kBusy);
    });
    EXPECT_LT(held, 500ms) << "the window would freeze";
    for (int more = 0; more < 8; ++more) {
      int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      if (testing::connect_unix(fd, socket)) {
        queued.push_back(fd);
      } else {
        close(fd);
        backlog_full = true;
      }
    }
    std::this_thread::sleep_for(100ms);
  }
  EXPECT_TRUE(backlog_full);
  EXPECT_EQ(players_on(socket), std::vector<pid_t>{player}) << "a second player was started";
  ASSERT_EQ(kill(player, SIGCONT), 0);
  for (int fd : queued) close(fd);
  ASSERT_TRUE(status_becomes(PlayStatus::kPlaying));
  EXPECT_EQ(scored(), song("long.wav"));
}

}  // namespace
}  // namespace jukora
