// The play modes: the timer-driven play cycles that feed the player one song
// at a time, the playlist export, direct play of one row, Skip and "Stop
// Winamp". Form1 owns one and forwards the menu, timer and grid events.
#pragma once

#include <string>
#include <string_view>

#include "playmodes/play_cycle.h"

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class WinampLink;
class Desktop;
class Clock;
class PlayTimer;
class ReplayLimit;

class PlayModes {
 public:
  PlayModes(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, WinampLink& link, Desktop& desktop,
            Clock& clock, PlayTimer& tmrJukora);

  const PlayCycle& cycle() const { return cycle_; }
  void set_cycle(const PlayCycle& cycle) { cycle_ = cycle; }

  // Submenu handlers, dispatching on the chosen item's caption.
  void mnuRandom_Click(std::string_view caption);
  void mnuDescending_Click(std::string_view caption);
  void mnuAscending_Click(std::string_view caption);

  // Empties the Mark column of every data row.
  void clear_marks();

  // The timer's tick: while the player plays or is paused nothing happens;
  // once it has stopped, the next song of the cycle is handed over.
  void tmrJukora_Timer();

  // The next-song steps of play modes 1, 2, 3 and 6.
  void next_random_all();
  void next_countdown();
  void next_countup();
  void next_random_top();

  // Whether data row k may be played again under the Random "All" cycle.
  bool replay_test(int k);

  // "Playlist All" / "Playlist Top 20": the player's playlist file in score
  // order (top down) or reverse order, and the player started on it.
  void makePlayAsc(std::string_view caption);
  void makePlayDesc(std::string_view caption);

  // Plays the current row at once and records the time (double-click, Enter).
  void MSFlexGrid1_DblClick();

  // The Skip button: stops the song so the cycle moves on, or starts Random
  // "All" (keeping the marks) when no cycle is set.
  void skip_song();
  // "Stop Winamp": ends the cycle and stops the player; the player keeps running.
  void stop_winamp();

 private:
  enum class Record { kLastPlayed, kMark };

  void start_cycle(std::int16_t play_mode, std::int32_t play_scope);
  // Reads "winamp_dir" into `dir`; when its executable is missing, ends the
  // cycle and tells the user.
  bool executable_ready(std::string& dir);
  void stop_player();
  // Hands row `row` to the player, or ends the cycle when it is 0.
  void hand_over(const std::string& dir, int row, Record record);
  bool is_song(int row) const;
  // The test of Countdown, Countup and Random "Top 20": a song not played
  // yet in this cycle.
  bool unmarked(int row) const;
  ReplayLimit replay_limit();
  // The scope of the step: play_scope, no more than the data rows.
  int step_scope() const;
  // r * bound rounded half to even, plus 1, with r drawn in single precision.
  int draw(int bound);
  void export_playlist(std::string_view caption, bool descending);

  Songlist& songlist_;
  SonglistFiles& files_;
  SettingsStore& settings_;
  WinampLink& link_;
  Desktop& desktop_;
  Clock& clock_;
  PlayTimer& tmrJukora_;
  PlayCycle cycle_;
};

}  // namespace jukora
