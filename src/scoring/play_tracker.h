// SPDX-License-Identifier: GPL-3.0-or-later
// Follows the plays of songs from what a player reports, look after look,
// and says when a play ends and how, so that the listening rule can judge
// it. A play is one run of a song from where it was first seen: a seek
// moves it on (or back) to the position reached; a jump back to the start
// without a seek (a song on repeat) ends it and begins the next; a change of
// song ends it where it was last seen (a Next, another song handed over,
// or the next song of gapless playback).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scoring/listening_rule.h"

namespace jukora {

// What the player says at one look.
struct PlayerLook {
  enum class State {
    kPlaying,
    kPaused,
    kStopped,
    kGone,    // no player runs
    kSilent,  // it did not answer in time: nothing is known
  };
  State state = State::kStopped;
  std::string song = {};  // the file it is at; empty: none it can name
  std::optional<milliseconds> position = {};
  std::optional<milliseconds> length = {};  // zero counts as not known
  bool seeked = false;                      // it told of a seek since the last look
};

// A play that has ended.
struct EndedPlay {
  std::string song;
  PlayFacts facts;
  // How old the last position seen may be: a look's interval while the
  // song played, none while it stood paused.
  milliseconds margin{0};
  // The person changed the song's score by hand during the play.
  bool by_hand = false;
};

class PlayTracker {
 public:
  // `poll` is the time between two looks.
  explicit PlayTracker(milliseconds poll) : poll_(poll) {}

  // One look at the player; gives the play it ended, if any.
  std::optional<EndedPlay> look(const PlayerLook& player);
  // The player told of a seek to `position` in the song it plays.
  void seeked(milliseconds position);
  // Jukora's own Skip: the play going on is left, whatever the player does next.
  void leaving();
  // A score change by hand to `song`; during its play it takes the place of
  // what listening would have given.
  void scored_by_hand(std::string_view song);
  // Jukora quits: the play going on ends without a judgement.
  void quit() { play_.reset(); }

  // The song of the play going on; empty when none is.
  std::string_view song() const { return play_ ? std::string_view(play_->song) : std::string_view(); }

 private:
  struct Play {
    std::string song;
    std::optional<milliseconds> length = {}, position = {};
    bool paused = false;
    bool left = false;
    bool by_hand = false;
  };

  std::optional<EndedPlay> end(PlayEnd how);

  milliseconds poll_;
  std::optional<Play> play_;
};

// The step an ended play gives its song's score under `rule`: none when the
// person's word came first, by a change during the play or one still
// waiting for a busy player as it ended.
int judged_step(const EndedPlay& play, const ListeningRule& rule, bool hand_change_waiting);

}  // namespace jukora
