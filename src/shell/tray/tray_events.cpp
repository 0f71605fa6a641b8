// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray/tray_events.h"

#include <QMouseEvent>
#include <QWidget>

namespace jukora {

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
