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

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";
constexpr const char* kInterface = "org.freedesktop.Notifications";
constexpr const char* kUndoAction = "undo";

}  // namespace

DesktopNotifier::DesktopNotifier(QtDesktop& desktop, const QDBusConnection& bus, NotificationOutlets outlets,
                                 QObject* parent)
    : QObject(parent), desktop_(desktop), bus_(bus), outlets_(std::move(outlets)) {
  desktop_.on_notify = [this](const QString& text, bool undoable) { notify(text, undoable); };
  if (!bus_.isConnected()) return;
  bus_.connect(kService, kPath, kInterface, "ActionInvoked", this, SLOT(action_invoked(uint, QString)));
  auto* watcher = new QDBusPendingCallWatcher(
      bus_.asyncCall(QDBusMessage::createMethodCall(kService, kPath, kInterface, "GetCapabilities"), kReplyTimeoutMs),
      this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
    done->deleteLater();
    const QDBusPendingReply<QStringList> reply = *done;
    has_actions_ = !reply.isError() && reply.value().contains("actions");
  });
}

DesktopNotifier::~DesktopNotifier() { desktop_.on_notify = nullptr; }

void DesktopNotifier::notify(const QString& text, bool undoable) {
  // The window's line always tells the latest word, so that an older one
  // never stands there beside a newer bubble.
  if (outlets_.window_line) outlets_.window_line(text);
  if (outlets_.wanted && !outlets_.wanted()) return;
  if (!bus_.isConnected()) return fall_back(text);
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, "Notify");
  std::function<void()> offer;
  if (undoable && has_actions_ && outlets_.undo_offer) offer = outlets_.undo_offer();
  QStringList actions;
  if (offer) actions << kUndoAction << "Undo";
  // Transient: a score's feedback is stale a moment later and need not
  // crowd the desktop's history.
  const QVariantMap hints{{"desktop-entry", "jukora"}, {"transient", true}};
  call << QString(kAppTitle) << shown_id_ << QString("jukora") << text << QString() << actions << hints << -1;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kReplyTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, text, offer = std::move(offer)](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            const QDBusPendingReply<uint> reply = *done;
            if (reply.isError()) return fall_back(text);
            shown_id_ = reply.value();
            // The word replaced the bubble, and with it what its Undo ran.
            undo_id_ = offer ? shown_id_ : 0;
            undo_ = offer;
          });
}

void DesktopNotifier::action_invoked(uint id, const QString& action) {
  if (action != kUndoAction || id == 0 || id != undo_id_) return;
  undo_id_ = 0;
  if (const std::function<void()> undo = std::exchange(undo_, {})) undo();
}

void DesktopNotifier::fall_back(const QString& text) {
  if (outlets_.tray_message) outlets_.tray_message(text);
}

}  // namespace jukora
