// SPDX-License-Identifier: GPL-3.0-or-later
// The song the player is at, told to the desktop: on Linux, the D-Bus
// interface that tells desktop widgets, shell extensions and scripts about
// it and its score, and takes their commands. It follows what the session
// announces of the playing song and what its song events tell.
#pragma once

#include <QDBusConnection>
#include <functional>
#include <memory>

#include "session/commands.h"
#include "session/session_watcher.h"

namespace jukora {

class DbusInterface;
class PlayingSong;
class Session;

class NowPlaying : private SessionWatcher {
 public:
  using RunCommand = std::function<void(const CommandCall&)>;

  // Commands from the bus go to `run`, in the order the remote's go.
  NowPlaying(Session& session, RunCommand run);
  ~NowPlaying() override;
  NowPlaying(const NowPlaying&) = delete;
  NowPlaying& operator=(const NowPlaying&) = delete;

  // The D-Bus interface offered on `bus` (Linux; the program's session
  // bus). Nothing without a bus, or when it cannot be had.
  void offer_on_bus(const QDBusConnection& bus);

  // "Show Playing": the window shown with the playing song's row selected
  // and in view.
  void show_playing();

  PlayingSong& playing();
  // The interface on the bus, or null (no bus, or Windows).
  DbusInterface* bus_interface() { return bus_.get(); }

 private:
  void session_changed(const SessionNews& news) override;
  // The bus's properties follow the song and its score.
  void follow();

  Session& session_;
  RunCommand run_;
  std::unique_ptr<DbusInterface> bus_;
};

}  // namespace jukora
