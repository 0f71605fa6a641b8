// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray_events.h"

#include <QMouseEvent>
#include <QWidget>

namespace jukora {

const char* tray_tooltip(TrayIconId icon) {
  switch (icon) {
    case TrayIconId::kDecrement:
      return "Decrement";
    case TrayIconId::kIncrement:
      return "Increment";
    case TrayIconId::kSkip:
      return "Skip";
    case TrayIconId::kShowHideList:
      return "Show/Hide List";
    case TrayIconId::kMode:
      return "Mode";
  }
  return "";
}

TrayAction tray_action(TrayIconId icon, TrayRelease release) {
  if (release == TrayRelease::kRight) return TrayAction::kModeMenu;
  if (release != TrayRelease::kLeft) return TrayAction::kNone;
  switch (icon) {
    case TrayIconId::kDecrement:
      return TrayAction::kDecrement;
    case TrayIconId::kIncrement:
      return TrayAction::kIncrement;
    case TrayIconId::kSkip:
      return TrayAction::kSkip;
    case TrayIconId::kShowHideList:
      return TrayAction::kToggleList;
    case TrayIconId::kMode:
      return TrayAction::kModeMenu;
  }
  return TrayAction::kNone;
}

TrayRelease release_from_activation(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
      return TrayRelease::kLeft;
    case QSystemTrayIcon::Context:
      return TrayRelease::kRight;
    default:
      return TrayRelease::kNone;
  }
}

TrayRelease release_from_mouse_event(const QEvent& event, const QWidget& icon) {
  if (event.type() != QEvent::MouseButtonRelease) return TrayRelease::kNone;
  const auto& mouse = static_cast<const QMouseEvent&>(event);
  if (!icon.rect().contains(mouse.position().toPoint())) return TrayRelease::kNone;
  if (mouse.button() == Qt::LeftButton) return TrayRelease::kLeft;
  if (mouse.button() == Qt::RightButton) return TrayRelease::kRight;
  return TrayRelease::kNone;
}

}  // namespace jukora
