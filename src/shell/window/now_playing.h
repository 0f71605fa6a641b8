// SPDX-License-Identifier: GPL-3.0-or-later
// The song the player is at, kept in view: its row marked in the grid,
// "Show Playing" (Ctrl+J and the mode menu) and, on Linux, the D-Bus
// interface that tells desktop widgets, shell extensions and scripts about
// it and takes their commands. It follows the player with its own quiet
// lookup, never the play cycle's tick.
#pragma once

#include <QDBusConnection>
#include <functional>
#include <memory>
#include <string>

#include "shell/commands.h"
#include "shell/window/playing_song.h"

namespace jukora {

class DbusInterface;
class Form1;
class Intents;
class PlayerLink;
class SettingsStore;
class SongEvents;
class Songlist;

class NowPlaying {
 public:
  using RunCommand = std::function<void(const CommandCall&)>;

  // Commands from the bus go to `run`, in the order the remote's go.
  NowPlaying(PlayerLink& link, const SettingsStore& settings, Songlist& songlist, Form1& window, Intents& intents,
             SongEvents& events, RunCommand run);
  ~NowPlaying();
  NowPlaying(const NowPlaying&) = delete;
  NowPlaying& operator=(const NowPlaying&) = delete;

  // The lookups begin.
  void start();
  // The D-Bus interface offered on `bus` (Linux; the program's session
  // bus). Nothing without a bus, or when it cannot be had.
  void offer_on_bus(const QDBusConnection& bus);

  // The window shown with the playing song's row selected and in view; the
  // status line says why when there is none.
  void show_playing();

  PlayingSong& playing() { return playing_; }
  // The interface on the bus, or null (no bus, or Windows).
  DbusInterface* bus_interface() { return bus_.get(); }

 private:
  // The mark and the properties follow the song and its score.
  void follow();
  // The data row of the playing song, 0 when none or not listed.
  int playing_row() const;

  Songlist& songlist_;
  Form1& window_;
  Intents& intents_;
  RunCommand run_;
  PlayingSong playing_;
  std::unique_ptr<DbusInterface> bus_;
};

}  // namespace jukora
