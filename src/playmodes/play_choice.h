// SPDX-License-Identifier: GPL-3.0-or-later
// What the mode menu asks the play modes for, whatever its items show: a
// cycle over the whole list or its top rows, or (Countdown, Countup) that
// part of the list written as the player's playlist.
#pragma once

namespace jukora {

// How much of the list, from the top: every row, or the top 20.
enum class Scope { kAll, kTop20 };

// The order a choice plays the songs in.
enum class PlayOrder { kRandom, kCountdown, kCountup };

struct PlayChoice {
  PlayOrder order = PlayOrder::kRandom;
  Scope scope = Scope::kAll;
  // Countdown and Countup: the scope written as the player's playlist and
  // the player started on it, instead of a cycle.
  bool playlist = false;
};

}  // namespace jukora
