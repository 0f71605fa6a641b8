// SPDX-License-Identifier: GPL-3.0-or-later
// MprisLink against Audacious (--headless, no OpenUri) and mpv with its MPRIS
// script, each test on a session bus of its own, with no audio device: the
// players, the songs and the cycle as the program drives it.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/settings_keys.h"
#include "player/command_line.h"
#include "player/detached_spawn.h"
#include "player/mpris/mpris_link.h"
#include "player/mpv/mpv_ipc.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/held_time.h"
#include "support/play_rig.h"
#include "support/saved_songlist.h"

// A namespace of their own: `eventually` here lets the link's replies in,
// and must hide the one of the fakes.
namespace jukora::testing::mpris {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Lets the link's replies and signals in until `done` holds or time is up.
inline bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = 8s) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

inline void pump(std::chrono::milliseconds time) {
  eventually([] { return false; }, time);
}

// An Increment, which must not hold the window up; a click that waits for
// the player is tried again as the program's retry timer does. What the user
// is told.
inline std::string click(PlayRig& rig, const FakeDesktop& desktop) {
  EXPECT_LT(held_by([&] { rig.scoring.increment_current_song(); }), 250ms);
  EXPECT_TRUE(eventually([&] {
    if (rig.retry.enabled()) rig.scoring.retry();
    pump(250ms);
    return !rig.retry.enabled();
  }));
  return desktop.notes.empty() ? std::string() : desktop.notes.back();
}

// Processes started from this test (players, and their helpers), found by a
// mark in their environment; the test's own process is left out.
inline std::vector<pid_t> our_processes(const std::string& tag) {
  std::vector<pid_t> found;
  const std::string mark = "JUKORA_TEST_TAG=" + tag + '\0';
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    pid_t pid = std::atoi(entry.path().filename().c_str());
    if (pid <= 0 || pid == getpid()) continue;
    if (read_bytes(entry.path() / "environ").find(mark) != std::string::npos &&
        read_bytes(entry.path() / "stat").find(") Z ") == std::string::npos)
      found.push_back(pid);
  }
  return found;
}

