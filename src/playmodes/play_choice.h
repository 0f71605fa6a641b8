// SPDX-License-Identifier: GPL-3.0-or-later
// What the mode menu asks the play modes for, whatever its items show: a
// cycle over the whole list or its top rows, or that part of the list
// written as the player's playlist.
#pragma once

namespace jukora {

// How much of the list, from the top: every row, or the top 20.
enum class Scope { kAll, kTop20 };

// A Countdown or Countup item: feed the scope to the player one song at a
// time, or write it as the player's playlist and start the player on it.
struct PlayChoice {
  bool playlist = false;
  Scope scope = Scope::kAll;
};

inline constexpr PlayChoice kCycleAll{false, Scope::kAll};
inline constexpr PlayChoice kCycleTop20{false, Scope::kTop20};
inline constexpr PlayChoice kPlaylistAll{true, Scope::kAll};
inline constexpr PlayChoice kPlaylistTop20{true, Scope::kTop20};

}  // namespace jukora
