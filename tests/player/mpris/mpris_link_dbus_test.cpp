// SPDX-License-Identifier: GPL-3.0-or-later
// MprisLink against Audacious (--headless, no OpenUri) and mpv with its MPRIS
// script, each test on a session bus of its own, with no audio device.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
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
#include "playmodes/play_modes.h"
#include "scoring/current_song_scoring.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Lets the link's replies and signals in until `done` holds or time is up.
bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = 8s) {
  const auto deadline = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

void pump(std::chrono::milliseconds time) {
  eventually([] { return false; }, time);
}

// Processes started from this test (players, and their helpers), found by a
// mark in their environment; the test's own process is left out.
std::vector<pid_t> our_processes(const std::string& tag) {
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

// A web server for one song, so that a player can play a stream.
class SongServer {
 public:
  explicit SongServer(std::string body) : body_(std::move(body)) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
    listen(fd_, 4);
    getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] {
      while (int client = accept(fd_, nullptr, nullptr)) {
        if (client < 0) return;
        char request[4096];
        [[maybe_unused]] auto got = recv(client, request, sizeof request, 0);
        const std::string reply =
            "HTTP/1.0 200 OK\r\nContent-Type: audio/x-wav\r\nContent-Length: " + std::to_string(body_.size()) +
            "\r\n\r\n" + body_;
        [[maybe_unused]] auto sent = send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
        close(client);
      }
    });
  }
  ~SongServer() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  std::string url(const std::string& name) const { return "http://127.0.0.1:" + std::to_string(port_) + "/" + name; }

 private:
  std::string body_;
  int fd_ = -1;
  int port_ = 0;
  std::thread thread_;
};

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
    link.on_change = [this] { ticks_due = ticks_due || timer.enabled(); };
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
      ASSERT_TRUE(MpvSession::connect(by_hand)->ask({"loadfile", path, queue ? "append" : "replace"}).ok);
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
            if (timer.enabled()) modes.tmrJukora_Timer();
          }
          const std::string now = get_file_name(playing_now());
          if (!now.empty() && (seen.empty() || seen.back().first != now)) {
            seen.emplace_back(now, Clock::duration{});
            since = Clock::now();
          } else if (!now.empty()) {
            seen.back().second = Clock::now() - since;
          }
          if (during) during(seen);
          return songs ? seen.size() == songs : !timer.enabled();
        },
        30s);
    EXPECT_FALSE(timer.enabled()) << "the cycle did not end";
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
  MprisLink link{settings, folders,
                 [this](long pid) { return process_has_argument(pid, "--input-ipc-server=" + own_socket); }};
  FakeClock clock;
  FakePlayTimer timer;
  PlayModes modes{songlist, files, settings, link, desktop, clock, timer};
  FakePlayTimer retry;
  CurrentSongScoring scoring{songlist, files, settings, link, desktop, retry};
  bool ticks_due = false;
};

TEST_P(MprisLinkTest, ThePlayingSongIsReadAndScoredWhateverItsName) {
  const std::vector<std::string> odd = {"with space.wav",
                                        "hash #1.wav",
                                        "percent %41.wav",
                                        "\xc3\xbc"
                                        "ber \xc3\xb1.wav",
                                        "bad \xff byte.wav",
                                        "$(touch pwned).wav"};
  for (const auto& name : odd) write_wav(song(name), 3);
  write_wav(song("unlisted.wav"), 3);
  make_list(odd);
  start_player();

  // The file, whether + adds it, and its row afterwards (empty: the songlist file is unchanged).
  std::vector<std::tuple<std::string, bool, std::string>> cases;
  for (std::size_t i = 0; i < odd.size(); ++i)
    cases.push_back(
        {odd[i], false, "\"" + music + "\",\"" + odd[i] + "\",\"" + std::to_string(odd.size() - i + 1) + "\""});
  cases.push_back({"unlisted.wav", false, ""});
  cases.push_back({"unlisted.wav", true, "\"" + music + "\",\"unlisted.wav\",\"0\""});
  for (const auto& [file, add_on_plus, expect] : cases) {
    SCOPED_TRACE(file);
    settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, add_on_plus ? "1" : "0");
    ASSERT_EQ(link.play_file(dir, song(file)).result, HandOver::Result::kStarted);
    ASSERT_TRUE(eventually([&] { return plays(song(file)); })) << url_on_bus();
    const std::string before = read_bytes(list);
    scoring.increment_current_song();
    if (expect.empty()) {
      EXPECT_EQ(read_bytes(list), before);
    } else {
      EXPECT_NE(read_bytes(list).find(expect), std::string::npos) << read_bytes(list);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(music + "/pwned") || std::filesystem::exists("pwned"));

  // A stream is no song: nothing is scored or added.
  SongServer server(read_bytes(song("long.wav")));
  user_plays(server.url("stream.wav"));
  ASSERT_TRUE(eventually([&] { return url_on_bus().starts_with("http://"); }));
  ASSERT_TRUE(eventually([&] { return link.current_song(dir).kind == CurrentSong::Kind::kNoSong; }));
  const std::string before = read_bytes(list);
  scoring.increment_current_song();
  EXPECT_EQ(read_bytes(list), before);
  // Audacious's helper that hands a song over ends by itself.
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; })) << "one player, whatever was handed to it";

  link.stop();
  EXPECT_TRUE(eventually([&] { return url_on_bus().empty(); })) << "Stop stops the player";
}

