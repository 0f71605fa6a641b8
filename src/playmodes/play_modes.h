// SPDX-License-Identifier: GPL-3.0-or-later
// The play modes: the timer-driven play cycles that feed the player one song
// at a time, the playlist export, direct play of one row, Skip and Stop. The
// session owns them and hands them the mode menu's choices, the cycle
// timer's ticks and the rows to play.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_reach.h"
#include "playmodes/odds_words.h"
#include "playmodes/play_choice.h"
#include "playmodes/play_cycle.h"
#include "playmodes/random_odds.h"
#include "songlist/song_cells.h"

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class PlayerLink;
class Desktop;
class Clock;
class Timer;
class ReplayLimit;
class SongEvents;

class PlayModes {
 public:
  PlayModes(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, PlayerLink& link, Desktop& desktop,
            Clock& clock, Timer& cycle_timer);

  const PlayCycle& cycle() const { return cycle_; }
  void set_cycle(const PlayCycle& cycle) { cycle_ = cycle; }

  // Set by the program: carries out the score changes that wait for a busy
  // player and tells whether any was waiting. A tick that finds one hands
  // over no song, so that the score goes to the song the player is still at.
  std::function<bool()> score_first;

  // Told of every song a cycle or a direct play hands over and the player
  // takes, before the list is saved. Set by the program.
  const SongEvents* song_events = nullptr;

  // Told of the row a Random cycle hands over, as the player takes it and
  // before anything of it is recorded. Set by the program.
  std::function<void(int row)> on_random_pick;

  // How a song file is looked at before it is handed over: on a worker
  // thread, within the deadline.
  std::function<FileReach(const std::string&, std::chrono::milliseconds)> look_at_song =
      [](const std::string& path, std::chrono::milliseconds deadline) { return reach_file(path, deadline); };

  // The Random, Countdown and Countup items: a cycle over the scope, or
  // (Countdown, Countup) the scope as the player's playlist.
  void start_cycle(PlayChoice choice);

  // Empties the Mark column of every data row.
  void clear_marks();

  // The cycle timer's tick: while the player plays, is paused or is busy
  // nothing happens; once it has stopped, the next song of the cycle is
  // handed over.
  void tick();

  // The next-song steps of play modes 1, 2, 3 and 6.
  void next_random_all();
  void next_countdown();
  void next_countup();
  void next_random_top();

  // Whether data row k may be played again under the Random "All" cycle.
  bool replay_test(int k);

  // The row the next step of Random "All" or "Top 20" takes when drawn now;
  // 0 when none may play. Nothing is recorded or handed over.
  int choose_random_all();
  int choose_random_top();
  // How likely each row is to be handed over at the next pick of either
  // Random cycle: of the one that runs, or of one started now (over every
  // row for "All", with no marks for "Top 20").
  ListOdds odds();
  // What a row's tooltip tells of `odds`, as odds() gave them, and of when
  // the row may play again.
  RowOdds row_odds(const ListOdds& odds, int row);
  // That, as the tooltip's line says it.
  std::string odds_words(const ListOdds& odds, int row);
  // What the "Chance %" column shows of `odds` for data row `row`: its
  // chance in Random "Top 20" while one runs, else in Random "All"; empty
  // for a row past the list.
  std::string chance_words(const ListOdds& odds, int row) const;

  // The scope as the player's playlist file in score order (top down), or
  // in reverse order when `descending`, and the player started on it.
  void export_playlist(Scope scope, bool descending);

  // Plays data row `row` at once and records the time (double-click, Enter).
  // A row that cannot be handed over is named to the user instead; when the
  // player does not play it after all, its Last Played is put back and the
  // user is told.
  void play_row(int row);

  // The Skip button: stops the song so the cycle moves on, or starts Random
  // "All" (keeping the marks) when no cycle is set. The next tick hands over
  // a song even if the player ignored the Stop.
  void skip();
  // "Stop Winamp" (or the player in use): ends the cycle and stops the
  // player, whichever it is; the player keeps running.
  void stop_player();
  // The program ends: a direct play still awaited counts as played as it
  // stands, as its Last Played is saved, and is told.
  void settle_before_exit();

 private:
  // The longest look at one song file in a tick, the shortest one worth
  // making, and how long into a tick (or a direct play) looks may go on:
  // with the player's own waits, an event stays within a quarter of a second.
  static constexpr std::chrono::milliseconds kLookDeadline{100};
  static constexpr std::chrono::milliseconds kShortestLook{30};
  static constexpr std::chrono::milliseconds kLookBudget{140};
  // Ticks in a row a song file may leave a look unanswered before it counts
  // as unreachable.
  static constexpr int kLookTries = 3;

