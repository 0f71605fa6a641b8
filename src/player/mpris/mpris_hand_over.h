// SPDX-License-Identifier: GPL-3.0-or-later
// Songs and playlists for the chosen MPRIS player, the way it can take them
// (OpenUri, its TrackList, its own command line), handed over now or once a
// player that is coming up is ready; and the player started by its command.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "player/player_link.h"

namespace jukora {

class MprisCalls;
class MprisPlayers;
class MprisSettings;
class MprisWatch;

class MprisHandOver {
 public:
  using Time = std::chrono::steady_clock::time_point;

  MprisHandOver(MprisCalls& calls, MprisPlayers& players, const MprisSettings& settings, MprisWatch& watch);

  // Called when a reply changed what the link would answer, and when the
  // player should be looked at soon.
  std::function<void()> on_news;
  std::function<void()> look_soon;

  // Runs the player's command, unless a player runs, is being looked at or
  // is coming up.
  void start();
  // A song, or with `playlist` the playlist file, for the player the link
  // has just chosen: handed over now when it is ready, else once it is (a
  // player that is not running is started for it).
  HandOver hand_over(const std::string& path, bool playlist);
  // A hand-over that waited goes out once the player is ready, and is told
  // through `tell` if the player refuses it; one that waits for a player
  // that is not coming is dropped.
  void settle(Time now, const std::function<void(const std::string&)>& tell);

  // A player started by its command has not shown up on the bus yet.
  bool starting(Time now) const { return start_deadline_ && now < *start_deadline_; }
  // A hand-over or a started player is awaited.
  bool waiting() const { return queued_ || start_deadline_; }
  // The player was told to stop: nothing waits for it any more.
  void forget() { queued_.reset(); }
  // Another player was chosen: whatever was started has come up.
  void player_changed() { start_deadline_.reset(); }

 private:
  struct Queued {
    std::string path;
    bool playlist;
  };

  HandOver hand_over_now(const std::string& path, bool playlist);
  void open_uri(const std::string& path);
  void run_with(const std::string& path);
  void replace_track_list(std::vector<std::string> songs);

  MprisCalls& calls_;
  MprisPlayers& players_;
  const MprisSettings& settings_;
  MprisWatch& watch_;
  std::optional<Time> start_deadline_;
  std::optional<Queued> queued_;
};

}  // namespace jukora
