// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/current_song_scoring.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/desktop.h"
#include "platform/play_timer.h"
#include "platform/settings_keys.h"
#include "player/current_song.h"
#include "player/player_link.h"
#include "songlist/numbers.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// Retry ticks (a quarter second each) before waiting changes are given up.
constexpr int kRetries = 16;

// A Score text as a whole number, held within the 32-bit range as steps hold it.
std::int64_t whole_score(std::string_view text) {
  const double value = score_sort_value(text);
  return std::isnan(value) ? 0
                           : static_cast<std::int64_t>(std::clamp(std::nearbyint(value), -2147483648.0, 2147483647.0));
}

// The File text without its extension.
std::string song_name(const std::string& file) {
  auto dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

}  // namespace

CurrentSongScoring::CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                       PlayerLink& link, Desktop& desktop, PlayTimer& retry)
    : songlist_(songlist), files_(files), settings_(settings), link_(link), desktop_(desktop), retry_(retry) {}

void CurrentSongScoring::increment_current_song() { score(+1); }

void CurrentSongScoring::decrement_current_song() { score(-1); }

void CurrentSongScoring::score(int step) {
  waiting_.push_back(step);
  run_waiting();
}

bool CurrentSongScoring::run_waiting() {
  if (waiting_.empty()) return false;
  // A message box of an earlier run is open: its loop must not start another.
  if (running_) return true;
  running_ = true;
  const CurrentSong song = link_.current_song(read_winamp_dir(settings_));
  if (song.kind == CurrentSong::Kind::kBusy) {
    retry_.set_enabled(true);
    running_ = false;
    return true;
  }
  retries_ = 0;
  retry_.set_enabled(false);
  const std::vector<int> steps = std::exchange(waiting_, {});
  // The player's own reasons (not running, too old, no playlist) keep their boxes.
  if (!song.message.empty()) desktop_.message_box(song.message);
  if (song.show_preferences) desktop_.show_preferences();
  bool changed = false;
  if (song.kind == CurrentSong::Kind::kSong && is_local_file_path(song.path)) {
    // A song in the POSIX root is listed under "/", as a drop lists it.
    const std::string dir = song_directory(song.path), file = get_file_name(song.path);
    if (!dir.empty() && !file.empty())
      for (int step : steps) changed = score_song(dir, file, step) || changed;
  }
  if (song.message.empty()) desktop_.notify(outcome(song, steps.back(), changed));
  running_ = false;
  // Clicks that came while a box was open.
  if (!waiting_.empty()) retry_.set_enabled(true);
  return true;
}

void CurrentSongScoring::retry_Timer() {
  if (running_) return;
  if (!run_waiting()) {
    retry_.set_enabled(false);
    return;
  }
  if (waiting_.empty() || ++retries_ < kRetries) return;
  waiting_.clear();
  retries_ = 0;
  retry_.set_enabled(false);
  desktop_.notify(link_.texts().name + " did not answer, so the score was not changed.");
}

std::string CurrentSongScoring::outcome(const CurrentSong& song, int last_step, bool changed) const {
  if (song.kind != CurrentSong::Kind::kSong || song.path.empty()) return "Nothing is playing.";
  const std::string dir = song_directory(song.path), file = get_file_name(song.path);
  if (!is_local_file_path(song.path) || dir.empty() || file.empty())
    return "The player is not at a file on this computer.";
  const int row = changed ? songlist_.find(dir, file, 1, songlist_.Rows() - 1) : 0;
  if (row == 0)
    return song_name(file) + " is not in the songlist; adding songs on " + (last_step > 0 ? "+" : "-") + " is off.";
  return song_name(file) + " \u2014 score " + std::string(songlist_.TextMatrix(row, col::kScore));
}

bool CurrentSongScoring::score_song(const std::string& dir, const std::string& file, int step) {
  const int rows = songlist_.Rows();
  int i = rows > 1 ? songlist_.find(dir, file, 1, rows - 1) : 0;
  bool found = i != 0;
  const bool listed = found;
  std::int64_t before = 0;
  if (found) {
    before = whole_score(songlist_.TextMatrix(i, col::kScore));
    songlist_.SetTextMatrix(i, col::kScore, stepped_score(songlist_.TextMatrix(i, col::kScore), step));
  } else {
    i = rows;
    if (step > 0 ? read_add_on_plus(settings_) : read_add_on_minus(settings_)) {
      // A new song enters with no step, at the Score 0 the recompute gives it.
      add_song_row(songlist_, files_, dir, file);
      found = true;
    }
  }
  if (!found) return false;
  recompute_songlist(songlist_);
  files_.write_songlist();
  if (listed && on_scored)
    if (const int row = songlist_.find(dir, file, 1, songlist_.Rows() - 1); row != 0)
      on_scored(dir, file, before, whole_score(songlist_.TextMatrix(row, col::kScore)));

  // Follow the song from its old index in the direction the step moved it.
  // The index may lie past the end now (the placeholder row went, or rows
  // without a Directory were dropped): the search starts at the last row then.
  const int last = songlist_.Rows() - 1;
  const int from = std::min(i, last);
  if (from < 1) return true;
  int hit = step > 0 ? songlist_.find(dir, file, from, 1) : songlist_.find(dir, file, from, last);
  if (hit != 0) songlist_.SetRow(hit);
  return true;
}

void add_song_row(Songlist& songlist, SonglistFiles& files, std::string_view directory, std::string_view file) {
  songlist.add_cells({"", directory, file});
  if (songlist.Rows() == 3 && songlist.TextMatrix(1, col::kDirectory).empty()) songlist.RemoveItem(1);
  recompute_songlist(songlist);
  files.write_songlist();
}

}  // namespace jukora
