#include "shell/qt_tray_host.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "shell/icons.h"

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
  // takes the icon window's mouse events first, so this stays silent there.
  connect(tray, &QSystemTrayIcon::activated, this,
          [this, icon](QSystemTrayIcon::ActivationReason reason) { report(icon, release_from_activation(reason)); });
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

void QtTrayHost::report(TrayIconId icon, TrayRelease release) {
  if (release != TrayRelease::kNone && on_release) on_release(icon, release);
}

bool QtTrayHost::eventFilter(QObject* watched, QEvent* event) {
  // The X11 tray shows each icon in a small window of Qt's own, which emits
  // activated() on the button press. Its button events are taken here
  // instead, so that only a release over the icon counts, as each of the two
  // releases of a double click does. The window carries its icon's tooltip.
  if (!is_mouse_button_event(*event) || !watched->isWidgetType() || !watched->inherits("QSystemTrayIconSys"))
    return QObject::eventFilter(watched, event);
  const auto* window = static_cast<const QWidget*>(watched);
  for (int id = 1; id <= kTrayIconCount; ++id) {
    auto icon = static_cast<TrayIconId>(id);
    if (!slot(icon) || window->toolTip() != slot(icon)->toolTip()) continue;
    TrayRelease release = release_from_mouse_event(*event, *window);
    // After the event: an action may open a menu or a message box, which
    // should not run inside the tray window's mouse handling.
    if (release != TrayRelease::kNone)
      QMetaObject::invokeMethod(
          this, [this, icon, release] { report(icon, release); }, Qt::QueuedConnection);
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace jukora
