// SPDX-License-Identifier: GPL-3.0-or-later
// What counts as a click on a tray icon. Qt reports tray clicks in two ways:
// as finished clicks through QSystemTrayIcon::activated (Windows, D-Bus
// status notifiers) and, for the X11 tray, as plain mouse events of a small
// window per icon. Both become a button release over the icon, or nothing.
#pragma once

#include <QSystemTrayIcon>

class QEvent;
class QWidget;

namespace jukora {

// A mouse button released over an icon. Presses, moves, the middle button
// and double-click notifications are not clicks.
enum class TrayRelease { kNone, kLeft, kRight };

// Trigger and Context already are finished clicks. Qt reports the second
// click of a double click as DoubleClick instead of a second Trigger (on
// Windows it also swallows that click's release), so DoubleClick stands for
// the second left release: each of the two clicks counts once.
TrayRelease release_from_activation(QSystemTrayIcon::ActivationReason reason);

// The X11 tray icon's own mouse events: only a release counts, and only over
// the icon; a press dragged off the icon and released elsewhere does nothing.
TrayRelease release_from_mouse_event(const QEvent& event, const QWidget& icon);

}  // namespace jukora
