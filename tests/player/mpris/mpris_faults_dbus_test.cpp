// SPDX-License-Identifier: GPL-3.0-or-later
// Faults, tried on one player: killed, stopped with SIGSTOP, reachable only
// through a command that would start a second one; the program's own mpv
// left out; no session bus at all.
#include "player/mpris/mpris_fixture.h"

namespace jukora::testing::mpris {
namespace {

class MprisAudaciousTest : public MprisLinkTest {};

TEST_P(MprisAudaciousTest, APlayerKilledMidCycleIsStartedAgain) {
  make_list({"other.wav", "a.wav", "b.wav"});
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  bool killed = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (killed || so_far.empty()) return;
    killed = true;
    for (pid_t pid : our_processes(tag)) kill(pid, SIGKILL);
    ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kNotRunning; }));
    // Gone while a score change is made: the songlist stays as it was.
    const std::string before = read_bytes(list);
    rig.scoring.increment_current_song();
    EXPECT_EQ(read_bytes(list), before);
    EXPECT_EQ(desktop.messages, std::vector<std::string>{link.texts().not_running});
  });
  EXPECT_EQ(names(seen), (std::vector<std::string>{"other.wav", "a.wav", "b.wav"}));
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; }));
}

TEST_P(MprisAudaciousTest, AStoppedPlayerIsBusyNeverGoneAndNeverStartedTwice) {
  make_list({"a.wav"});
  start_player();
  link.play_file(dir, song("long.wav"));
  ASSERT_TRUE(eventually([&] { return plays(song("long.wav")); }));
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  for (pid_t pid : our_processes(tag)) kill(pid, SIGSTOP);

  bool busy = false;
  const auto until = Clock::now() + 3500ms;
  while (Clock::now() < until) {
    Reach found{};
    PlayStatus status{};
    CurrentSong current;
    EXPECT_LT(held_by([&] {
                rig.modes.tick();
                found = link.reach();
                status = link.play_status();
                current = link.current_song(dir);
              }),
              250ms);
    EXPECT_NE(found, Reach::kNotRunning);
    if (busy) {
      EXPECT_EQ(status, PlayStatus::kBusy);
    }
    busy = busy || (status == PlayStatus::kBusy && current.kind == CurrentSong::Kind::kBusy);
    pump(100ms);
  }
  EXPECT_TRUE(busy);
  EXPECT_EQ(our_processes(tag).size(), 1u);
  EXPECT_EQ(songlist.TextMatrix(1, col::kMark), "") << "a song was handed to a player that did not answer";

  for (pid_t pid : our_processes(tag)) kill(pid, SIGCONT);
  EXPECT_TRUE(eventually([&] { return link.reach() == Reach::kRunning && link.play_status() != PlayStatus::kBusy; }));
}

TEST_P(MprisAudaciousTest, ACommandThatWouldStartASecondPlayerIsNeverUsed) {
  // A command Jukora does not know to hand files to the running copy, for a
  // player without OpenUri: songs and playlists are refused, with reasons.
  settings.SaveSetting(sections::kPlayer, keys::kMprisIdentity, "Audacious");
  settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, "no-such-player --x");
  EXPECT_EQ(link.missing_program(dir),
            "The command that starts Audacious, \"no-such-player\", is not found on PATH.  Check the command in "
            "Preferences.");
  settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, "'open");
  EXPECT_NE(link.missing_program(dir), "");

  const std::string wrapper = temp.file("my player");
  write_bytes(wrapper, "#!/bin/sh\nexec /usr/bin/audacious --headless \"$@\"\n");
  chmod(wrapper.c_str(), 0755);
  settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, "'" + wrapper + "'");
  EXPECT_EQ(link.missing_program(dir), "");
  start_player();
  const HandOver song_given = link.play_file(dir, song("a.wav"));
  EXPECT_EQ(song_given.result, HandOver::Result::kRefused);
  EXPECT_NE(song_given.reason.find("Audacious"), std::string::npos);
  make_list({"a.wav"});
  rig.modes.export_playlist(Scope::kAll, false);
  ASSERT_FALSE(desktop.notes.empty());
  EXPECT_NE(desktop.notes.back().find("cannot be handed a playlist"), std::string::npos);
  pump(1s);
  EXPECT_EQ(our_processes(tag).size(), 1u);
}

class MprisMpvTest : public MprisLinkTest {};

TEST_P(MprisMpvTest, TheProgramsOwnMpvIsLeftOut) {
  spawn_detached("/usr/bin/mpv", {"--idle=yes", "--ao=null", "--input-ipc-server=" + own_socket});
  ASSERT_TRUE(eventually([&] { return QDBusConnection::sessionBus().interface()->isServiceRegistered(bus_name()); }));
  auto players = [&] {
    std::optional<std::vector<MprisPlayer>> listed;
    link.list_players([&](std::vector<MprisPlayer> found) { listed = std::move(found); });
    EXPECT_TRUE(eventually([&] { return listed.has_value(); }));
    return listed.value_or(std::vector<MprisPlayer>{});
  };
  EXPECT_TRUE(players().empty());
  EXPECT_TRUE(eventually([&] { return link.reach() == Reach::kNotRunning; }));

  start_player(2);
  const auto listed = players();
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].name, "mpv");
  EXPECT_EQ(listed[0].identity, "mpv");
  link.play_file(dir, song("long.wav"));
  EXPECT_TRUE(eventually([&] { return plays(song("long.wav")); }));
  EXPECT_TRUE(MpvSession::connect(own_socket)->ask({"get_property", "idle-active"}).data.get<bool>());
}

const auto kByStem = [](const auto& info) { return info.param; };
INSTANTIATE_TEST_SUITE_P(Players, MprisAudaciousTest, ::testing::Values("audacious"), kByStem);
INSTANTIATE_TEST_SUITE_P(Players, MprisMpvTest, ::testing::Values("mpv"), kByStem);

// Run with no session bus at all (its own CTest entry).
TEST(NoSessionBus, TheLinkSaysWhyAndAsksNothing) {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "needs a process without a session bus";
  SavedSonglist saved;
  saved.settings.SaveSetting(sections::kPlayer, keys::kMprisBusName, "audacious");
  saved.settings.SaveSetting(sections::kPlayer, keys::kMprisIdentity, "Audacious");
  const auto mpris = make_mpris_link(saved.settings, saved.folders, {});
  MprisLink& link = *mpris;
  EXPECT_NE(link.unavailable(), "");
  EXPECT_EQ(link.reach(), Reach::kNotRunning);
  EXPECT_EQ(link.missing_program(""), no_session_bus_text("Audacious"));
  EXPECT_EQ(link.current_song("").message, no_session_bus_text("Audacious"));
  EXPECT_EQ(link.play_file("", "/a.wav").result, HandOver::Result::kRefused);
  std::optional<std::vector<MprisPlayer>> listed;
  link.list_players([&](std::vector<MprisPlayer> found) { listed = std::move(found); });
  EXPECT_TRUE(eventually([&] { return listed.has_value(); }));
  EXPECT_TRUE(listed->empty());
}

}  // namespace
}  // namespace jukora::testing::mpris

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
