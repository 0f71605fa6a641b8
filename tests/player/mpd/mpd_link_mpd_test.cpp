// SPDX-License-Identifier: GPL-3.0-or-later
// MpdLink against a real MPD: songs read and scored, songs handed over as
// MPD really takes them, modes switched off and put back, and every way MPD
// can be gone or busy.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <tuple>

#include "player/mpd/mpd_address.h"
#include "player/mpd/mpd_fixture.h"

namespace jukora::testing {
namespace {

using Kind = CurrentSong::Kind;
using Result = HandOver::Result;

class MpdLinkTest : public MpdFixture {};

TEST_F(MpdLinkTest, ThePlayingSongIsReadAndScored) {
  const std::string outside = temp.file("outside/x y.wav");
  write_wav(outside);
  const std::string unicode = song("Sub Dir/Ünïcødé song.wav");
  list({song("a.wav"), outside, unicode});
  // The song another client adds, over TCP or not, the music folder setting
  // (empty: left to MPD), the row whose score rises (empty: none) and part of
  // what the user is told.
  const std::tuple<std::string, bool, std::string, std::string, std::string> cases[] = {
      {"a.wav", false, "", song("a.wav"), ""},
      {outside, false, "", outside, ""},
      {"Sub Dir/Ünïcødé song.wav", false, "", unicode, ""},
      {"a.wav", true, server.music(), song("a.wav"), ""},
      // Over TCP MPD does not say where its music lives.
      {"a.wav", true, "", "", "set that folder in Preferences"},
      {"http://127.0.0.1:1/stream", false, "", "", ""},
  };
  for (const auto& [added, tcp, music_folder, scored, message] : cases) {
    SCOPED_TRACE(added + (tcp ? " over TCP" : " over the socket"));
    server.reset();
    ASSERT_EQ(server.command("add \"" + added + "\""), "OK\n");
    server.command("play 0");
    tcp ? use_tcp(music_folder) : use_socket();
    const std::string before = scored.empty() ? "" : score_of(scored);
    ASSERT_TRUE(eventually([&] { return mpd.current_song("").kind != Kind::kBusy; }));
    desktop.messages.clear();
    rig.scoring.increment_current_song();
    if (!scored.empty()) {
      EXPECT_EQ(std::stoi(score_of(scored)), std::stoi(before) + 1);
    }
    if (message.empty()) {
      EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front();
    } else {
      ASSERT_EQ(desktop.messages.size(), 1u);
      EXPECT_NE(desktop.messages[0].find(message), std::string::npos) << desktop.messages[0];
    }
  }
  // Ended or stopped, MPD plays nothing, though after a stop it still names
  // the song it would start at.
  server.reset();
  server.command("add \"b.wav\"");
  server.command("play 0");
  ASSERT_TRUE(eventually([&] { return state() == "stop"; }));
  EXPECT_EQ(mpd.current_song("").kind, Kind::kNoSong);
  server.command("play 0");
  ASSERT_TRUE(eventually([&] { return state() == "play"; }));
  mpd.stop();
  EXPECT_EQ(playing(), "b.wav");
  EXPECT_EQ(mpd.current_song("").kind, Kind::kNoSong);
}

TEST_F(MpdLinkTest, SongsAreHandedOverAsMpdTakesThem) {
  const std::string outside = temp.file("outside/x.wav");
  write_wav(outside);
  const std::string added_since = song("new/added since.wav");
  // The song, over TCP or not, and what MPD then plays or part of the reason for a refusal.
  const std::tuple<std::string, bool, Result, std::string> cases[] = {
      {song("a.wav"), false, Result::kStarted, "a.wav"},
      {song("Sub Dir/Ünïcødé song.wav"), false, Result::kStarted, "Sub Dir/Ünïcødé song.wav"},
      {outside, false, Result::kStarted, outside},
      {song("b.wav"), true, Result::kStarted, "b.wav"},
      {outside, true, Result::kRefused, "lies outside MPD's music folder"},
      // Not yet in MPD's database: MPD is asked to update that path.
      {added_since, false, Result::kStarted, "new/added since.wav"},
      {song("missing.wav"), false, Result::kRefused, "is not in MPD's database"},
      {song("a\nkill.wav"), false, Result::kRefused, "line break"},
      {"https://example.com/a.wav", false, Result::kRefused, "is not a file on this computer"},
  };
  for (const auto& [path, tcp, result, as] : cases) {
    SCOPED_TRACE(path + (tcp ? " over TCP" : " over the socket"));
    server.reset();
    server.command("command_list_begin\nadd \"c.wav\"\nadd \"c.wav\"\ncommand_list_end");
    tcp ? use_tcp(server.music()) : use_socket();
    if (path == added_since) write_wav(added_since);
    // Busy (MPD still updating its database, or slow) means: again later.
    HandOver handed;
    ASSERT_TRUE(eventually([&] {
      handed = mpd.play_file("", path);
      return handed.result != Result::kBusy;
    }));
    ASSERT_EQ(handed.result, result) << handed.reason;
    if (result == Result::kStarted) {
      // The song replaced the queue and plays.
      EXPECT_EQ(playing(), as);
      EXPECT_EQ(server.value("status", "playlistlength"), "1");
      EXPECT_EQ(state(), "play");
      Arrival arrival;
      ASSERT_TRUE(eventually([&] { return (arrival = mpd.arrival()).state != Arrival::State::kAwaited; }));
      EXPECT_EQ(arrival.state, Arrival::State::kPlays) << arrival.reason;
    } else {
      EXPECT_NE(handed.reason.find(as), std::string::npos) << handed.reason;
      // A refused song leaves MPD's queue as it was.
      EXPECT_EQ(server.value("status", "playlistlength"), "2");
    }
  }
  // A file MPD takes and cannot decode did not play, in MPD's words.
  const std::string odd = temp.file("outside/odd.wav");
  std::string bytes = read_bytes(outside);
  bytes[20] = 0x34;  // 0x1234: a codec nobody knows
  bytes[21] = 0x12;
  write_bytes(odd, bytes);
  use_socket();
  HandOver odd_handed;
  ASSERT_TRUE(eventually([&] { return (odd_handed = mpd.play_file("", odd)).result != Result::kBusy; }));
  if (odd_handed.result == Result::kRefused) {
    // MPD may give up on the file before the hand-over has its answer.
    EXPECT_EQ(odd_handed.reason, "MPD did not take \"" + odd + "\": Failed to decode " + odd + ".");
  } else {
    ASSERT_EQ(odd_handed.result, Result::kStarted) << odd_handed.reason;
    Arrival arrival;
    ASSERT_TRUE(eventually([&] { return (arrival = mpd.arrival()).state != Arrival::State::kAwaited; }));
    EXPECT_EQ(arrival.state, Arrival::State::kMissed);
    EXPECT_EQ(arrival.reason, "MPD did not play \"odd.wav\": Failed to decode " + odd + ".");
  }

  // Direct play goes the same way.
  list({song("b.wav")});
  songlist.SetRow(1);
  rig.modes.play_row(songlist.Row());
  EXPECT_EQ(playing(), "b.wav");
}

TEST_F(MpdLinkTest, EachModeIsTurnedOffForACycleAndPutBackAtStop) {
  list({song("a.wav")});
  for (std::string mode : {"repeat", "random", "single", "consume"}) {
    SCOPED_TRACE(mode);
    server.reset();
    server.command(mode + " 1");
    rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
    ASSERT_TRUE(eventually([&] {
      rig.modes.tick();
      return state() == "play";
    }));
    EXPECT_EQ(server.value("status", mode), "0");
    rig.modes.stop_player();
    EXPECT_TRUE(modes_come_back([&] { return server.value("status", mode) == "1"; }));
    EXPECT_EQ(state(), "stop");
  }
}

TEST_F(MpdLinkTest, AnExportReplacesTheQueueInOrderAndKeepsTheModesOffUntilStop) {
  // Long enough that a worker adds the tail; outside the music folder MPD
  // takes each song slowly.
  std::vector<std::string> songs = {song("a.wav"), song("b.wav"), song("c.wav")};
  std::string expected;
  for (int i = 0; i < 40; ++i) songs.push_back(temp.file("outside/" + std::to_string(100 + i) + ".wav"));
  for (std::size_t i = 0; i < songs.size(); ++i) {
    if (i >= 3) write_wav(songs[i]);
    expected += std::to_string(i) + ":file: " + (i < 3 ? get_file_name(songs[i]) : songs[i]) + "\n";
  }
  list(songs);
  server.command("command_list_begin\nadd \"c.wav\"\nrepeat 1\nrandom 1\nsingle oneshot\nconsume 1\ncommand_list_end");
  // Exported again after a busy MPD, the modes it holds stay the first ones.
  EXPECT_TRUE(exported("a.wav"));
  EXPECT_TRUE(eventually([&] { return server.command("playlist") == expected + "OK\n"; }));
  EXPECT_EQ(server.value("status", "random") + server.value("status", "consume"), "00");
  rig.modes.stop_player();
  EXPECT_TRUE(modes_come_back(
      [&] { return server.command("status").starts_with("repeat: 1\nrandom: 1\nsingle: oneshot\nconsume: 1\n"); }));

  // A song handed over while the tail is still being added is the whole queue.
  rig.modes.export_playlist(Scope::kAll, false);
  // A loaded machine may find the server busy within the hand-over's deadline.
  HandOver::Result handed = HandOver::Result::kBusy;
  EXPECT_TRUE(
      eventually([&] { return (handed = mpd.play_file("", song("b.wav")).result) != HandOver::Result::kBusy; }));
  EXPECT_EQ(handed, HandOver::Result::kStarted);
  EXPECT_FALSE(
      eventually([&] { return server.value("status", "playlistlength") != "1"; }, std::chrono::milliseconds(500)));
}

TEST_F(MpdLinkTest, AnMpdThatIsNotThereEndsTheCycleNamingItsAddress) {
  const std::string not_socket = temp.file("plain file");
  write_bytes(not_socket, "");
  // Host, password, and why it cannot be reached.
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {temp.file("no socket"), kMpdPassword, "nothing answers there"},
      {not_socket, kMpdPassword, "that is not a socket"},
      {"no-such-host.invalid", kMpdPassword, "the name \"no-such-host.invalid\" is not known"},
      {server.socket(), "wrong", "it refused the password"},
  };
  list({song("a.wav")});
  for (const auto& [host, password, why] : cases) {
    SCOPED_TRACE(host);
    use(host, "", password);
    desktop.messages.clear();
    desktop.preferences_shown = 0;
    const std::string address = MpdAddress{host, server.port(), {}}.describe();
    const std::string expected = "MPD at " + address + " cannot be reached: " + why;

    rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
    ASSERT_TRUE(eventually([&] {
      bounded([&] { return (rig.modes.tick(), 0); });
      return !rig.timer.enabled();
    }));
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].find(expected), 0u) << desktop.messages[0];
    EXPECT_EQ(desktop.preferences_shown, 1);

