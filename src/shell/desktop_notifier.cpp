// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>
#include <utility>

#include "platform/desktop.h"
#include "shell/qt_desktop.h"

namespace jukora {

namespace {

// The service answers at once when it is there; this only bounds how long
// a hung one keeps the word from its fallback.
constexpr int kReplyTimeoutMs = 3000;

}  // namespace

DesktopNotifier::DesktopNotifier(QtDesktop& desktop, const QDBusConnection& bus, NotificationOutlets outlets,
                                 QObject* parent)
    : QObject(parent), desktop_(desktop), bus_(bus), outlets_(std::move(outlets)) {
  desktop_.on_notify = [this](const QString& text) { notify(text); };
}

DesktopNotifier::~DesktopNotifier() { desktop_.on_notify = nullptr; }

void DesktopNotifier::notify(const QString& text) {
  if (outlets_.wanted && !outlets_.wanted()) {
    if (outlets_.window_line) outlets_.window_line(text);
    return;
  }
  if (!bus_.isConnected()) return fall_back(text);
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                                     "org.freedesktop.Notifications", "Notify");
  // Transient: a score's feedback is stale a moment later and need not
  // crowd the desktop's history.
  const QVariantMap hints{{"desktop-entry", "jukora"}, {"transient", true}};
  call << QString(kAppTitle) << shown_id_ << QString("jukora") << text << QString() << QStringList() << hints << -1;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, text](QDBusPendingCallWatcher* done) {
    done->deleteLater();
    const QDBusPendingReply<uint> reply = *done;
    if (reply.isError()) return fall_back(text);
    shown_id_ = reply.value();
  });
}

void DesktopNotifier::fall_back(const QString& text) {
  if (outlets_.tray_message && outlets_.tray_message(text)) return;
  if (outlets_.window_line) outlets_.window_line(text);
}

}  // namespace jukora
