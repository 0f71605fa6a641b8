// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QProcess>
#include <QTest>

#include "shell/remote/dbus_interface.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

class DbusInterfaceTest : public WindowTest {
 protected:
  DbusInterfaceTest() {
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    write_songlist({record("/m", "a.mp3", 5), record("/m", "b.mp3", 3)});
  }
};

TEST_F(DbusInterfaceTest, WithoutABusThereIsNone) {
  start();
  app->now_playing().offer_on_bus(
      QDBusConnection::connectToBus("unix:path=" + QString::fromStdString(dir.file("none")), "none"));
  EXPECT_EQ(app->now_playing().bus_interface(), nullptr);
  QDBusConnection::disconnectFromBus("none");
}

// Run by CTest inside its own dbus-run-session; never on the desktop's bus.
class DbusInterfaceOnPrivateBusTest : public DbusInterfaceTest {
 protected:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("JUKORA_TEST_PRIVATE_BUS")) GTEST_SKIP() << "needs its own dbus-run-session";
    start();
    app->now_playing().offer_on_bus(QDBusConnection::sessionBus());
    ASSERT_NE(app->now_playing().bus_interface(), nullptr);
  }
  // gdbus with these arguments, as `user` when one is named; what it wrote.
  // The program's event loop runs meanwhile, as it would.
  static std::string gdbus(const QStringList& arguments, const QString& user = {}) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (user.isEmpty())
      process.start("gdbus", arguments);
    else
      process.start("runuser", QStringList{"-u", user, "--", "gdbus"} + arguments);
    EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
    return process.readAll().trimmed().toStdString();
  }
  static std::string call(const QString& method, const QStringList& arguments = {}, const QString& user = {}) {
    return gdbus(QStringList{"call", "--session", "--dest", kDbusName, "--object-path", kDbusPath, "--method", method} +
                     arguments,
                 user);
  }
  static std::string get(const char* property) {
    return call("org.freedesktop.DBus.Properties.Get", {kDbusInterface, property});
  }
  std::string score_of_b() const {
    const int row = app->songlist().find("/m", "b.mp3", 1, app->songlist().Rows() - 1);
    return std::string(app->songlist().TextMatrix(row, col::kScore));
  }
};

TEST_F(DbusInterfaceOnPrivateBusTest, CommandsPropertiesAndSignalsForThisUserOnly) {
  EXPECT_EQ(get("CurrentSong"), "(<''>,)");
  link.song = "/m/b.mp3";
  app->now_playing().playing().look_up();
  EXPECT_EQ(get("CurrentSong"), "(<'/m/b.mp3'>,)");
  EXPECT_EQ(get("CurrentScore"), "(<3>,)");
  EXPECT_THAT(call("org.freedesktop.DBus.Properties.GetAll", {kDbusInterface}), HasSubstr("'CurrentScore': <3>"));

  QProcess monitor;
  monitor.start("gdbus", {"monitor", "--session", "--dest", kDbusName});
  ASSERT_TRUE(QTest::qWaitFor([&] { return monitor.readAllStandardOutput().contains("is owned by"); }, 10000));
  QByteArray signals_seen;
  auto seen = [&](const char* text) {
    return QTest::qWaitFor(
        [&] {
          signals_seen += monitor.readAllStandardOutput();
          return signals_seen.contains(text);
        },
        10000);
  };

  // A command is answered first and runs after, as the remote's do.
  EXPECT_EQ(call("org.jukora.Jukora1.Increment"), "()");
  ASSERT_TRUE(QTest::qWaitFor([&] { return score_of_b() == "4"; }, 5000));
  EXPECT_TRUE(seen("PropertiesChanged ('org.jukora.Jukora1', {'CurrentScore': <4>}, @as [])")) << signals_seen.data();
  app->events().scores_changed({{"/m", "b.mp3", 4, 5, ChangeSource::kWindow}});
  EXPECT_TRUE(seen("org.jukora.Jukora1.ScoreChanged ('/m/b.mp3', 5)")) << signals_seen.data();
  // Undo takes the Increment back.
  EXPECT_EQ(call("org.jukora.Jukora1.Undo"), "()");
  ASSERT_TRUE(QTest::qWaitFor([&] { return score_of_b() == "3"; }, 5000));
  EXPECT_EQ(call("org.jukora.Jukora1.Show"), "()");
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->isVisible(); }, 5000));
  link.song = "/m/a.mp3";
  app->now_playing().playing().look_up();
  EXPECT_TRUE(seen("{'CurrentScore': <5>, 'CurrentSong': <'/m/a.mp3'>}")) << signals_seen.data();

  EXPECT_THAT(call("org.jukora.Jukora1.Play"), HasSubstr("UnknownMethod"));
  EXPECT_THAT(call("org.freedesktop.DBus.Properties.Set", {kDbusInterface, "CurrentScore", "<9>"}),
              HasSubstr("PropertyReadOnly"));
  if (geteuid() != 0) return;
  // Another user on the same bus is refused, whatever it asks.
  EXPECT_THAT(call("org.jukora.Jukora1.Decrement", {}, "nobody"),
              HasSubstr("AccessDenied: Jukora answers only the user it runs for."));
  EXPECT_THAT(call("org.freedesktop.DBus.Properties.Get", {kDbusInterface, "CurrentSong"}, "nobody"),
              HasSubstr("AccessDenied: Jukora answers only the user it runs for."));
  EXPECT_EQ(score_of_b(), "3");
  monitor.kill();
  monitor.waitForFinished();
}

}  // namespace
}  // namespace jukora::testing
