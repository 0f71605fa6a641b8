// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/current_song_scoring.h"

#include <utility>

#include "platform/desktop.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/current_song.h"
#include "player/player_link.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

// Retry ticks (a quarter second each) before waiting changes are given up.
constexpr int kRetries = 16;

// The File text without its extension.
std::string song_name(const std::string& file) {
  auto dot = file.rfind('.');
  return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

}  // namespace

CurrentSongScoring::CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                       PlayerLink& link, Desktop& desktop, Timer& retry)
    : songlist_(songlist), files_(files), settings_(settings), link_(link), desktop_(desktop), retry_(retry) {}

void CurrentSongScoring::increment_current_song(ChangeSource source) { score({+1, source}); }
void CurrentSongScoring::decrement_current_song(ChangeSource source) { score({-1, source}); }

void CurrentSongScoring::score(Click click) {
  if (waiting_.empty()) asked_ = std::chrono::steady_clock::now();
  waiting_.push_back(click);
  run_waiting();
}

bool CurrentSongScoring::run_waiting() {
  if (waiting_.empty()) return false;
  // A message box of an earlier run is open: its loop must not start another.
  if (running_) return true;
  running_ = true;
  const CurrentSong song = link_.current_song_since(read_winamp_dir(settings_), asked_);
  if (song.kind == CurrentSong::Kind::kBusy) {
    retry_.set_enabled(true);
    running_ = false;
    return true;
  }
  retries_ = 0;
  retry_.set_enabled(false);
  const std::vector<Click> clicks = std::exchange(waiting_, {});
  // The player's own reasons (not running, too old, no playlist) keep their boxes.
  if (!song.message.empty()) desktop_.message_box(song.message);
  if (song.show_preferences) desktop_.show_preferences();
  bool changed = false;
  std::string path = song.path, problem;
  if (song.kind == CurrentSong::Kind::kSong && is_local_file_path(path)) {
    // A song in the POSIX root is listed under "/", as a drop lists it.
    std::string dir = song_directory(path), file = get_file_name(path);
    // Listed songs are found by the player's own spelling; any other is
    // checked before it is scored as unlisted or added.
    if (!dir.empty() && !file.empty() &&
        (songlist_.Rows() < 2 || !songlist_.find(dir, file, 1, songlist_.Rows() - 1))) {
      const ReportedSong checked = check_reported_song(path, look_at_song);
      problem = checked.problem;
      path = checked.path;
      dir = song_directory(path);
      file = get_file_name(path);
    }
    if (problem.empty() && !dir.empty() && !file.empty())
      for (const Click& click : clicks) changed = score_song(dir, file, click) || changed;
  }
  if (song.message.empty() && !problem.empty()) {
    desktop_.notify(problem);
  } else if (song.message.empty()) {
    const std::string text = outcome(song, path, clicks.back().step, changed);
    changed ? desktop_.notify_undoable(text) : desktop_.notify(text);
  }
  running_ = false;
  // Clicks that came while a box was open.
  if (!waiting_.empty()) retry_.set_enabled(true);
  return true;
}

void CurrentSongScoring::retry() {
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

std::string CurrentSongScoring::outcome(const CurrentSong& song, const std::string& path, int last_step,
                                        bool changed) const {
  if (song.kind != CurrentSong::Kind::kSong || path.empty())
    return song.reason.empty() ? "Nothing is playing."
                               : "The player names no song Jukora can take: " + song.reason + ".";
  const std::string dir = song_directory(path), file = get_file_name(path);
  if (!is_local_file_path(path) || dir.empty() || file.empty()) return "The player is not at a file on this computer.";
  const int row = changed ? songlist_.find(dir, file, 1, songlist_.Rows() - 1) : 0;
  if (row == 0)
    return song_name(file) + " is not in the songlist; adding songs on " + (last_step > 0 ? "+" : "-") + " is off.";
  return song_name(file) + " \u2014 score " + songlist_.score(row).text();
}

bool CurrentSongScoring::score_song(const std::string& dir, const std::string& file, Click click) {
  const int rows = songlist_.Rows();
  const int i = rows > 1 ? songlist_.find(dir, file, 1, rows - 1) : 0;
  // The song is followed from its old index in the direction the step moved
  // it; a song added starts one past the old end.
  if (i != 0) {
    files_.apply(score_step_of_song({dir, file}, click.step, click.source, i));
    return true;
  }
  if (!(click.step > 0 ? read_add_on_plus(settings_) : read_add_on_minus(settings_))) return false;
  // A new song enters with no step, at the Score 0 the recompute gives it.
  SonglistChange change = addition({{dir, file}}, click.source);
  change.follow = Follow{{dir, file}, rows, click.step};
  files_.apply(change);
  return true;
}

void add_song_row(Songlist& /*songlist*/, SonglistFiles& files, std::string_view directory, std::string_view file) {
  files.apply(addition({{std::string(directory), std::string(file)}}, ChangeSource::kTray));
}

}  // namespace jukora