  enum class Record { kLastPlayed, kMark };
  // Why a chosen row was not played.
  enum class Pass { kNotLocal, kMissing, kUnreachable, kRefused, kNotPlayed, kCount };
  // The songs a cycle passed over, for the one word to the user about them.
  struct PassedOver {
    int counts[static_cast<int>(Pass::kCount)] = {};
    std::string refusal;     // the player's words for the last song it refused
    std::string not_played;  // and for the last one it took and did not play
    bool told = false;
  };
  // Songs the player took and never played, in a row, after which the cycle
  // stops.
  static constexpr std::size_t kMissesInARow = 3;

  // The song handed over last, until the player is seen playing it: only
  // then does a cycle record it as played, and nothing else is handed over
  // meanwhile. A direct play records its Last Played at once, and puts the
  // one before back when the song does not play.
  struct InFlight {
    std::string directory, file;
    Record record;
    bool direct = false;
    LastPlayed last_played_before = {}, last_played_now = {};
  };

  void begin(PlayMode play_mode, std::int32_t play_scope);
  // The play_scope a cycle over `scope` starts with.
  std::int32_t cycle_scope(Scope scope) const;
  // Reads "winamp_dir" into `dir`; when its executable is missing, ends the
  // cycle and tells the user.
  bool executable_ready(std::string& dir);
  // Stops the player when it runs.
  void stop_link();
  // Once the player's executable is there, hands over the rows `choose`
  // picks, one after another, until one plays, none is left (the cycle ends)
  // or the player is busy. Rows that cannot be played are recorded as played
  // and passed over, as long as the tick's time allows.
  void feed(const std::function<int()>& choose, Record record);
  void record_played(int row, Record record);
  // What became of the song in flight: recorded and saved once it plays;
  // the cycle ends when the player took it and did not play it. False while
  // it is awaited, and when the cycle ended over it.
  bool land_in_flight();
  // The song in flight plays: a cycle's is recorded as played and saved; a
  // direct play's, recorded already, is told.
  void record_in_flight();
  // The song in flight did not play: a direct play's Last Played is put
  // back; a cycle goes on without it, or stops after kMissesInARow of them.
  // False when the cycle stopped.
  bool in_flight_missed(const std::string& reason);
  // A song the player did not play in this cycle: not chosen again.
  bool not_played(int row) const;
  // The player cannot play songs the way it is set up: the cycle ends, with
  // `reason` told (unless empty: told already), and nothing more is marked.
  void player_failed(const std::string& reason);
  // Why `song` cannot be played now; nothing when it can. `ask_again` is set
  // when the look at the file got no answer in time, but too few times yet to
  // give up on it.
  std::optional<Pass> unplayable(const std::string& song, std::chrono::milliseconds deadline, bool& ask_again);
  void end_cycle(bool passed_over_now);
  // Why a Random cycle ended with songs left that it may not play, for the
  // user; empty when it ended as it always does.
  std::string random_end_notice();
  // The one word per cycle about the songs passed over; whether it was said now.
  bool tell_passed_over();
  // A tick that found the player busy; a long run of them is told once.
  void player_busy();
  bool is_song(int row) const;
  // The test of Countdown, Countup and Random "Top 20": a song not played
  // yet in this cycle.
  bool unmarked(int row) const;
  ReplayLimit replay_limit();
  // Whether a row may be handed over by Random "All" under `limit`, and by
  // Random "Top 20" (with the marks, or as if there were none); both keep
  // to "Random skips songs scored below N" when it is on.
  bool free_for_all(int row, const ReplayLimit& limit, std::optional<std::int32_t> floor) const;
  bool free_for_top(int row, std::optional<std::int32_t> floor, bool marks_count = true) const;
  // The scope of the step: play_scope, no more than the data rows.
  int step_scope() const;
  // r * bound rounded half to even, plus 1, with r drawn in single precision.
  int draw(int bound);
  int choose_countdown();
  int choose_countup();

  Songlist& songlist_;
  SonglistFiles& files_;
  SettingsStore& settings_;
  PlayerLink& link_;
  Desktop& desktop_;
  Clock& clock_;
  Timer& cycle_timer_;
  PlayCycle cycle_;
  PassedOver passed_;
  // Until when the running tick may look at song files.
  std::chrono::steady_clock::time_point look_until_{};
  int busy_ticks_ = 0;
  std::optional<InFlight> in_flight_;
  // The timer runs only to follow a direct play: no cycle step is taken.
  bool direct_ticks_ = false;
  // The songs of this cycle the player took and did not play (Directory,
  // File), and the last ones in a row (File, what the player said).
  std::set<std::pair<std::string, std::string>> not_played_;
  std::vector<std::pair<std::string, std::string>> misses_;
  // Skip told the player to stop: the next tick moves on whatever it says.
  bool skip_sent_ = false;
  // The song file whose last looks got no answer, and how many in a row.
  struct {
    std::string path;
    int times = 0;
  } unanswered_;
};

}  // namespace jukora
