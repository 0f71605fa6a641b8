// SPDX-License-Identifier: GPL-3.0-or-later
// Jukora on the D-Bus session bus (Linux), for desktop widgets, shell
// extensions and scripts: the name org.jukora.Jukora, the object
// /org/jukora/Jukora and its interface org.jukora.Jukora1, with the
// commands Increment, Decrement, Skip, Show and Undo of the command table,
// the properties CurrentSong and CurrentScore (announced through
// PropertiesChanged) and the signal ScoreChanged. Only this user's calls
// are answered, and nothing on it waits: a command runs after its reply.
#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QString>
#include <functional>

#include "session/commands.h"

namespace jukora {

inline constexpr const char* kDbusName = "org.jukora.Jukora";
inline constexpr const char* kDbusPath = "/org/jukora/Jukora";
inline constexpr const char* kDbusInterface = "org.jukora.Jukora1";

class DbusInterface : public QDBusVirtualObject {
 public:
  using Run = std::function<void(const CommandCall&)>;

  DbusInterface(QDBusConnection bus, Run run);
  ~DbusInterface() override;

  // Puts the object on the bus and asks for the name; false without a bus.
  bool offer();

  // What the player is at: the song's path (empty for none) and its score
  // (0 when it is not listed). A change is announced.
  void set_current(const QString& song, int score);
  // A song's score changed.
  void score_changed(const QString& path, int score);

  QString introspect(const QString& path) const override;
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

 private:
  // The call of a caller found to be this user.
  void answer(const QDBusMessage& message);
  QVariant property(const QString& name) const;

  QDBusConnection bus_;
  Run run_;
  QString song_;
  int score_ = 0;
  bool offered_ = false;
};

}  // namespace jukora
