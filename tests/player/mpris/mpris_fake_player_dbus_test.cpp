// SPDX-License-Identifier: GPL-3.0-or-later
// MprisLink against a stand-in player on the test's own bus, for what no
// real player does on demand: names no file could have, megabytes of URL, a stream,
// an OpenUri that takes songs and plays nothing or answers an error, a
// bus name with dots and an instance suffix, and a player that never comes up.
#include <QDBusAbstractAdaptor>
#include <QDBusVirtualObject>
#include <QTimer>
#include <map>

#include "player/mpris/mpris_fixture.h"

namespace jukora::testing::mpris {
namespace {

const QString kBusName = "org.mpris.MediaPlayer2.io.example.Fake.instance-7";

// Answers GetAll, Introspect, OpenUri and Stop on a connection of its own.
class FakePlayer : public QDBusVirtualObject {
 public:
  enum class OnOpenUri { kPlays, kIgnores, kFails };

  FakePlayer() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-player")) {
    bus_.registerVirtualObject("/org/mpris/MediaPlayer2", this);
    bus_.registerService(kBusName);
    // What its command line was given arrives as a file, as from a second copy.
    QObject::connect(&command_poll_, &QTimer::timeout, [this] {
      const std::string given = read_bytes(handed_file);
      if (given.empty()) return;
      write_bytes(handed_file, "");
      play("file://" + given);
    });
    command_poll_.start(50);
    song_end_.setSingleShot(true);
    QObject::connect(&song_end_, &QTimer::timeout, [this] { set_status("Stopped"); });
  }
  ~FakePlayer() override {
    bus_.unregisterService(kBusName);
    QDBusConnection::disconnectFromBus("fake-player");
  }

  // Plays `url` for a moment, telling the bus.
  void play(const std::string& url) {
    url_ = QString::fromStdString(url);
    set_status("Playing");
    song_end_.start(300);
  }
  // Goes on to `url`, and tells the bus only `late` (as VLC does).
  void go_on_to(const std::string& url, std::chrono::milliseconds late) {
    url_ = QString::fromStdString(url);
    status_ = "Playing";
    QTimer::singleShot(late, [this] { set_status(status_); });
  }

  QString introspect(const QString&) const override {
    return "<interface name=\"org.mpris.MediaPlayer2.Player\"><method name=\"OpenUri\"/></interface>";
  }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QString member = message.member();
    if (member == "GetAll") return connection.send(message.createReply(QVariant::fromValue(properties())));
    if (member == "Stop") {
      // Stopped, it names no track.
      url_.clear();
      set_status("Stopped");
    }
    if (member == "OpenUri") {
      ++opened[message.arguments().value(0).toString().toStdString()];
      if (on_open_uri == OnOpenUri::kFails)
        return connection.send(message.createErrorReply("org.freedesktop.DBus.Python.TypeError", "a stub"));
      if (on_open_uri == OnOpenUri::kPlays) play(message.arguments().value(0).toString().toStdString());
    }
    return connection.send(message.createReply());
  }

  OnOpenUri on_open_uri = OnOpenUri::kPlays;
  std::map<std::string, int> opened;  // OpenUri calls, by URL
  std::string handed_file;

 private:
  void set_status(const QString& status) {
    status_ = status;
    QDBusMessage changed =
        QDBusMessage::createSignal("/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "PropertiesChanged");
    changed << "org.mpris.MediaPlayer2.Player" << properties() << QStringList();
    bus_.send(changed);
  }
  QVariantMap properties() const {
    QVariantMap metadata{{"mpris:length", qlonglong(300000)}};
    if (!url_.isEmpty()) metadata["xesam:url"] = url_;
    return {{"PlaybackStatus", status_}, {"Metadata", metadata}, {"Position", qlonglong(0)}};
  }

  QDBusConnection bus_;
  QTimer command_poll_, song_end_;
  QString url_;
  QString status_ = "Stopped";
};

class MprisFakePlayerTest : public ::testing::Test, protected SavedSonglist {
 protected:
  MprisFakePlayerTest() {
    // As an older version stored the name: the part before its first dot.
    settings.SaveSetting(sections::kPlayer, keys::kPlayerKind, "mpris");
    settings.SaveSetting(sections::kPlayer, keys::kMprisBusName, "io");
    settings.SaveSetting(sections::kPlayer, keys::kMprisIdentity, "Fake");
    settings.SaveSetting(sections::kMain, keys::kLastSet, list);
    settings.SaveSetting(sections::kPrefs, keys::kAddOnPlus, "1");
    player.handed_file = temp.file("handed");
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) write_wav(song(name));
  }

