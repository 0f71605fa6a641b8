// SPDX-License-Identifier: GPL-3.0-or-later
// Scoring the song the player is at (the Increment and Decrement tray
// buttons and the command line), and adding a song to the list by its
// directory and file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class PlayerLink;
class Desktop;
class PlayTimer;
struct CurrentSong;

class CurrentSongScoring {
 public:
  // `retry` ticks about four times a second while a score change waits for
  // a busy player.
  CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings, PlayerLink& link,
                     Desktop& desktop, PlayTimer& retry);

  // Raises the playing song's Score by one; adds the song when it is not
  // listed and "add_on_plus" is on. A busy player gets the change as soon as
  // it answers. The user hears what became of it.
  void increment_current_song();
  // Lowers it by one; "add_on_minus" decides about adding.
  void decrement_current_song();

  // Carries out the changes that wait for the player, if it answers now.
  // Whether any was waiting.
  bool run_waiting();
  // The retry timer's tick. A player that stays busy for a few seconds makes
  // the waiting changes go, and the user is told.
  void retry_Timer();

  // Told after each step this makes to a listed song's Score, once it is
  // saved: the song and its Score before and after.
  std::function<void(const std::string& dir, const std::string& file, std::int64_t before, std::int64_t after)>
      on_scored;

 private:
  void score(int step);
  // One step against the song at `path`; false when nothing changed.
  bool score_song(const std::string& dir, const std::string& file, int step);
  // What the user hears after a run: the new score, or why there is none.
  std::string outcome(const CurrentSong& song, int last_step, bool changed) const;

  Songlist& songlist_;
  SonglistFiles& files_;
  const SettingsStore& settings_;
  PlayerLink& link_;
  Desktop& desktop_;
  PlayTimer& retry_;
  // The steps of the clicks that wait for the player, in order.
  std::vector<int> waiting_;
  int retries_ = 0;
  bool running_ = false;
};

// Appends the song as a new row (replacing the placeholder row of an empty
// list), recomputes and saves. Names may hold any character, tabs included.
void add_song_row(Songlist& songlist, SonglistFiles& files, std::string_view directory, std::string_view file);

}  // namespace jukora
