// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray/tray_events.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWidget>

namespace jukora::testing {
namespace {

TEST(TrayEvents, ActivationsAreFinishedClicks) {
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::Trigger), TrayRelease::kLeft);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::DoubleClick), TrayRelease::kLeft);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::Context), TrayRelease::kRight);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::MiddleClick), TrayRelease::kNone);
}

TEST(TrayEvents, OnlyAReleaseOverTheIconCountsEachOfADoubleClick) {
  QWidget icon;
  icon.resize(22, 22);
  auto send = [&](QEvent::Type type, Qt::MouseButton button, QPointF at = {10, 10}) {
    QMouseEvent event(type, at, icon.mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    return release_from_mouse_event(event, icon);
  };
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::RightButton), TrayRelease::kRight);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::MiddleButton), TrayRelease::kNone);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::LeftButton, {40, 10}), TrayRelease::kNone);

  int clicks = 0;
  for (auto type :
       {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
    clicks += send(type, Qt::LeftButton) == TrayRelease::kLeft;
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace jukora::testing
