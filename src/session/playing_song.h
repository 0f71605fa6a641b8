// SPDX-License-Identifier: GPL-3.0-or-later
// The song the player is at, asked for quietly every two seconds, apart
// from the play cycle's tick: whatever the player says is never shown to
// the user, and a player that does not answer in time keeps its last song.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace jukora {

class Desktop;
class EventLoop;
class PlayerLink;
class SettingsStore;
class Timer;

inline constexpr std::chrono::milliseconds kPlayingLookup{2000};

class PlayingSong {
 public:
  PlayingSong(PlayerLink& link, const SettingsStore& settings, const Desktop& desktop, EventLoop& loop);
  ~PlayingSong();

  // The lookups begin.
  void start();
  // One lookup now.
  void look_up();

  // The local file the player is at; empty when it is at none (stopped,
  // not running, a stream).
  const std::string& path() const { return path_; }

  // After each lookup that was answered.
  std::function<void()> on_look_up;

 private:
  PlayerLink& link_;
  const SettingsStore& settings_;
  const Desktop& desktop_;
  std::unique_ptr<Timer> timer_;
  std::string path_;
};

}  // namespace jukora
