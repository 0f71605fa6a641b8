// SPDX-License-Identifier: GPL-3.0-or-later
// Scores that learn from listening ("Learn scores from listening" in
// Preferences): follows the plays of what the player is at, judges each
// play that ends by the listening rule, and makes the change to a listed
// song as an undo step of its own, told like every score change. The
// person's word wins: a hand change to the song during its play, or one
// still waiting for a busy player when it ends, leaves listening out.
#pragma once

#include <string>
#include <vector>

#include "scoring/play_tracker.h"
#include "songlist/song_events.h"

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class Desktop;

class ListeningScores {
 public:
  // `poll` is the time between two looks at the player.
  ListeningScores(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings, Desktop& desktop,
                  milliseconds poll);

  // One look at the player, before the play cycle acts on what it shows.
  // While the option is off nothing is followed, and a play going on when
  // it is turned off is forgotten.
  void look(const PlayerLook& player, bool hand_change_waiting);
  // The player told of a seek.
  void seeked(milliseconds position) { tracker_.seeked(position); }
  // Jukora's own Skip is about to stop or replace the song.
  void leaving() { tracker_.leaving(); }
  // Every score change made, as the song events tell them.
  void scores_changed(const std::vector<ScoreChange>& changes);
  // Jukora quits.
  void quit() { tracker_.quit(); }

 private:
  void judge(const EndedPlay& play, bool hand_change_waiting);

  Songlist& songlist_;
  SonglistFiles& files_;
  const SettingsStore& settings_;
  Desktop& desktop_;
  PlayTracker tracker_;
};

}  // namespace jukora