// Run for each player, named by the stem of its bus name.
class MprisLinkTest : public ::testing::TestWithParam<std::string>, protected SavedSonglist {
 protected:
  MprisLinkTest() {
    settings.SaveSetting(sections::kMain, keys::kLastSet, list);
    tag = std::to_string(getpid());
    setenv("JUKORA_TEST_TAG", tag.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(std::system(("bash " JUKORA_TEST_SUPPORT "/quiet_audacious.sh '" + home + "'").c_str()), 0);
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) write_wav(song(name));
    write_wav(song("long.wav"), 4);
    write_wav(song("other.wav"), 2);

    settings.SaveSetting(sections::kPlayer, keys::kPlayerKind, "mpris");
    settings.SaveSetting(sections::kPlayer, keys::kMprisBusName, GetParam());
    settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, command());
    link.on_change = [this] { ticks_due = ticks_due || rig.timer.enabled(); };
  }

  ~MprisLinkTest() override {
    for (pid_t pid : our_processes(tag)) kill(pid, SIGCONT);
    for (pid_t pid : our_processes(tag)) kill(pid, SIGKILL);
    eventually([&] { return our_processes(tag).empty(); }, 3s);
  }

  bool audacious() const { return GetParam() == "audacious"; }
  std::string command() const {
    return audacious() ? "audacious --headless" : "mpv --idle=yes --ao=null --input-ipc-server=" + by_hand;
  }
  std::string song(const std::string& name) const { return music + "/" + name; }

  // Jukora's view: the song it is at, when the player plays it.
  std::string playing_now() {
    CurrentSong current = link.current_song(dir);
    if (current.kind != CurrentSong::Kind::kSong) return {};
    return link.play_status() == PlayStatus::kPlaying ? current.path : std::string();
  }
  bool plays(const std::string& path) { return playing_now() == path; }

  // Until its bus name appears the player is busy, and is not started twice;
  // `running` processes of ours are left.
  void start_player(std::size_t running = 1) {
    link.start(dir);
    EXPECT_EQ(link.reach(), Reach::kBusy);
    link.start(dir);
    ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kRunning; })) << "the player did not come up";
    EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == running; }));
  }

  // The user, in the player: plays a file, or with `queue` puts one after the current.
  void user_plays(const std::string& path, bool queue = false) {
    if (audacious()) {
      spawn_detached("/usr/bin/audacious", queue ? std::vector<std::string>{"-e", path} : std::vector{path});
    } else {
      // The test's own word, with time to spare for a loaded machine.
      auto session = MpvSession::connect(by_hand, 10s);
      ASSERT_TRUE(session && session->ask({"loadfile", path, queue ? "append" : "replace"}).ok);
    }
  }

  // The player's own word on its track, asked directly.
  std::string url_on_bus() {
    QDBusMessage ask =
        QDBusMessage::createMethodCall(bus_name(), "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "Get");
    ask << "org.mpris.MediaPlayer2.Player"
        << "Metadata";
    QDBusMessage reply = QDBusConnection::sessionBus().call(ask, QDBus::Block, 1000);
    const QVariant metadata = reply.arguments().value(0).value<QDBusVariant>().variant();
    return qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>()).value("xesam:url").toString().toStdString();
  }
  QString bus_name() const { return QString::fromStdString("org.mpris.MediaPlayer2." + GetParam()); }

  // Rows for the songs, scored from the top down.
  void make_list(const std::vector<std::string>& names) {
    songlist.Clear();
    int score = static_cast<int>(names.size());
    for (const auto& name : names) songlist.add_cells({"", music, name, std::to_string(score--)});
    recompute_songlist(songlist);
    files.write_songlist();
  }

  using Seen = std::vector<std::pair<std::string, Clock::duration>>;
  // Drives the cycle as the program does (a tick a second, and one at once
  // when the player tells of a change) until it ends, or until `songs` were
  // seen; the songs in the order Jukora saw them play, each with how long it
  // was seen playing. `during` acts as the user between two turns.
  Seen run(const std::function<void(const Seen&)>& during = {}, std::size_t songs = 0) {
    Seen seen;
    auto last_tick = Clock::now() - 1s;
    auto since = Clock::now();
    eventually(
        [&] {
          if (ticks_due || Clock::now() - last_tick >= 1s) {
            ticks_due = false;
            last_tick = Clock::now();
            if (rig.timer.enabled()) rig.modes.tick();
          }
          const std::string now = get_file_name(playing_now());
          if (!now.empty() && (seen.empty() || seen.back().first != now)) {
            seen.emplace_back(now, Clock::duration{});
            since = Clock::now();
          } else if (!now.empty()) {
            seen.back().second = Clock::now() - since;
          }
          if (during) during(seen);
          return songs ? seen.size() == songs : !rig.timer.enabled();
        },
        30s);
    EXPECT_FALSE(rig.timer.enabled()) << "the cycle did not end";
    return seen;
  }
  static std::vector<std::string> names(const Seen& seen) {
    std::vector<std::string> out;
    for (const auto& [name, time] : seen) out.push_back(name);
    return out;
  }

  std::string tag;
  std::string dir = temp.path().string(), list = temp.file("list.jk8");
  std::string home = temp.file("home"), music = temp.file("music, vol 1"), by_hand = temp.file("by-hand.sock");
  std::string own_socket = temp.file("own.sock");
  std::unique_ptr<MprisLink> mpris = make_mpris_link(
      settings, folders, [this](long pid) { return process_has_argument(pid, "--input-ipc-server=" + own_socket); });
  MprisLink& link = *mpris;
  PlayRig rig{*this, link};
  bool ticks_due = false;
};

}  // namespace jukora::testing::mpris
