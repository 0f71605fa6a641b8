// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QLabel>
#include <QTest>

#include "window_fixture.h"

namespace jukora::testing {
namespace {

class DesktopNotifierTest : public WindowTest {
 protected:
  // A notifier over `bus` into the shown window, with a tray that records
  // its balloons when it has one.
  DesktopNotifier& notifier(const QDBusConnection& bus) {
    set(sections::kMain, keys::kVisible, "True");
    start();
    made = std::make_unique<DesktopNotifier>(
        desktop, bus,
        NotificationOutlets{[this] { return read_notifications(settings); },
                            [this](const QString& text) {
                              if (has_tray) balloons.push_back(text.toStdString());
                              return has_tray;
                            },
                            [this](const QString& text) { form->show_status(text); }, [this] { return undo_offer; }});
    return *made;
  }
  std::string window_line() const { return form->lblStatus().toolTip().toStdString(); }

  std::unique_ptr<DesktopNotifier> made;
  bool has_tray = false;
  std::function<void()> undo_offer;
  std::vector<std::string> balloons;
};

TEST_F(DesktopNotifierTest, WithoutTheServiceATrayBalloonSwitchedOffNoneAndTheWindowsLineTellsTheLatestForAMinute) {
  notifier(QDBusConnection("no bus at all"));
  desktop.notify("a.mp3 — score 3");
  EXPECT_EQ(window_line(), "a.mp3 — score 3");
  EXPECT_TRUE(form->lblStatus().isVisible());
  EXPECT_FALSE(form->lblStatus().text().isEmpty());

  has_tray = true;
  desktop.notify("b.mp3 — score 4");
  EXPECT_THAT(balloons, ElementsAre("b.mp3 — score 4"));
  EXPECT_EQ(window_line(), "b.mp3 — score 4");

  set(sections::kPrefs, keys::kNotifications, "False");
  desktop.notify("c.mp3 — score 5");
  EXPECT_EQ(balloons.size(), 1u);
  EXPECT_EQ(window_line(), "c.mp3 — score 5");

  // A minute on, the line is empty; a word told later starts its own minute.
  EXPECT_EQ(form->status_age().interval(), 60'000);
  EXPECT_TRUE(form->status_age().isActive());
  form->status_age().setInterval(20);
  desktop.notify("d.mp3 — score 6");
  QTRY_COMPARE(form->lblStatus().text(), QString());
  EXPECT_EQ(window_line(), "");
}

// The desktop's notification service, as a test owns it on a private bus.
class FakeNotifications : public QDBusVirtualObject {
 public:
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() == "GetCapabilities") {
      connection.send(message.createReply(capabilities));
      return true;
    }
    if (message.member() != "Notify") return false;
    calls.push_back(message.arguments());
    connection.send(message.createReply(QVariant::fromValue(uint(40 + calls.size()))));
    return true;
  }
  QString introspect(const QString&) const override { return {}; }
  QList<QVariantList> calls;
  QStringList capabilities{"body"};
};

// Run by CTest inside its own dbus-run-session; never on the desktop's bus.
// The notification service is there from the start.
class DesktopNotifierOnPrivateBusTest : public DesktopNotifierTest {
 protected:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("JUKORA_TEST_PRIVATE_BUS")) GTEST_SKIP() << "needs its own dbus-run-session";
    ASSERT_TRUE(service.registerVirtualObject("/org/freedesktop/Notifications", &notifications));
    ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));
  }
  static QDBusConnection bus(const char* name) {
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  }
  QDBusConnection service = bus("service");
  FakeNotifications notifications;
};

TEST_F(DesktopNotifierOnPrivateBusTest, TheServiceShowsEachWordInOneBubbleAndItsAbsenceFallsBack) {
  has_tray = true;
  DesktopNotifier& words = notifier(bus("jukora"));

  // Done once the service has answered and the answer was taken in.
  auto answered = [&] { return words.findChildren<QDBusPendingCallWatcher*>().isEmpty(); };
  words.notify("a.mp3 — score 3");
  ASSERT_TRUE(QTest::qWaitFor(answered, 5000));
  ASSERT_EQ(notifications.calls.size(), 1);
  const QVariantList& first = notifications.calls[0];
  ASSERT_EQ(first.size(), 8);
  EXPECT_EQ(first[0].toString(), "Jukora");
  EXPECT_EQ(first[1].toUInt(), 0u);
  EXPECT_EQ(first[2].toString(), "jukora");
  EXPECT_EQ(first[3].toString(), "a.mp3 — score 3");
  // The next word replaces the bubble the service named.
  words.notify("a.mp3 — score 4");
  ASSERT_TRUE(QTest::qWaitFor(answered, 5000));
  ASSERT_EQ(notifications.calls.size(), 2);
  EXPECT_EQ(notifications.calls[1][1].toUInt(), 41u);
  EXPECT_THAT(balloons, IsEmpty());
  // The line beside the buttons says what the bubble says.
  EXPECT_EQ(window_line(), "a.mp3 — score 4");

  ASSERT_TRUE(service.unregisterService("org.freedesktop.Notifications"));
  words.notify("b.mp3 — score 1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !balloons.empty(); }, 5000));
  EXPECT_THAT(balloons, ElementsAre("b.mp3 — score 1"));
  EXPECT_EQ(notifications.calls.size(), 2u);
}

TEST_F(DesktopNotifierOnPrivateBusTest, AScoreOffersUndoWhereTheServiceShowsActionsAndItsUndoRunsOnce) {
  int undone = 0;
  undo_offer = [&undone] { ++undone; };
  auto actions_of = [&](int call) { return notifications.calls[call][5].toStringList(); };
  auto invoke = [&](uint id, const char* action) {
    QDBusMessage signal =
        QDBusMessage::createSignal("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
    signal << id << QString(action);
    service.send(signal);
    QTest::qWait(200);
  };
  for (const bool shows_actions : {false, true}) {
    SCOPED_TRACE(shows_actions);
    notifications.calls.clear();
    if (shows_actions) notifications.capabilities << "actions";
    DesktopNotifier& words = notifier(bus(shows_actions ? "jukora2" : "jukora1"));
    auto answered = [&] { return words.findChildren<QDBusPendingCallWatcher*>().isEmpty(); };
    ASSERT_TRUE(QTest::qWaitFor(answered, 5000));
    words.notify("a.mp3 — score 3", true);
    words.notify("a.mp3 — not changed");
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.calls.size() == 2 && answered(); }, 5000));
    EXPECT_EQ(actions_of(0), shows_actions ? QStringList({"undo", "Undo"}) : QStringList());
    EXPECT_EQ(actions_of(1), QStringList());
    // The word that replaced the bubble took its Undo with it.
    invoke(41, "undo");
    EXPECT_EQ(undone, 0);
    words.notify("b.mp3 — score 4", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notifications.calls.size() == 3 && answered(); }, 5000));
    invoke(43, "default");
    invoke(43, "undo");
    invoke(43, "undo");
    EXPECT_EQ(undone, shows_actions ? 1 : 0);
    made.reset();
  }
}

}  // namespace
}  // namespace jukora::testing