TEST_P(MprisLinkTest, TheExportAndThenACountupCyclePlayThreeSongsInOrder) {
  make_list({"a.wav", "b.wav", "c.wav"});
  modes.makePlayAsc("Playlist All");
  EXPECT_TRUE(desktop.messages.empty()) << desktop.messages.front();
  EXPECT_EQ(names(run({}, 3)), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));

  ASSERT_TRUE(eventually([&] { return playing_now().empty(); }));
  modes.mnuAscending_Click("All");
  EXPECT_EQ(names(run()), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; }));
}

TEST_P(MprisLinkTest, ThePlayersOwnNextTrackDoesNotTakeOver) {
  make_list({"other.wav", "b.wav"});
  modes.mnuAscending_Click("All");
  bool queued = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (!queued && !so_far.empty() && so_far.back().first == "other.wav") {
      user_plays(song("long.wav"), true);
      queued = true;
    }
  });
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front().first, "other.wav");
  EXPECT_EQ(seen.back().first, "b.wav");
  for (const auto& [name, time] : seen)
    if (name == "long.wav") {
      EXPECT_LT(time, 1s) << "the player's own track played on";
    }
}

TEST_P(MprisLinkTest, ATrackStartedByHandIsLeftPlaying) {
  make_list({"long.wav", "b.wav"});
  modes.mnuAscending_Click("All");
  bool switched = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (!switched && !so_far.empty() && so_far.back().first == "long.wav" && so_far.back().second > 700ms) {
      user_plays(song("other.wav"));
      switched = true;
    }
  });
  EXPECT_EQ(names(seen), (std::vector<std::string>{"long.wav", "other.wav", "b.wav"}));
  EXPECT_TRUE(eventually([&] { return our_processes(tag).size() == 1; }));
  if (seen.size() == 3) {
    EXPECT_GT(seen[1].second, 1200ms) << "the track started by hand was cut short";
  }
}

// Faults, tried on one player.
class MprisAudaciousTest : public MprisLinkTest {};

TEST_P(MprisAudaciousTest, APlayerKilledMidCycleIsStartedAgain) {
  make_list({"other.wav", "a.wav", "b.wav"});
  modes.mnuAscending_Click("All");
  bool killed = false;
  const Seen seen = run([&](const Seen& so_far) {
    if (killed || so_far.empty()) return;
    killed = true;
    for (pid_t pid : our_processes(tag)) kill(pid, SIGKILL);
    ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kNotRunning; }));
    // Gone while a score change is made: the songlist stays as it was.
    const std::string before = read_bytes(list);
    scoring.increment_current_song();
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
  modes.mnuAscending_Click("All");
  for (pid_t pid : our_processes(tag)) kill(pid, SIGSTOP);

  bool busy = false;
  const auto until = Clock::now() + 3500ms;
  while (Clock::now() < until) {
    const auto before = Clock::now();
    modes.tmrJukora_Timer();
    const Reach found = link.reach();
    const PlayStatus status = link.play_status();
    const CurrentSong current = link.current_song(dir);
    EXPECT_LT(Clock::now() - before, 250ms);
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
  modes.makePlayAsc("Playlist All");
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
  EXPECT_EQ(listed[0].stem, "mpv");
  EXPECT_EQ(listed[0].identity, "mpv");
  link.play_file(dir, song("long.wav"));
  EXPECT_TRUE(eventually([&] { return plays(song("long.wav")); }));
  EXPECT_TRUE(MpvSession::connect(own_socket)->ask({"get_property", "idle-active"}).data.get<bool>());
}

const auto kByStem = [](const auto& info) { return info.param; };
INSTANTIATE_TEST_SUITE_P(Players, MprisLinkTest, ::testing::Values("audacious", "mpv"), kByStem);
INSTANTIATE_TEST_SUITE_P(Players, MprisAudaciousTest, ::testing::Values("audacious"), kByStem);
INSTANTIATE_TEST_SUITE_P(Players, MprisMpvTest, ::testing::Values("mpv"), kByStem);

// Run with no session bus at all (its own CTest entry).
TEST(NoSessionBus, TheLinkSaysWhyAndAsksNothing) {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "needs a process without a session bus";
  SavedSonglist saved;
  saved.settings.SaveSetting(sections::kPlayer, keys::kMprisBusName, "audacious");
  saved.settings.SaveSetting(sections::kPlayer, keys::kMprisIdentity, "Audacious");
  MprisLink link(saved.settings, saved.folders, {});
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
}  // namespace jukora::testing

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
