// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QTimer>
#include <QVariantMap>
#include <utility>

#include "shell/remote/dbus_interface.h"

namespace jukora {

namespace {

constexpr const char* kProperties = "org.freedesktop.DBus.Properties";
constexpr const char* kBusService = "org.freedesktop.DBus";
constexpr const char* kBusPath = "/org/freedesktop/DBus";
// How long the bus may take to say who is calling, or to give the name.
constexpr int kBusAnswerMs = 2000;
// RequestName: fail rather than wait in a queue for the name.
constexpr uint kDoNotQueue = 4;
constexpr uint kPrimaryOwner = 1, kAlreadyOwner = 4;

struct Method {
  const char* name;
  Command command;
};
constexpr Method kMethods[] = {{"Increment", Command::kIncrement},
                               {"Decrement", Command::kDecrement},
                               {"Skip", Command::kSkip},
                               {"Show", Command::kShow},
                               {"Undo", Command::kUndo}};

const Method* method_named(const QString& name) {
  for (const Method& method : kMethods)
    if (name == QLatin1String(method.name)) return &method;
  return nullptr;
}

QDBusMessage bus_call(const char* member) {
  return QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, member);
}

}  // namespace

DbusInterface::DbusInterface(QDBusConnection bus, Run run) : bus_(std::move(bus)), run_(std::move(run)) {}

DbusInterface::~DbusInterface() {
  if (!offered_) return;
  bus_.unregisterObject(kDbusPath);
  // Left to the bus: it drops the name with the connection.
}

bool DbusInterface::offer() {
  if (!bus_.isConnected()) return false;
  if (!bus_.registerVirtualObject(kDbusPath, this)) {
    qWarning("D-Bus interface off: %s is taken on this connection", kDbusPath);
    return false;
  }
  offered_ = true;
  QDBusMessage request = bus_call("RequestName");
  request << QString(kDbusName) << kDoNotQueue;
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request, kBusAnswerMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher] {
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError())
      qWarning("D-Bus interface off: %s", qUtf8Printable(reply.error().message()));
    else if (reply.value() != kPrimaryOwner && reply.value() != kAlreadyOwner)
      qWarning("D-Bus interface off: another program owns %s", kDbusName);
    watcher->deleteLater();
  });
  return true;
}

void DbusInterface::set_current(const QString& song, int score) {
  QVariantMap changed;
  if (song != song_) changed.insert("CurrentSong", song);
  if (score != score_) changed.insert("CurrentScore", score);
  song_ = song;
  score_ = score;
  if (changed.isEmpty() || !offered_) return;
  QDBusMessage signal = QDBusMessage::createSignal(kDbusPath, kProperties, "PropertiesChanged");
  signal << QString(kDbusInterface) << changed << QStringList();
  bus_.send(signal);
}

void DbusInterface::score_changed(const QString& path, int score) {
  if (!offered_) return;
  QDBusMessage signal = QDBusMessage::createSignal(kDbusPath, kDbusInterface, "ScoreChanged");
  signal << path << score;
  bus_.send(signal);
}

QString DbusInterface::introspect(const QString&) const {
  QString xml = QString("<interface name=\"%1\">\n").arg(kDbusInterface);
  for (const Method& method : kMethods) xml += QString("  <method name=\"%1\"/>\n").arg(method.name);
  xml +=
      "  <property name=\"CurrentSong\" type=\"s\" access=\"read\"/>\n"
      "  <property name=\"CurrentScore\" type=\"i\" access=\"read\"/>\n"
      "  <signal name=\"ScoreChanged\"><arg name=\"path\" type=\"s\"/><arg name=\"score\" type=\"i\"/></signal>\n"
      "</interface>\n";
  return xml;
}

bool DbusInterface::handleMessage(const QDBusMessage& message, const QDBusConnection& connection) {
  // Introspection says nothing of the user's songs; Qt answers it.
  if (message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable")) return false;
  // Who calls is asked of the bus without waiting for it; the caller waits.
  QDBusMessage ask = bus_call("GetConnectionUnixUser");
  ask << message.service();
  auto* watcher = new QDBusPendingCallWatcher(connection.asyncCall(ask, kBusAnswerMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, message] {
    const QDBusPendingReply<uint> caller = *watcher;
    watcher->deleteLater();
    if (caller.isError() || caller.value() != static_cast<uint>(getuid())) {
      bus_.send(message.createErrorReply(QDBusError::AccessDenied, "Jukora answers only the user it runs for."));
      return;
    }
    answer(message);
  });
  return true;
}

QVariant DbusInterface::property(const QString& name) const {
  if (name == QLatin1String("CurrentSong")) return song_;
  if (name == QLatin1String("CurrentScore")) return score_;
  return {};
}

void DbusInterface::answer(const QDBusMessage& message) {
  const QString member = message.member();
  const QList<QVariant> args = message.arguments();
  if (message.interface() == QLatin1String(kProperties)) {
    const bool ours = !args.isEmpty() && args[0].toString() == QLatin1String(kDbusInterface);
    if (member == QLatin1String("Get") && message.signature() == QLatin1String("ss")) {
      const QVariant value = ours ? property(args[1].toString()) : QVariant();
      bus_.send(value.isValid() ? message.createReply(QVariant::fromValue(QDBusVariant(value)))
                                : message.createErrorReply(QDBusError::UnknownProperty, "No such property."));
    } else if (member == QLatin1String("GetAll") && message.signature() == QLatin1String("s")) {
      QVariantMap all;
      if (ours) all = {{"CurrentSong", song_}, {"CurrentScore", score_}};
      bus_.send(message.createReply(all));
    } else if (member == QLatin1String("Set")) {
      bus_.send(
          message.createErrorReply("org.freedesktop.DBus.Error.PropertyReadOnly", "The properties are read-only."));
    } else {
      bus_.send(message.createErrorReply(QDBusError::UnknownMethod, "No such method."));
    }
    return;
  }
  const bool ours = message.interface().isEmpty() || message.interface() == QLatin1String(kDbusInterface);
  const Method* method = ours && message.signature().isEmpty() ? method_named(member) : nullptr;
  if (!method) {
    bus_.send(message.createErrorReply(QDBusError::UnknownMethod, "No such method."));
    return;
  }
  bus_.send(message.createReply());
  // After the reply, in its turn, as the command-line remote's commands run.
  QTimer::singleShot(0, this,
                     [this, command = method->command] { run_(CommandCall(command, {}, false, ChangeSource::kDbus)); });
}

}  // namespace jukora
