// SPDX-License-Identifier: GPL-3.0-or-later
// QtDBus carries the MPRIS link: the Qt the program is built with has it, so
// it adds no dependency, and its asynchronous calls and signals arrive on the
// event loop the program already runs.
#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <utility>

#include "player/mpris/mpris_calls.h"

namespace jukora {

namespace {

// QtDBus delivers signals to slots only: one of these per subscription.
class SignalReceiver : public QObject {
  Q_OBJECT

 public:
  SignalReceiver(MprisCalls::Handler handler, QObject* parent) : QObject(parent), handler_(std::move(handler)) {}

 public slots:
  void received(const QDBusMessage& message) { handler_(message); }

 private:
  MprisCalls::Handler handler_;
};

}  // namespace

QVariantMap to_map(const QVariant& value) {
  if (value.canConvert<QDBusArgument>()) return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
  return value.toMap();
}

std::optional<std::int64_t> to_int64(const QVariant& value) {
  bool ok = false;
  qlonglong number = value.toLongLong(&ok);
  return ok ? std::optional<std::int64_t>(number) : std::nullopt;
}

MprisCalls::MprisCalls() : bus_(QDBusConnection::sessionBus()) {}

void MprisCalls::call(const QDBusMessage& message, Handler handler) {
  QDBusPendingCall pending = bus_.asyncCall(message, kCallTimeoutMs);
  if (!handler) return;
  auto* watcher = new QDBusPendingCallWatcher(pending, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [handler = std::move(handler)](QDBusPendingCallWatcher* finished) {
            finished->deleteLater();
            handler(finished->reply());
          });
}

void MprisCalls::listen(const QString& service, const QString& path, const QString& interface_name, const QString& name,
                        Handler handler) {
  auto* receiver = new SignalReceiver(std::move(handler), this);
  bus_.connect(service, path, interface_name, name, receiver, SLOT(received(QDBusMessage)));
}

QDBusMessage MprisCalls::bus_method(const QString& method) {
  return QDBusMessage::createMethodCall(kDBusService, kDBusPath, kDBusService, method);
}

QDBusMessage MprisCalls::player_method(const QString& owner, const QString& interface_name, const QString& method) {
  return QDBusMessage::createMethodCall(owner, kMprisObjectPath, interface_name, method);
}

QDBusMessage MprisCalls::get_all(const QString& owner, const QString& interface_name) {
  QDBusMessage message = player_method(owner, kDBusProperties, QStringLiteral("GetAll"));
  message << interface_name;
  return message;
}

}  // namespace jukora

#include "mpris_calls_qt.moc"
