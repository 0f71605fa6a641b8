// SPDX-License-Identifier: GPL-3.0-or-later
#include "playmodes/play_modes.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "playmodes/player_ready.h"
#include "songlist/paths.h"
#include "songlist/song_events.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// A player's reason, a whole sentence, inside a sentence of ours.
std::string without_stop(std::string reason) {
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  return reason;
}

// Ticks in a row that find the player busy before the user hears of it.
constexpr int kBusyTicksTold = 10;

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

PlayModes::PlayModes(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, PlayerLink& link,
                     Desktop& desktop, Clock& clock, Timer& cycle_timer)
    : songlist_(songlist),
      files_(files),
      settings_(settings),
      link_(link),
      desktop_(desktop),
      clock_(clock),
      cycle_timer_(cycle_timer) {}

void PlayModes::start_cycle(PlayChoice choice) {
  switch (choice.order) {
    case PlayOrder::kRandom:
      return begin(choice.scope == Scope::kAll ? PlayMode::kRandomAll : PlayMode::kRandomTop,
                   cycle_scope(choice.scope));
    case PlayOrder::kCountdown:
      if (choice.playlist) return export_playlist(choice.scope, true);
      return begin(PlayMode::kCountdown, cycle_scope(choice.scope));
    case PlayOrder::kCountup:
      if (choice.playlist) return export_playlist(choice.scope, false);
      return begin(PlayMode::kCountup, cycle_scope(choice.scope));
  }
}

std::int32_t PlayModes::cycle_scope(Scope scope) const { return scope == Scope::kAll ? songlist_.Rows() : kTopRows; }

void PlayModes::begin(PlayMode play_mode, std::int32_t play_scope) {
  clear_marks();
  passed_ = {};
  // A direct play is still followed; a song of an earlier cycle is not.
  if (in_flight_ && !in_flight_->direct) in_flight_.reset();
  direct_ticks_ = false;
  not_played_.clear();
  misses_.clear();
  skip_sent_ = false;
  cycle_.play_scope = play_scope;
  cycle_.play_mode = play_mode;
  cycle_timer_.set_enabled(true);
}

void PlayModes::clear_marks() {
  for (int i = 1; i < songlist_.Rows(); ++i) songlist_.set_marked(i, false);
}

void PlayModes::tick() {
  const auto started = std::chrono::steady_clock::now();
  std::string dir;
  if (!executable_ready(dir)) return;
  if (score_first && score_first()) return;
  if (in_flight_ && !land_in_flight()) return;
  if (std::exchange(direct_ticks_, false)) {
    cycle_timer_.set_enabled(false);
    return;
  }
  const Reach reach = link_.reach();
  // A player that does not answer, or has not begun the song it was given,
  // is asked again at the next tick: nothing is chosen or marked meanwhile.
  // One that is not running is started, and counts as stopped.
  if (reach == Reach::kNotRunning) link_.start(dir);
  const PlayStatus status = reach == Reach::kRunning ? link_.play_status()
                            : reach == Reach::kBusy  ? PlayStatus::kBusy
                                                     : PlayStatus::kStopped;
  if (status == PlayStatus::kBusy) {
    player_busy();
    return;
  }
  busy_ticks_ = 0;
  // Some players ignore Stop (Quod Libet stays paused): Skip moves on anyway.
  const bool skipped = std::exchange(skip_sent_, false);
  if ((status == PlayStatus::kPlaying || status == PlayStatus::kPaused) && !skipped) return;
  look_until_ = started + kLookBudget;
  switch (cycle_.play_mode) {
    case PlayMode::kRandomAll:
      next_random_all();
      break;
    case PlayMode::kCountdown:
      next_countdown();
      break;
    case PlayMode::kCountup:
      next_countup();
      break;
    case PlayMode::kRandomTop:
      next_random_top();
      break;
    case PlayMode::kNone:
      break;  // no cycle set: the timer is off then
  }
}

void PlayModes::player_busy() {
  if (++busy_ticks_ != kBusyTicksTold) return;
  desktop_.notify(link_.texts().name + " is not answering. The play cycle waits for it.");
}

bool PlayModes::executable_ready(std::string& dir) {
  dir = read_winamp_dir(settings_);
  if (link_.missing_program(dir).empty()) return true;
  cycle_timer_.set_enabled(false);
  player_ready(link_, dir, desktop_);
  return false;
}

