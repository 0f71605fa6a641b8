// SPDX-License-Identifier: GPL-3.0-or-later
// Songs and playlists for the chosen MPRIS player, the way it can take them
// (OpenUri, its TrackList, its own command line), handed over now or once a
// player that is coming up is ready; whether a song handed over plays, with
// the player's command tried when OpenUri took the song and nothing played;
// and the player started by its command.
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
  // player that is not running is started for it). A song that is awaited
  // already is not handed over again.
  HandOver hand_over(const std::string& path, bool playlist);
  // A hand-over that waited goes out once the player is ready, and is told
  // through `tell` if the player refuses it; one that waits for a player
  // that is not coming is dropped. A song that was not seen playing in time
  // gets the player's command, where one is known, else counts as missed.
  void settle(Time now, const std::function<void(const std::string&)>& tell);
  // What became of the song handed over last.
  Arrival arrival() const { return awaited_ && awaited_->outcome ? *awaited_->outcome : awaiting_or_plays(); }

  // A player started by its command has not shown up on the bus yet.
  bool starting(Time now) const { return start_deadline_ && now < *start_deadline_; }
  // A hand-over, a started player or a song's first play is awaited.
  bool waiting() const { return queued_ || start_deadline_ || (awaited_ && !awaited_->outcome); }
  // The player was told to stop: nothing waits for it any more.
  void forget() {
    queued_.reset();
    awaited_.reset();
  }
  // Another player was chosen: whatever was started has come up, and a
  // song the last one had taken will not play.
  void player_changed();

 private:
  struct Queued {
    std::string path;
    bool playlist;
  };
  // A song handed over, until it is seen playing or given up on.
  struct Awaited {
    std::string path;
    bool by_command = false;  // the player's command had it: no other way is left
    std::optional<Arrival> outcome;
    bool play_asked = false;  // the player held it without playing, and was asked to play
  };

  Arrival awaiting_or_plays() const { return {awaited_ ? Arrival::State::kAwaited : Arrival::State::kPlays, {}}; }
  HandOver hand_over_now(const std::string& path, bool playlist);
  // Whether the song awaited has played, or when it cannot any more, why.
  void judge(Time now);
  // `any_song`: the player takes none the way it is set up.
  void missed(std::string reason, bool any_song = false) {
    awaited_->outcome = Arrival{Arrival::State::kMissed, std::move(reason), any_song};
  }
  void open_uri(const std::string& path);
  // The running player's own command for the file, where one is known.
  std::optional<std::vector<std::string>> running_copy_command(const std::string& path, bool playlist) const;
  // Runs it; false when there is none, or it could not be run.
  bool run_with(const std::string& path, bool playlist);
  void replace_track_list(std::vector<std::string> songs);

  MprisCalls& calls_;
  MprisPlayers& players_;
  const MprisSettings& settings_;
  MprisWatch& watch_;
  std::optional<Time> start_deadline_;
  std::optional<Queued> queued_;
  std::optional<Awaited> awaited_;
};

}  // namespace jukora
