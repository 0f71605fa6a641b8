// SPDX-License-Identifier: GPL-3.0-or-later
// D-Bus calls to the session bus and its players, none of which is waited
// for: each reply (or its error, a timeout included) comes back on a later
// turn of the event loop, and every call gives up after kCallTimeoutMs.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <optional>

namespace jukora {

inline const QString kMprisObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kMprisRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString kMprisPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
inline const QString kMprisTrackListInterface = QStringLiteral("org.mpris.MediaPlayer2.TrackList");
inline const QString kDBusProperties = QStringLiteral("org.freedesktop.DBus.Properties");
inline const QString kDBusService = QStringLiteral("org.freedesktop.DBus");
inline const QString kDBusPath = QStringLiteral("/org/freedesktop/DBus");

// Every call gives up after this.
inline constexpr int kCallTimeoutMs = 2000;

// A D-Bus dictionary (a{sv}) however QtDBus delivers it.
QVariantMap to_map(const QVariant& value);
std::optional<std::int64_t> to_int64(const QVariant& value);

class MprisCalls : public QObject {
 public:
  using Handler = std::function<void(const QDBusMessage&)>;

  MprisCalls();

  bool connected() const { return bus_.isConnected(); }

  // Sends without waiting; `handler`, if any, runs with the reply or the
  // error later.
  void call(const QDBusMessage& message, Handler handler);
  // Runs `handler` with every signal `name` of `interface` at `path` from
  // `service` (any sender when empty).
  void listen(const QString& service, const QString& path, const QString& interface_name, const QString& name,
              Handler handler);

  // A method of the bus itself, of a player's object, and a player's
  // GetAll of the properties of `interface_name`.
  static QDBusMessage bus_method(const QString& method);
  static QDBusMessage player_method(const QString& owner, const QString& interface_name, const QString& method);
  static QDBusMessage get_all(const QString& owner, const QString& interface_name);

 private:
  QDBusConnection bus_;
};

}  // namespace jukora