void PlayModes::feed(const std::function<int()>& choose, Record record) {
  std::string dir;
  if (!executable_ready(dir)) return;
  std::vector<int> passed_now;
  for (;;) {
    const int row = choose();
    if (row == 0) {
      end_cycle(!passed_now.empty());
      return;
    }
    // A replay limit below zero lets a song passed over come straight back:
    // there is nothing new to try in this tick.
    if (std::find(passed_now.begin(), passed_now.end(), row) != passed_now.end()) {
      files_.write_songlist();
      tell_passed_over();
      return;
    }
    const std::string song = join_path(songlist_.directory(row), songlist_.file(row));
    // The first look of a tick always gets a fair share of time; later ones
    // only what the tick has left.
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(look_until_ - std::chrono::steady_clock::now());
    if (!passed_now.empty() && left < kShortestLook) break;
    bool ask_again = false;
    std::optional<Pass> pass = unplayable(song, std::clamp(left, kShortestLook, kLookDeadline), ask_again);
    if (ask_again) break;
    if (!pass) {
      HandOver handed = link_.play_file(dir, song);
      if (handed.result == HandOver::Result::kBusy) {
        player_busy();
        break;
      }
      if (handed.result == HandOver::Result::kStarted) {
        if (on_random_pick && (cycle_.play_mode == PlayMode::kRandomAll || cycle_.play_mode == PlayMode::kRandomTop))
          on_random_pick(row);
        in_flight_ = InFlight{std::string(songlist_.directory(row)), std::string(songlist_.file(row)), record};
        // A player whose word comes with the hand-over has the song recorded now.
        if (!land_in_flight() && !passed_now.empty()) files_.write_songlist();
        tell_passed_over();
        return;
      }
      if (handed.any_song) {
        if (!passed_now.empty()) files_.write_songlist();
        player_failed(handed.reason);
        return;
      }
      passed_.refusal = handed.reason;
      pass = Pass::kRefused;
    }
    // Recorded as played, so that the cycle never comes back to it.
    record_played(row, record);
    ++passed_.counts[static_cast<int>(*pass)];
    passed_now.push_back(row);
  }
  if (!passed_now.empty()) files_.write_songlist();
}

void PlayModes::record_played(int row, Record record) {
  if (record == Record::kLastPlayed) {
    files_.set_last_played(row, LastPlayed(clock_.now()));
  } else {
    songlist_.set_marked(row, true);
  }
}

bool PlayModes::land_in_flight() {
  const Arrival arrival = link_.arrival();
  switch (arrival.state) {
    case Arrival::State::kAwaited:
      return false;
    case Arrival::State::kMissed:
      if (arrival.any_song && !in_flight_->direct) {
        in_flight_.reset();
        player_failed(arrival.reason);
        return false;
      }
      return in_flight_missed(arrival.reason);
    case Arrival::State::kLost:
      // A cycle hands the song over again, to the player started anew.
      if (in_flight_->direct)
        return in_flight_missed(link_.texts().name + " ended before it played " + quoted(in_flight_->file) + ".");
      break;
    case Arrival::State::kPlays:
      record_in_flight();
      break;
  }
  in_flight_.reset();
  return true;
}

void PlayModes::record_in_flight() {
  const InFlight song = *std::exchange(in_flight_, std::nullopt);
  if (song.direct) {
    if (song_events) song_events->handed_over({song.directory, song.file, PlayKind::kDirect});
    return;
  }
  misses_.clear();
  // Found by its name: a score change may have moved its row meanwhile.
  if (const int row = songlist_.find(song.directory, song.file, 1, songlist_.Rows() - 1)) {
    record_played(row, song.record);
    if (song_events) song_events->handed_over({song.directory, song.file});
    // The rows keep their places: only Mark and Last Played changed.
    files_.write_songlist();
  }
}