  std::string song(const std::string& name) const { return music + "/" + name; }
  // A command that hands the running copy its file, by the name of a player
  // known to take files so.
  void command_reaches_player() {
    const std::string program = temp.file("rhythmbox");
    write_bytes(program, "#!/bin/sh\nprintf %s \"$1\" >'" + player.handed_file + "'\n");
    chmod(program.c_str(), 0755);
    settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, program);
  }
  void make_list(const std::vector<std::string>& names) {
    songlist.Clear();
    for (const auto& name : names) songlist.add_cells({"", music, name, "1"});
    recompute_songlist(songlist);
    files.write_songlist();
  }
  std::string click() { return mpris::click(rig, desktop); }
  // Ticks as the program does until the cycle ends; the songs marked played.
  std::vector<std::string> run_cycle() {
    eventually(
        [&] {
          if (rig.timer.enabled()) rig.modes.tick();
          pump(100ms);
          return !rig.timer.enabled();
        },
        30s);
    std::vector<std::string> marked;
    for (int row = 1; row < songlist.Rows(); ++row)
      if (songlist.TextMatrix(row, col::kMark) == "*") marked.emplace_back(songlist.TextMatrix(row, col::kFile));
    return marked;
  }

  std::string list = temp.file("list.jk8"), music = temp.file("music");
  FakePlayer player;
  std::unique_ptr<MprisLink> mpris = make_mpris_link(settings, folders, [](long) { return false; });
  MprisLink& link = *mpris;
  PlayRig rig{*this, link};
};

TEST_F(MprisFakePlayerTest, NamesNoFileCouldHaveAreNoSongsAndMegabytesCostNoTime) {
  ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kRunning; })) << "the old short name finds the player";
  make_list({"a.wav"});
  std::filesystem::create_directories(music + "/sub");
  write_wav(temp.file("secret.wav"));
  // What the player names, and part of what the user hears.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"file://" + music + "/sub/..%2F..%2Fsecret.wav", "escaped \"/\""},
      {"file://" + music + "/gone.wav", "\"gone.wav\" cannot be listed: it does not exist"},
      {"file://" + music + "/two%0D%0Alines.wav", "control character"},
      {"file://" + music + "/sub", "is not a regular file"},
      {"file://" + music + "/" + std::string(5 << 20, 'x') + ".wav", "longer than any file's"},
      {"file://" + music + "/" + std::string(300, 'y') + ".wav", "longer than this system allows"},
      {"file://elsewhere" + music + "/a.wav", "another computer"},
  };
  // Each case names another song or gives another reason: the link has
  // caught up with the player once its answer changed.
  std::pair<std::string, std::string> last;
  const auto caught_up = [&] {
    const CurrentSong now = link.current_song("");
    if (now.kind == CurrentSong::Kind::kBusy || std::pair(now.path, now.reason) == last) return false;
    last = {now.path, now.reason};
    return true;
  };
  for (const auto& [url, told] : cases) {
    SCOPED_TRACE(url.substr(0, 80));
    // Each report of it, the signal and the polls, handled without holding
    // the event loop for a quarter second.
    for (int report = 0; report < 5; ++report) {
      player.play(url);
      EXPECT_LT(held_by([] { pump(60ms); }), 250ms);
    }
    ASSERT_TRUE(eventually(caught_up));
    const std::string saved = read_bytes(list);
    const std::string heard = click();
    EXPECT_EQ(read_bytes(list), saved);
    EXPECT_NE(heard.find(told), std::string::npos) << heard.substr(0, 200);
  }
  // A stream is no song: nothing is scored or added.
  player.play("http://127.0.0.1:9/stream.wav");
  ASSERT_TRUE(eventually([&] { return link.current_song("").kind == CurrentSong::Kind::kNoSong; }));
  const std::string saved = read_bytes(list);
  click();
  EXPECT_EQ(read_bytes(list), saved);
  // A song that is there joins the list, its folder spelled plainly.
  player.play("file://" + music + "/sub/.././/b.wav");
  ASSERT_TRUE(eventually([&] { return link.current_song("").path == music + "/sub/.././/b.wav"; }));
  click();
  EXPECT_NE(read_bytes(list).find("\"" + music + "\",\"b.wav\",\"0\""), std::string::npos) << desktop.notes.back();
}

