// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray/qt_tray_host.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "platform/desktop.h"
#include "shell/icons.h"
#include "shell/local_text.h"

namespace jukora {

namespace {

QIcon tray_image(TrayIconId icon) {
  switch (icon) {
    case TrayIconId::kDecrement:
      return minus_icon();
    case TrayIconId::kIncrement:
      return plus_icon();
    case TrayIconId::kSkip:
      return arrow_icon();
    case TrayIconId::kShowHideList:
      return page_icon();
    case TrayIconId::kMode:
      return mode_icon();
  }
  return {};
}

bool is_mouse_button_event(const QEvent& event) {
  return event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonRelease ||
         event.type() == QEvent::MouseButtonDblClick;
}

}  // namespace

QtTrayHost::QtTrayHost(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

QtTrayHost::~QtTrayHost() {
  qApp->removeEventFilter(this);
  for (int id = 1; id <= kTrayIconCount; ++id) remove_icon(static_cast<TrayIconId>(id));
}

void QtTrayHost::add_icon(TrayIconId icon, const char* tooltip) {
  QSystemTrayIcon*& tray = slot(icon);
  if (tray) return;
  tray = new QSystemTrayIcon(tray_image(icon), this);
  tray->setToolTip(QString::fromUtf8(tooltip));
  // Platforms whose tray reports finished clicks. On X11 the event filter
  // takes the icon window's mouse events first, so this hears only the
  // window telling which icon it shows.
  connect(tray, &QSystemTrayIcon::activated, this, [this, icon](QSystemTrayIcon::ActivationReason reason) {
    if (probing_) {
      probed_ = icon;
      return;
    }
    report_later(icon, release_from_activation(reason));
  });
  tray->show();
}

void QtTrayHost::remove_icon(TrayIconId icon) {
  QSystemTrayIcon*& tray = slot(icon);
  if (!tray) return;
  tray->hide();
  delete tray;
  tray = nullptr;
}

bool QtTrayHost::available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayHost::show_message(const std::string& text) {
  if (!available()) return false;
#ifndef _WIN32
  // Over D-Bus (a StatusNotifierItem tray) Qt hands the message to the
  // notification service, which is not there when we are asked, and then
  // writes it over the first icon's tooltip for good: the icons keep their
  // words only if the window line tells it instead. The X11 tray shows its
  // icons in windows of Qt's own, and a balloon of its own there.
  const QWidgetList windows = QApplication::topLevelWidgets();
  if (std::none_of(windows.begin(), windows.end(),
                   [](const QWidget* window) { return window->inherits("QSystemTrayIconSys"); }))
    return false;
#endif
  for (QSystemTrayIcon* tray : icons_) {
    if (!tray) continue;
    tray->showMessage(kAppTitle, qt_text(text), QSystemTrayIcon::Information);
    // The X11 tray's balloon opens over the icons: it must never take the
    // next click on Increment or Decrement, which goes through it instead.
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible() && window->inherits("QBalloonTip") && window->windowHandle())
        window->windowHandle()->setFlag(Qt::WindowTransparentForInput);
    return true;
  }
  return false;
}

void QtTrayHost::report_later(TrayIconId icon, TrayRelease release) {
  if (release == TrayRelease::kNone) return;
  QMetaObject::invokeMethod(
      this,
      [this, icon, release] {
        if (on_release) on_release(icon, release);
      },
      Qt::QueuedConnection);
}

std::optional<TrayIconId> QtTrayHost::icon_of(QWidget& window) {
  if (auto known = windows_.find(&window); known != windows_.end()) return known->second;
  // Qt keeps to itself which icon a tray window shows, and tooltips may be
  // alike. The window says it: a middle-button press makes it emit its own
  // icon's activated(), which is no click of ours.
  probed_.reset();
  {
    QScopedValueRollback<bool> probing(probing_, true);
    QMouseEvent probe(QEvent::MouseButtonPress, QPointF(), QPointF(), Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &probe);
  }
  if (probed_) {
    windows_[&window] = *probed_;
    connect(&window, &QObject::destroyed, this, [this](QObject* gone) { windows_.erase(gone); });
  }
  return probed_;
}

bool QtTrayHost::eventFilter(QObject* watched, QEvent* event) {
  // The X11 tray shows each icon in a small window of Qt's own, which emits
  // activated() on the button press. Its button events are taken here
  // instead, so that only a release over the icon counts, as each of the two
  // releases of a double click does.
  if (probing_ || !is_mouse_button_event(*event) || !watched->isWidgetType() ||
      !watched->inherits("QSystemTrayIconSys"))
    return QObject::eventFilter(watched, event);
  auto* window = static_cast<QWidget*>(watched);
  const std::optional<TrayIconId> icon = icon_of(*window);
  // A window that does not say which icon it shows keeps Qt's own clicks,
  // reported by activated() on the press.
  if (!icon) return QObject::eventFilter(watched, event);
  report_later(*icon, release_from_mouse_event(*event, *window));
  return true;
}

}  // namespace jukora
