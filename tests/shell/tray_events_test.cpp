#include "shell/tray_events.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QWidget>

namespace jukora::testing {
namespace {

TEST(TrayAction, LeftReleaseRunsTheIconsActionRightReleaseOpensTheMenu) {
  const std::pair<TrayIconId, TrayAction> own[] = {{TrayIconId::kDecrement, TrayAction::kDecrement},
                                                   {TrayIconId::kIncrement, TrayAction::kIncrement},
                                                   {TrayIconId::kSkip, TrayAction::kSkip},
                                                   {TrayIconId::kShowHideList, TrayAction::kToggleList},
                                                   {TrayIconId::kMode, TrayAction::kModeMenu}};
  for (auto [icon, action] : own) {
    EXPECT_EQ(tray_action(icon, TrayRelease::kLeft), action) << tray_tooltip(icon);
    EXPECT_EQ(tray_action(icon, TrayRelease::kRight), TrayAction::kModeMenu) << tray_tooltip(icon);
    EXPECT_EQ(tray_action(icon, TrayRelease::kNone), TrayAction::kNone) << tray_tooltip(icon);
  }
}

TEST(TrayAction, ActivationsAreFinishedClicks) {
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::Trigger), TrayRelease::kLeft);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::DoubleClick), TrayRelease::kLeft);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::Context), TrayRelease::kRight);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::MiddleClick), TrayRelease::kNone);
  EXPECT_EQ(release_from_activation(QSystemTrayIcon::Unknown), TrayRelease::kNone);
}

class TrayMouse : public ::testing::Test {
 protected:
  TrayMouse() { icon.resize(22, 22); }
  TrayRelease send(QEvent::Type type, Qt::MouseButton button, QPointF at = {10, 10}) {
    QMouseEvent event(type, at, icon.mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    return release_from_mouse_event(event, icon);
  }
  QWidget icon;
};

TEST_F(TrayMouse, OnlyAReleaseOverTheIconCounts) {
  EXPECT_EQ(send(QEvent::MouseButtonPress, Qt::LeftButton), TrayRelease::kNone);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::LeftButton), TrayRelease::kLeft);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::RightButton), TrayRelease::kRight);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::MiddleButton), TrayRelease::kNone);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::LeftButton, {40, 10}), TrayRelease::kNone);
  EXPECT_EQ(send(QEvent::MouseButtonRelease, Qt::LeftButton, {-1, 5}), TrayRelease::kNone);
}

TEST_F(TrayMouse, EachReleaseOfADoubleClickCounts) {
  int clicks = 0;
  for (auto type :
       {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
    clicks += send(type, Qt::LeftButton) == TrayRelease::kLeft;
  EXPECT_EQ(clicks, 2);
}

}  // namespace
}  // namespace jukora::testing
