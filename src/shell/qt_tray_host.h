// The tray icons on the desktop's notification area through QSystemTrayIcon,
// with clicks reported as releases over an icon (see tray_events.h).
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <array>

#include "shell/tray_buttons.h"

namespace jukora {

class QtTrayHost : public QObject, public TrayHost {
  Q_OBJECT

 public:
  explicit QtTrayHost(QObject* parent = nullptr);
  ~QtTrayHost() override;

  void add_icon(TrayIconId icon, const char* tooltip) override;
  void remove_icon(TrayIconId icon) override;
  bool available() const override;

 protected:
  // Watches the X11 tray's icon windows for button releases.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QSystemTrayIcon*& slot(TrayIconId icon) { return icons_[static_cast<std::size_t>(icon) - 1]; }
  void report(TrayIconId icon, TrayRelease release);

  std::array<QSystemTrayIcon*, kTrayIconCount> icons_{};
};

}  // namespace jukora
