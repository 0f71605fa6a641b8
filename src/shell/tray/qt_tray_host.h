// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icons on the desktop's notification area through QSystemTrayIcon,
// with clicks reported as releases over an icon (see tray_events.h).
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <array>
#include <optional>
#include <unordered_map>

#include "shell/tray/tray_buttons.h"

namespace jukora {

class QtTrayHost : public QObject, public TrayHost {
  Q_OBJECT

 public:
  explicit QtTrayHost(QObject* parent = nullptr);
  ~QtTrayHost() override;

  void add_icon(TrayIconId icon, const char* tooltip) override;
  void remove_icon(TrayIconId icon) override;
  bool available() const override;
  bool show_message(const std::string& text) override;

 protected:
  // Watches the X11 tray's icon windows for button releases.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QSystemTrayIcon*& slot(TrayIconId icon) { return icons_[static_cast<std::size_t>(icon) - 1]; }
  // Reported after the event or call that brought it: an action may open a
  // menu or a message box, which must not hold the tray's own handling (a
  // panel waits for the reply to its D-Bus Activate or ContextMenu).
  void report_later(TrayIconId icon, TrayRelease release);
  // Which icon an X11 tray window shows.
  std::optional<TrayIconId> icon_of(QWidget& window);

  std::array<QSystemTrayIcon*, kTrayIconCount> icons_{};
  std::unordered_map<const QObject*, TrayIconId> windows_;
  bool probing_ = false;
  std::optional<TrayIconId> probed_;
};

}  // namespace jukora
