// SPDX-License-Identifier: GPL-3.0-or-later
// How a play of a song moves its score when scores learn from listening: a
// play that reached the end gains 1, one left early (after a short grace,
// before a share of the song) loses 1, anything else leaves it as it was.
#pragma once

#include <chrono>
#include <optional>

namespace jukora {

using std::chrono::milliseconds;

// The three numbers a person may set in Preferences.
struct ListeningRule {
  // The end of a song: its last `end_percent` %, or its last 10 s when that
  // is shorter.
  int end_percent = 10;
  // A play left within its first `grace_seconds` never loses.
  int grace_seconds = 5;
  // A play left before `skip_percent` % of the song (after the grace) loses.
  int skip_percent = 50;
};

// How a play ended.
enum class PlayEnd {
  kLeft,     // Jukora's own Skip, the player's Next, or another song started in the player
  kStopped,  // stopped in the player
  kPaused,   // ended while it stood paused, by anything but leaving it
  kQuit,     // the player or Jukora quit
  kEnded,    // the player went on by itself: the song ran out, or started over
};

// What is known of a play when it ends.
struct PlayFacts {
  std::optional<milliseconds> length;    // nothing: the player does not know it
  std::optional<milliseconds> position;  // the last one seen; nothing: the player never said
  PlayEnd how = PlayEnd::kStopped;
};

// The longest end of a song, whatever its length.
inline constexpr milliseconds kLongestEnd{10'000};
// A song whose length is not known can only lose, and only when left
// within this time.
inline constexpr milliseconds kUnknownLengthSkip{60'000};

// The step a play gives its song's score: +1, -1 or 0. `poll` is how old the
// last position seen may be: a play counts as having reached the end when
// it may have done so since that position was seen.
int listening_step(const ListeningRule& rule, const PlayFacts& play, milliseconds poll);

class SettingsStore;
// The numbers as Preferences keep them, read afresh at each use.
ListeningRule read_listening_rule(const SettingsStore& store);

}  // namespace jukora