TEST_F(MprisFakePlayerTest, AClickScoresTheSongThePlayerNamesThenNotTheOneItLastAnnounced) {
  ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kRunning; }));
  make_list({"a.wav", "b.wav"});
  player.go_on_to("file://" + song("a.wav"), 0ms);
  ASSERT_TRUE(eventually([&] { return link.current_song("").path == song("a.wav"); }));
  player.go_on_to("file://" + song("b.wav"), 1s);
  EXPECT_EQ(click(), "b \u2014 score 2");
  player.go_on_to("file://" + song("a.wav"), 1s);
  EXPECT_EQ(click(), "a \u2014 score 2");
  link.stop();
  EXPECT_EQ(click(), "Nothing is playing.");
  EXPECT_NE(read_bytes(list).find("\"b.wav\",\"2\""), std::string::npos) << read_bytes(list);
}

TEST_F(MprisFakePlayerTest, AnOpenUriThatPlaysNothingGivesWayToTheCommandOnce) {
  command_reaches_player();
  player.on_open_uri = FakePlayer::OnOpenUri::kIgnores;
  ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kRunning; }));
  make_list({"a.wav", "b.wav"});
  rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
  EXPECT_EQ(run_cycle(), (std::vector<std::string>{"a.wav", "b.wav"})) << ::testing::PrintToString(desktop.notes);
  // The first song's OpenUri is waited for; the second goes to the command
  // at once, never through OpenUri and its wait.
  EXPECT_EQ(player.opened, (std::map<std::string, int>{{"file://" + song("a.wav"), 1}}));
}

TEST_F(MprisFakePlayerTest, APlayerThatCannotPlaySongsEndsTheCycleMarkingNothing) {
  // How its OpenUri answers, the songs tried, and part of the last word the
  // user hears. (An error turns OpenUri off for good: it comes last.)
  const std::tuple<FakePlayer::OnOpenUri, std::size_t, std::string> cases[] = {
      {FakePlayer::OnOpenUri::kIgnores, 3,
       "did not play the last 3 songs it was handed, \"a.wav\", \"b.wav\", \"c.wav\".  Fake took \"a.wav\" over "
       "MPRIS but did not play it within 5 s"},
      {FakePlayer::OnOpenUri::kFails, 1,
       "refused \"a.wav\" over MPRIS (org.freedesktop.DBus.Python.TypeError: a stub)"},
  };
  settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, "/bin/true");
  ASSERT_TRUE(eventually([&] { return link.reach() == Reach::kRunning; }));
  for (const auto& [on_open_uri, tried, told] : cases) {
    player.on_open_uri = on_open_uri;
    player.opened.clear();
    desktop.notes.clear();
    make_list({"a.wav", "b.wav", "c.wav", "d.wav"});
    const std::string listed = read_bytes(list);
    rig.modes.start_cycle({PlayOrder::kCountup, Scope::kAll});
    EXPECT_TRUE(run_cycle().empty());
    EXPECT_EQ(read_bytes(list), listed) << "nothing written";
    ASSERT_FALSE(desktop.notes.empty());
    EXPECT_NE(desktop.notes.back().find(told), std::string::npos) << desktop.notes.back();
    EXPECT_EQ(player.opened.size(), tried) << "each song tried once";
  }
}

TEST_F(MprisFakePlayerTest, APlayerThatNeverComesUpGetsOneWordForTheExportAndForACycle) {
  // Another player, whose command starts nothing (as a Quod Libet that
  // left its control FIFO behind).
  settings.SaveSetting(sections::kPlayer, keys::kMprisBusName, "org.example.Gone");
  settings.SaveSetting(sections::kPlayer, keys::kMprisCommand, "/bin/true");
  link.tell = [&](const std::string& text) { desktop.notify(text); };
  make_list({"a.wav", "b.wav"});
  const std::string listed = read_bytes(list);
  rig.modes.export_playlist(Scope::kAll, false);
  ASSERT_TRUE(eventually(
      [&] {
        link.reach();
        return !desktop.notes.empty();
      },
      20s));
  EXPECT_NE(desktop.notes[0].find("did not come up on the session bus within 10 s of being started with "
                                  "\"/bin/true\", so it did not get the playlist."),
            std::string::npos)
      << desktop.notes[0];
  desktop.notes.clear();
  rig.modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  EXPECT_TRUE(run_cycle().empty());
  EXPECT_EQ(read_bytes(list), listed) << "no Last Played written";
  ASSERT_EQ(desktop.notes.size(), 1u) << ::testing::PrintToString(desktop.notes);
  EXPECT_NE(desktop.notes[0].find("nothing was marked as played"), std::string::npos) << desktop.notes[0];
  EXPECT_TRUE(player.opened.empty());
}

}  // namespace
}  // namespace jukora::testing::mpris
