#include "playmodes/play_modes.h"

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/play_timer.h"
#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/winamp_link.h"
#include "songlist/date_text.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

PlayModes::PlayModes(Songlist& songlist, SonglistFiles& files, SettingsStore& settings, WinampLink& link,
                     Desktop& desktop, Clock& clock, PlayTimer& tmrJukora)
    : songlist_(songlist),
      files_(files),
      settings_(settings),
      link_(link),
      desktop_(desktop),
      clock_(clock),
      tmrJukora_(tmrJukora) {}

void PlayModes::mnuRandom_Click(std::string_view caption) {
  if (caption == "All") start_cycle(mode::kRandomAll, songlist_.Rows());
  if (caption == "Top 20") start_cycle(mode::kRandomTop, kTopRows);
}

void PlayModes::mnuDescending_Click(std::string_view caption) {
  if (caption == "All") start_cycle(mode::kCountdown, songlist_.Rows());
  if (caption == "Top 20") start_cycle(mode::kCountdown, kTopRows);
  if (caption == "Playlist All" || caption == "Playlist Top 20") makePlayDesc(caption);
}

void PlayModes::mnuAscending_Click(std::string_view caption) {
  if (caption == "All") start_cycle(mode::kCountup, songlist_.Rows());
  if (caption == "Top 20") start_cycle(mode::kCountup, kTopRows);
  if (caption == "Playlist All" || caption == "Playlist Top 20") makePlayAsc(caption);
}

void PlayModes::start_cycle(std::int16_t play_mode, std::int32_t play_scope) {
  clear_marks();
  cycle_.play_scope = play_scope;
  cycle_.play_mode = play_mode;
  tmrJukora_.set_enabled(true);
}

void PlayModes::clear_marks() {
  for (int i = 1; i < songlist_.Rows(); ++i) songlist_.SetTextMatrix(i, col::kMark, "");
}

void PlayModes::tmrJukora_Timer() {
  std::string dir;
  if (!executable_ready(dir)) return;
  PlayerHandle player = link_.find_winamp();
  // A player that does not answer, or has not begun the song it was given,
  // is asked again at the next tick: nothing is chosen or marked meanwhile.
  if (player == kPlayerBusy) return;
  if (player == kNoPlayer) link_.start(dir);
  int status = link_.play_status(player);
  if (status == kStatusBusy || status == kStatusPlaying || status == kStatusPaused) return;
  switch (cycle_.play_mode) {
    case mode::kRandomAll:
      next_random_all();
      break;
    case mode::kCountdown:
      next_countdown();
      break;
    case mode::kCountup:
      next_countup();
      break;
    case mode::kRandomTop:
      next_random_top();
      break;
    default:
      break;  // no cycle set: the timer is off then
  }
}

bool PlayModes::executable_ready(std::string& dir) {
  dir = read_winamp_dir(settings_);
  if (link_.missing_program(dir).empty()) return true;
  tmrJukora_.set_enabled(false);
  player_ready(link_, dir, desktop_);
  return false;
}

void PlayModes::hand_over(const std::string& dir, int row, Record record) {
  if (row == 0) {
    tmrJukora_.set_enabled(false);
    link_.cycle_ended();
    return;
  }
  if (record == Record::kLastPlayed) {
    songlist_.SetTextMatrix(row, col::kLastPlayed, format_date_text(clock_.now()));
  } else {
    songlist_.SetTextMatrix(row, col::kMark, "*");
  }
  std::string song = join_path(songlist_.TextMatrix(row, col::kDirectory), songlist_.TextMatrix(row, col::kFile));
  link_.start_with_file(dir, song);
  // The rows keep their places: only Mark and Last Played changed.
  files_.write_songlist();
}

void PlayModes::stop_player() {
  PlayerHandle player = link_.find_winamp();
  if (player != kNoPlayer) link_.stop(player);
}

void PlayModes::skip_song() {
  if (cycle_.play_mode != mode::kNone) {
    stop_player();
    return;
  }
  cycle_.play_scope = songlist_.Rows();
  cycle_.play_mode = mode::kRandomAll;
  stop_player();
  tmrJukora_.set_enabled(true);
}

void PlayModes::stop_winamp() {
  tmrJukora_.set_enabled(false);
  cycle_ = PlayCycle{};
  stop_player();
  link_.cycle_ended();
}

}  // namespace jukora
