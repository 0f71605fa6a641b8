// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/play_tracker.h"

namespace jukora {

namespace {

// How far a position may seem to go back between two looks without a jump:
// players round and report late.
constexpr milliseconds kJitter{500};

}  // namespace

std::optional<EndedPlay> PlayTracker::look(const PlayerLook& player) {
  using State = PlayerLook::State;
  switch (player.state) {
    case State::kSilent:
      return std::nullopt;
    case State::kGone:
      return end(PlayEnd::kQuit);
    case State::kStopped:
      return end(play_ && play_->paused ? PlayEnd::kPaused : PlayEnd::kStopped);
    case State::kPlaying:
    case State::kPaused:
      break;
  }
  // Between two songs a player may name none for a moment: that tells nothing.
  if (player.song.empty()) return std::nullopt;
  std::optional<EndedPlay> ended;
  if (play_ && play_->song != player.song) {
    ended = end(PlayEnd::kLeft);
  } else if (play_ && play_->position && player.position && !player.seeked) {
    // Back at the start with no seek told: the song began again (repeat),
    // after the play before was as far as it got.
    const milliseconds was = *play_->position, now = *player.position;
    if (now + kJitter < was && now <= poll_ + kJitter) ended = end(PlayEnd::kEnded);
  }
  if (!play_) play_ = Play{.song = player.song};
  if (player.position) play_->position = player.position;
  if (player.length && *player.length > milliseconds::zero()) play_->length = player.length;
  play_->paused = player.state == State::kPaused;
  return ended;
}

void PlayTracker::seeked(milliseconds position) {
  if (play_) play_->position = position;
}

void PlayTracker::leaving() {
  if (play_) play_->left = true;
}

void PlayTracker::scored_by_hand(std::string_view song) {
  if (play_ && play_->song == song) play_->by_hand = true;
}

std::optional<EndedPlay> PlayTracker::end(PlayEnd how) {
  if (!play_) return std::nullopt;
  // Jukora's Skip shows in the player as a stop (or as the next song);
  // only quitting says less.
  if (play_->left && how != PlayEnd::kQuit) how = PlayEnd::kLeft;
  EndedPlay ended{std::move(play_->song),
                  {play_->length, play_->position, how},
                  play_->paused ? milliseconds::zero() : poll_,
                  play_->by_hand};
  play_.reset();
  return ended;
}

int judged_step(const EndedPlay& play, const ListeningRule& rule, bool hand_change_waiting) {
  if (play.by_hand || hand_change_waiting) return 0;
  return listening_step(rule, play.facts, play.margin);
}

}  // namespace jukora
