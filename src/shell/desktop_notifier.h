// SPDX-License-Identifier: GPL-3.0-or-later
// A word to the user that needs no answer (Desktop::notify): a desktop
// notification over D-Bus where the desktop runs the service, else a balloon
// by the tray icons; and always the line in the window, which holds the
// latest word. Never waits for the service.
// A word after a change the user may take back carries an "Undo" action
// where the service offers actions.
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
  // The window's status line, told every word.
  std::function<void(const QString&)> window_line;
  // What the bubble's Undo runs, asked for as the word is shown: bound to
  // the change just made. Empty when there is nothing to take back.
  std::function<std::function<void()>()> undo_offer;
};

class DesktopNotifier : public QObject {
  Q_OBJECT

 public:
  // Takes `desktop`'s notify() for as long as it lives.
  DesktopNotifier(QtDesktop& desktop, const QDBusConnection& bus, NotificationOutlets outlets,
                  QObject* parent = nullptr);
  ~DesktopNotifier() override;

  void notify(const QString& text, bool undoable = false);

 private slots:
  void action_invoked(uint id, const QString& action);

 private:
  void fall_back(const QString& text);

  QtDesktop& desktop_;
  QDBusConnection bus_;
  NotificationOutlets outlets_;
  // The bubble shown last: the next word replaces it rather than piling up.
  uint shown_id_ = 0;
  // Whether the service shows actions; asked once, at the start.
  bool has_actions_ = false;
  // The bubble that offers an Undo, and what it runs.
  uint undo_id_ = 0;
  std::function<void()> undo_;
};

}  // namespace jukora
