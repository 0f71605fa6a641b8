// SPDX-License-Identifier: GPL-3.0-or-later
// Scoring the song the player is at (the Increment and Decrement tray
// buttons and the command line), and adding a song to the list by its
// directory and file.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/reported_song.h"
#include "songlist/songlist_change.h"

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class PlayerLink;
class Desktop;
class Timer;
struct CurrentSong;

class CurrentSongScoring {
 public:
  // `retry` ticks about four times a second while a score change waits for
  // a busy player.
  CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings, PlayerLink& link,
                     Desktop& desktop, Timer& retry);

  // Raises the playing song's Score by one; adds the song when it is not
  // listed and "add_on_plus" is on. A busy player gets the change as soon as
  // it answers. The user hears what became of it. `source`, the tray unless
  // the command line or the remote asked, goes with the change.
  void increment_current_song(ChangeSource source = ChangeSource::kTray);
  // Lowers it by one; "add_on_minus" decides about adding.
  void decrement_current_song(ChangeSource source = ChangeSource::kTray);

  // Carries out the changes that wait for the player, if it answers now.
  // Whether any was waiting.
  bool run_waiting();
  // Whether changes wait for the player now.
  bool has_waiting() const { return !waiting_.empty(); }
  // The retry timer's tick. A player that stays busy for a few seconds makes
  // the waiting changes go, and the user is told.
  void retry();

  // How a song the player names, but the list does not hold, is looked at:
  // on a worker thread, within what is left of the click's time.
  std::function<SongFileLook(const std::string&)> look_at_song = [](const std::string& path) {
    return look_at_song_file(path, std::chrono::milliseconds(70));
  };

 private:
  struct Click {
    int step = 0;
    ChangeSource source = ChangeSource::kTray;
  };

  void score(Click click);
  // One step against the song at `path`; false when nothing changed.
  bool score_song(const std::string& dir, const std::string& file, Click click);
  // What the user hears after a run: the new score of the song at `path`,
  // or why there is none.
  std::string outcome(const CurrentSong& song, const std::string& path, int last_step, bool changed) const;

  Songlist& songlist_;
  SonglistFiles& files_;
  const SettingsStore& settings_;
  PlayerLink& link_;
  Desktop& desktop_;
  Timer& retry_;
  // The steps of the clicks that wait for the player, in order, and when the
  // first of them came: they go to the song the player reports since.
  std::vector<Click> waiting_;
  std::chrono::steady_clock::time_point asked_{};
  int retries_ = 0;
  bool running_ = false;
};

// Appends the song as a new row (replacing the placeholder row of an empty
// list), recomputes and saves. Names may hold any character, tabs included.
void add_song_row(Songlist& songlist, SonglistFiles& files, std::string_view directory, std::string_view file);

}  // namespace jukora
