// SPDX-License-Identifier: GPL-3.0-or-later
// How the program follows an MPRIS player between its reports: the status
// the play cycle sees, the song it names, whether a song handed over has
// begun to play, and whether the player went on to a track of its own after
// the cycle's song. The link feeds it what the player reports and when; the
// time is passed in, so every rule can be tested without a player.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "player/player_link.h"

namespace jukora {

class MprisWatch {
 public:
  using Time = std::chrono::steady_clock::time_point;

  // How long a song handed over may take to play before the player's own
  // status counts again.
  static constexpr std::chrono::seconds kHandOverWait{5};
  // A track change this close to the end of the followed song is its end.
  static constexpr std::chrono::milliseconds kEndSlack{1500};

  // What the player reported, as signals and replies bring it; `as_of`,
  // when the report tells of an earlier moment than `now` (the reply to a
  // poll sent then).
  void set_status(std::string_view playback_status, Time now, std::optional<Time> as_of = std::nullopt);
  // Its Metadata: xesam:url (nothing when it names no track) and mpris:length.
  void set_track(std::optional<std::string> url, std::optional<std::int64_t> length_us, Time now,
                 std::optional<Time> as_of = std::nullopt);
  // Position, as a poll read it, or as the player announced after a seek.
  void set_position(std::int64_t position_us, Time now, bool seeked = false);
  // The player does not report a position at all.
  void no_position();
  // A new player, or none: everything learned is forgotten.
  void clear();

  // A song was handed over. It counts as playing only by what the player
  // reports after this: one already at the song may start it afresh, and
  // stop a moment first. With `follow` the next song of the play cycle
  // comes after it even where the player would go on to a track of its own;
  // the first song of a playlist is only awaited.
  void handed_over(std::string path, bool follow, Time now);
  // Nothing is awaited or followed any more.
  void stopped();
  // The program told the player to stop. Players answer before their
  // properties say so (Audacious names its track a moment longer): until
  // one says "Stopped" in a report made since, or kStopSettle has passed,
  // it is at no song.
  void told_to_stop(Time now);
  static constexpr std::chrono::seconds kStopSettle{2};
  // Whether the song last handed over is awaited still, and whether it was
  // seen playing since: the player said "Playing" and named it.
  bool awaiting(Time now);
  bool arrived() const { return arrived_; }
  // The player names the song awaited, in a report since it was handed
  // over, and does not say it plays it.
  bool holds_awaited(Time now);
  // The player says "Playing" and names no track.
  bool plays_unnamed() const;
  // The player went back to the very start a moment ago (a seek to 0 it
  // announced, or a jump of its position) and has named no other track
  // since: it may be between two tracks, the next one not named yet
  // (Audacious), and its position belongs to neither.
  bool at_track_start(Time now) const;

  // The status the play cycle sees.
  PlayStatus status(Time now);
  // The song the player is at, as scoring wants it.
  CurrentSong song(Time now);
  // Where the player is in its track, by the last reading and the time
  // since while it plays, and the track's length; nothing where it did not say.
  std::optional<std::chrono::milliseconds> position(Time now);
  std::optional<std::chrono::milliseconds> length() const;
  // Whether a look sooner than the next tick would help: a hand-over is
  // awaited, or the player says "Stopped" and its position has to tell.
  bool wants_look(Time now);

 private:
  enum class Phase {
    kNone,       // the player's own word counts
    kAwaiting,   // a song handed over has not been seen playing yet
    kFollowing,  // the cycle's song plays
    kPlayerOwn,  // it ended, and what the player plays now is its own choice
  };
  struct Reading {
    std::int64_t position;
    Time at;
  };

  const std::optional<std::string>& path() const { return path_; }
  PlayStatus reported_status(Time now) const;
  void update(Time now);
  // Where the followed song is now, by its last reading and the time since.
  std::chrono::microseconds followed_position(Time now) const;
  bool followed_song_ended(Time now) const;

  std::optional<std::string> status_;
  std::optional<Time> told_to_stop_;
  std::optional<std::string> url_;
  Time named_at_{};                     // when the player began to name url_
  std::optional<std::string> path_;     // the local file url_ names, decoded once
  std::optional<std::int64_t> length_;  // of the current track, when the player gives one
  std::deque<Reading> readings_;        // of the current track, oldest first
  bool reports_position_ = true;

  Phase phase_ = Phase::kNone;
  std::string awaited_;  // the song handed over (kAwaiting, kFollowing)
  bool follow_ = false;
  bool arrived_ = false;
  // When the last song was handed over, and whether the player has reported
  // since.
  Time handed_at_{};
  bool reported_since_hand_over_ = true;
  Time deadline_{};
  std::optional<std::string> own_url_;  // kPlayerOwn: the track it went on to, once seen
  Reading followed_{0, {}};
  std::optional<Time> back_to_start_;   // when the player last went back to the start
  std::optional<Reading> before_seek_;  // where the followed song was when the player last announced a seek
  bool followed_running_ = false;
  std::optional<std::int64_t> followed_length_;
};

}  // namespace jukora
