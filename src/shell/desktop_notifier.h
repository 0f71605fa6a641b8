// SPDX-License-Identifier: GPL-3.0-or-later
// A word to the user that needs no answer (Desktop::notify): a desktop
// notification over D-Bus where the desktop runs the service, else a balloon
// by the tray icons, else a line in the window. Never waits for the service.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace jukora {

class QtDesktop;

struct NotificationOutlets {
  // Whether desktop notifications are wanted; when not, the window's line
  // alone tells.
  std::function<bool()> wanted;
  // A balloon by the tray icons; false where there is no tray.
  std::function<bool(const QString&)> tray_message;
  // The window's status line.
  std::function<void(const QString&)> window_line;
};

class DesktopNotifier : public QObject {
 public:
  // Takes `desktop`'s notify() for as long as it lives.
  DesktopNotifier(QtDesktop& desktop, const QDBusConnection& bus, NotificationOutlets outlets,
                  QObject* parent = nullptr);
  ~DesktopNotifier() override;

  void notify(const QString& text);

 private:
  void fall_back(const QString& text);

  QtDesktop& desktop_;
  QDBusConnection bus_;
  NotificationOutlets outlets_;
  // The bubble shown last: the next word replaces it rather than piling up.
  uint shown_id_ = 0;
};

}  // namespace jukora