    // A score click is a command of its own, told the same way.
    rig.scoring.increment_current_song();
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].find(expected), 0u) << desktop.messages[1];
  }
  // Nothing listens on a port either.
  use("127.0.0.1", "");
  settings.SaveSetting(sections::kPlayer, keys::kMpdPort, "1");
  EXPECT_NE(mpd.missing_program("").find("MPD at 127.0.0.1:1 cannot be reached"), std::string::npos);
}

TEST_F(MpdLinkTest, AServerThatAcceptsButNeverAnswersIsBusyWithinAQuarterSecond) {
  const std::string path = temp.file("silent");
  int listener = unix_socket_at(path, 16);
  ASSERT_GE(listener, 0);
  use(path, "");
  list({song("a.wav")});

  // Longer than the link's own patience with a connection: it tries anew.
  const auto until = Clock::now() + std::chrono::milliseconds(3500);
  while (Clock::now() < until) {
    EXPECT_EQ(bounded([&] { return mpd.missing_program(""); }), "");
    EXPECT_EQ(bounded([&] { return mpd.reach(); }), Reach::kBusy);
    EXPECT_EQ(bounded([&] { return mpd.current_song("").kind; }), Kind::kBusy);
    EXPECT_EQ(bounded([&] { return mpd.play_file("", song("a.wav")).result; }), Result::kBusy);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  close(listener);
}

TEST_F(MpdLinkTest, MpdAsAnotherUserRefusesFilesItMayNotRead) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to run MPD as another user";
  TempDir folder;
  std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
  MpdServer other(folder.file("mpd"), {{}, "nobody"});
  ASSERT_GT(other.pid(), 0);
  use(other.socket(), "", "");
  // The file's owner and mode, and why MPD refuses it (empty: it plays).
  const std::tuple<std::string, mode_t, std::string> cases[] = {
      // Ours and readable by everyone: MPD lets us hand it over and can read it.
      {"root", 0644, ""},
      // Ours, but MPD's user cannot open it.
      {"root", 0600, "MPD cannot read"},
      // Someone else's that not everyone may read: MPD will not let us.
      {"daemon", 0600, "Access denied"},
  };
  for (const auto& [user, mode, reason] : cases) {
    SCOPED_TRACE(user + " " + std::to_string(mode));
    const std::string file = folder.file(user + std::to_string(mode) + ".wav");
    write_wav(file);
    chmod(file.c_str(), mode);
    passwd* owner = getpwnam(user.c_str());
    ASSERT_TRUE(owner && chown(file.c_str(), owner->pw_uid, 0) == 0);
    HandOver handed = mpd.play_file("", file);
    if (reason.empty()) {
      EXPECT_EQ(handed.result, Result::kStarted) << handed.reason;
      EXPECT_EQ(other.value("currentsong", "file"), file);
    } else {
      EXPECT_EQ(handed.result, Result::kRefused);
      EXPECT_NE(handed.reason.find(reason), std::string::npos) << handed.reason;
    }
  }
}

}  // namespace
}  // namespace jukora::testing