bool PlayModes::in_flight_missed(const std::string& reason) {
  const InFlight song = *std::exchange(in_flight_, std::nullopt);
  const std::string said = reason.empty() ? std::string() : reason + "  ";
  if (song.direct) {
    // Unless something else has written it since.
    const int row = songlist_.find(song.directory, song.file, 1, songlist_.Rows() - 1);
    if (row != 0 && songlist_.last_played(row) == song.last_played_now) {
      files_.set_last_played(row, song.last_played_before);
      desktop_.notify(said + "Its Last Played is back to " + song.last_played_before.text() + ".");
    } else if (!reason.empty()) {
      desktop_.notify(reason);
    }
    return true;
  }
  not_played_.emplace(song.directory, song.file);
  misses_.emplace_back(song.file, reason);
  ++passed_.counts[static_cast<int>(Pass::kNotPlayed)];
  if (!reason.empty()) passed_.not_played = reason;
  if (misses_.size() < kMissesInARow) return true;

  // The songs of this stop are told here, not among those passed over.
  passed_.counts[static_cast<int>(Pass::kNotPlayed)] -= static_cast<int>(misses_.size());
  cycle_timer_.set_enabled(false);
  link_.cycle_ended();
  tell_passed_over();
  std::string names, words;
  for (const auto& [file, why] : misses_) {
    names += (names.empty() ? "" : ", ") + quoted(file);
    if (!why.empty()) words += "  " + why;
  }
  desktop_.notify("The play cycle stopped: " + link_.texts().name + " did not play the last " +
                  std::to_string(misses_.size()) + " songs it was handed, " + names + "." + words +
                  "  None of them was marked as played.");
  misses_.clear();
  return false;
}

void PlayModes::player_failed(const std::string& reason) {
  cycle_timer_.set_enabled(false);
  link_.cycle_ended();
  tell_passed_over();
  if (!reason.empty()) desktop_.notify(reason);
}

std::optional<PlayModes::Pass> PlayModes::unplayable(const std::string& song, std::chrono::milliseconds deadline,
                                                     bool& ask_again) {
  if (!is_local_file_path(song)) return Pass::kNotLocal;
  switch (look_at_song(song, deadline)) {
    case FileReach::kThere:
      return std::nullopt;
    case FileReach::kMissing:
      return Pass::kMissing;
    case FileReach::kUnreachable:
      return Pass::kUnreachable;
    case FileReach::kNoAnswer:
      break;
  }
  // A busy machine can keep a healthy disk from answering once; only a file
  // that stays silent tick after tick is given up on.
  unanswered_.times = unanswered_.path == song ? unanswered_.times + 1 : 1;
  unanswered_.path = song;
  ask_again = unanswered_.times < kLookTries;
  return Pass::kUnreachable;
}

void PlayModes::end_cycle(bool passed_over_now) {
  cycle_timer_.set_enabled(false);
  link_.cycle_ended();
  if (passed_over_now) files_.write_songlist();
  // Songs the player did not play are not chosen again: no word on the
  // replay limit then.
  if (tell_passed_over() || !not_played_.empty()) return;
  if (const std::string why = random_end_notice(); !why.empty()) desktop_.notify(why);
}

bool PlayModes::tell_passed_over() {
  if (passed_.told) return false;
  static constexpr const char* kReasons[] = {"not a file on this computer", "missing", "cannot be reached"};
  auto because = [&](Pass pass) -> std::string {
    if (pass == Pass::kRefused) return "refused (" + without_stop(passed_.refusal) + ")";
    if (pass == Pass::kNotPlayed)
      return passed_.not_played.empty() ? "did not play" : "did not play (" + without_stop(passed_.not_played) + ")";
    return kReasons[static_cast<int>(pass)];
  };
  int total = 0;
  std::string why;
  for (int pass = 0; pass < static_cast<int>(Pass::kCount); ++pass) {
    const int count = passed_.counts[pass];
    if (count == 0) continue;
    total += count;
    why += (why.empty() ? ": " : ", ") + std::to_string(count) + " " + because(static_cast<Pass>(pass));
  }
  if (total == 0) return false;
  passed_.told = true;
  desktop_.notify("Passed over " + std::to_string(total) + (total == 1 ? " song" : " songs") + why + ".");
  return true;
}

void PlayModes::stop_link() {
  if (link_.reach() == Reach::kRunning) link_.stop();
}

void PlayModes::skip() {
  // A song skipped before it began is passed over like one that played.
  if (in_flight_) record_in_flight();
  skip_sent_ = true;
  if (cycle_.play_mode != PlayMode::kNone) {
    stop_link();
    return;
  }
  cycle_.play_scope = songlist_.Rows();
  cycle_.play_mode = PlayMode::kRandomAll;
  passed_ = {};
  not_played_.clear();
  misses_.clear();
  direct_ticks_ = false;
  stop_link();
  cycle_timer_.set_enabled(true);
}

void PlayModes::settle_before_exit() {
  if (in_flight_ && in_flight_->direct) record_in_flight();
}

void PlayModes::stop_player() {
  cycle_timer_.set_enabled(false);
  cycle_ = PlayCycle{};
  in_flight_.reset();
  direct_ticks_ = false;
  skip_sent_ = false;
  stop_link();
  link_.cycle_ended();
}

}  // namespace jukora
