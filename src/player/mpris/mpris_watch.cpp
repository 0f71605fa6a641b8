// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/mpris/mpris_watch.h"

#include <algorithm>
#include <utility>

#include "player/file_url.h"
#include "player/mpris/mpris_rules.h"

namespace jukora {

namespace {

using std::chrono::duration_cast;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// Two positions closer in time than this tell nothing about movement.
constexpr milliseconds kReadingSpan{100};
// A seek this shortly before a change of track may belong to the change.
constexpr milliseconds kSeekSettle{500};
// A position this close to the start, after one further on, is a track
// begun again or the next one.
constexpr std::int64_t kNearStart = 1'000'000;
// A track not past this has not been heard yet.
constexpr std::int64_t kAtStart = 100'000;

}  // namespace

void MprisWatch::set_status(std::string_view playback_status, Time now, std::optional<Time> as_of) {
  if (as_of.value_or(now) >= handed_at_) reported_since_hand_over_ = true;
  if (phase_ == Phase::kFollowing && path() == awaited_) {
    // A pause holds the followed song where it is.
    followed_ = {followed_position(now).count(), now};
    followed_running_ = playback_status == "Playing";
  }
  status_ = std::string(playback_status);
  if (told_to_stop_ && as_of.value_or(now) >= *told_to_stop_ && play_status_of(*status_) == PlayStatus::kStopped)
    told_to_stop_.reset();
  update(now);
}

void MprisWatch::set_track(std::optional<std::string> url, std::optional<std::int64_t> length_us, Time now,
                           std::optional<Time> as_of) {
  if (as_of.value_or(now) >= handed_at_) reported_since_hand_over_ = true;
  if (url != url_) {
    readings_.clear();
    back_to_start_.reset();
    named_at_ = now;
    path_ = url ? path_from_file_url(*url) : std::nullopt;
  }
  url_ = std::move(url);
  // A length of 0 (Qmmp's first reports) says nothing of the track.
  length_ = length_us && *length_us > 0 ? length_us : std::nullopt;
  if (phase_ == Phase::kFollowing && path() == awaited_ && length_) followed_length_ = length_;
  update(now);
}

void MprisWatch::set_position(std::int64_t position_us, Time now, bool seeked) {
  reports_position_ = true;
  const bool jumped_back =
      !readings_.empty() && position_us < kNearStart && readings_.back().position > position_us + kNearStart;
  if (seeked ? position_us == 0 : jumped_back) back_to_start_ = now;
  if (seeked) readings_.clear();
  readings_.push_back({position_us, now});
  while (readings_.size() > 2 && now - readings_[1].at >= kReadingSpan) readings_.pop_front();
  if (phase_ == Phase::kFollowing && path() == awaited_) {
    // A poll may read the position of the track that comes next before the
    // track's name changes: only a seek takes the followed song back.
    const std::int64_t reached = followed_position(now).count();
    if (seeked) before_seek_ = Reading{reached, now};
    followed_ = {seeked ? position_us : std::max(position_us, reached), now};
  }
  update(now);
}

void MprisWatch::no_position() { reports_position_ = false; }

void MprisWatch::clear() { *this = MprisWatch(); }

void MprisWatch::handed_over(std::string path, bool follow, Time now) {
  told_to_stop_.reset();
  phase_ = Phase::kAwaiting;
  awaited_ = std::move(path);
  follow_ = follow;
  arrived_ = false;
  deadline_ = now + kHandOverWait;
  handed_at_ = now;
  reported_since_hand_over_ = false;
  // The song starts afresh even if the player was at it already.
  readings_.clear();
  update(now);
}

void MprisWatch::stopped() { phase_ = Phase::kNone; }

void MprisWatch::told_to_stop(Time now) {
  stopped();
  told_to_stop_ = now;
}

bool MprisWatch::awaiting(Time now) {
  update(now);
  return phase_ == Phase::kAwaiting;
}

bool MprisWatch::holds_awaited(Time now) {
  update(now);
  return phase_ == Phase::kAwaiting && reported_since_hand_over_ && path() == awaited_ && status_ &&
         *status_ != "Playing";
}

bool MprisWatch::at_track_start(Time now) const { return back_to_start_ && now - *back_to_start_ < kSeekSettle; }

bool MprisWatch::plays_unnamed() const { return !url_ && status_ && play_status_of(*status_) == PlayStatus::kPlaying; }

PlayStatus MprisWatch::status(Time now) {
  update(now);
  if (phase_ == Phase::kAwaiting) return PlayStatus::kBusy;
  if (phase_ == Phase::kPlayerOwn) return PlayStatus::kStopped;
  return reported_status(now);
}

CurrentSong MprisWatch::song(Time now) {
  update(now);
  if (phase_ == Phase::kAwaiting || !status_) return CurrentSong::busy();
  if (told_to_stop_ && now - *told_to_stop_ < kStopSettle) return CurrentSong::no_song();
  if (path_) return CurrentSong::song(*path_);
  return url_ ? CurrentSong::unnamed(file_url_problem(*url_)) : CurrentSong::no_song();
}

std::optional<std::chrono::milliseconds> MprisWatch::position(Time now) {
  if (readings_.empty() || !reports_position_) return std::nullopt;
  const Reading& last = readings_.back();
  microseconds at{last.position};
  if (reported_status(now) == PlayStatus::kPlaying) at += duration_cast<microseconds>(now - last.at);
  if (at.count() < 0) return std::nullopt;
  return duration_cast<std::chrono::milliseconds>(at);
}

std::optional<std::chrono::milliseconds> MprisWatch::length() const {
  if (!length_ || *length_ <= 0) return std::nullopt;
  return duration_cast<std::chrono::milliseconds>(microseconds(*length_));
}

bool MprisWatch::wants_look(Time now) {
  update(now);
  return phase_ == Phase::kAwaiting || (status_ && reported_status(now) == PlayStatus::kBusy);
}

PlayStatus MprisWatch::reported_status(Time now) const {
  if (!status_) return PlayStatus::kBusy;
  const PlayStatus said = play_status_of(*status_);
  if (said != PlayStatus::kStopped || !url_ || !reports_position_) return said;
  // Some players keep saying "Stopped" while they play (mpv's MPRIS script
  // 0.7 does after its first idle), others say it at the end of a track they
  // still name. A position that moves is believed over the word; until two
  // readings tell, the answer is "ask again".
  if (readings_.size() < 2 || readings_.back().at - readings_.front().at < kReadingSpan) return PlayStatus::kBusy;
  if (readings_.back().position > readings_.front().position) return PlayStatus::kPlaying;
  // A track just named that stands at its start may not have begun yet: a
  // loaded machine can keep it there for a second or more, and taken as a
  // stop, the player's own Next would look like one.
  if (readings_.back().position < kAtStart && now - named_at_ < kHandOverWait) return PlayStatus::kBusy;
  return PlayStatus::kStopped;
}

microseconds MprisWatch::followed_position(Time now) const {
  microseconds position{followed_.position};
  if (followed_running_) position += duration_cast<microseconds>(now - followed_.at);
  return position;
}

// How the next song of the cycle is told from a track the user starts: a
// player that goes on by itself (its library, its queue, songs that an
// earlier OpenUri appended) changes track when the followed song ends; a
// user picks another track while it still plays. So a change of track counts
// as the player's own when the followed song had reached its end, within
// kEndSlack of its mpris:length, by the time it has played (pauses held)
// or the position the player reported, whichever is further, or where a
// seek the player announced took it. An earlier change is the user's, and stays: the
// cycle waits for it like for any song. A song whose length the player does
// not give cannot be judged, and its successor is left playing too.
bool MprisWatch::followed_song_ended(Time now) const {
  if (!followed_length_) return false;
  microseconds reached = followed_position(now);
  // Some players (Audacious) announce a seek to the start as the next track
  // begins, just before they name it: a seek that recent does not count.
  if (before_seek_ && now - before_seek_->at < kSeekSettle)
    reached =
        std::max(reached, microseconds(before_seek_->position) + duration_cast<microseconds>(now - before_seek_->at));
  return reached >= microseconds(*followed_length_) - kEndSlack;
}

void MprisWatch::update(Time now) {
  if (phase_ == Phase::kAwaiting && now >= deadline_) phase_ = Phase::kNone;
  const auto& current = path();
  switch (phase_) {
    case Phase::kNone:
      break;
    case Phase::kAwaiting:
      // Only the song named: a player coming up says "Playing" before it
      // names what it plays.
      if (reported_since_hand_over_ && current == awaited_ && reported_status(now) == PlayStatus::kPlaying) {
        phase_ = follow_ ? Phase::kFollowing : Phase::kNone;
        arrived_ = true;
        followed_ = {0, now};
        before_seek_.reset();
        followed_running_ = true;
        followed_length_ = length_;
        if (!readings_.empty()) followed_ = readings_.back();
      }
      break;
    case Phase::kFollowing:
      if (current == awaited_) break;
      if (followed_song_ended(now)) {
        // Between two tracks some players name none for a moment.
        phase_ = Phase::kPlayerOwn;
        own_url_ = url_;
      } else {
        phase_ = Phase::kNone;
      }
      break;
    case Phase::kPlayerOwn:
      if (!own_url_) {
        own_url_ = url_;
      } else if (url_ != own_url_ || play_status_of(status_.value_or("")) == PlayStatus::kPaused) {
        phase_ = Phase::kNone;
      }
      break;
  }
}

}  // namespace jukora
