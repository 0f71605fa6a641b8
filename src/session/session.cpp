// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/session.h"

#include <algorithm>
#include <utility>

#include "history/history_recorder.h"
#include "platform/event_loop.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "session/commands.h"
#include "songlist/paths.h"
#include "songlist/row_deletion.h"
#include "songlist/row_selection.h"
#include "songlist/songlist_change.h"

namespace jukora {

namespace {

// How often a changed score's mirrors are asked what they have to tell,
// and for how long after the last change: an MPD that does not answer is
// told of within two of its deadlines.
constexpr std::chrono::seconds kMirrorLooks{1};
constexpr int kMirrorLooksAfterAChange = 30;
// A score change that met a busy player is tried again this often.
constexpr std::chrono::milliseconds kScoreRetry{250};

}  // namespace

// The shell's event loop as the session's parts use it: whatever comes back
// through it (a timer's tick, a drop's next step) is announced once done,
// and nothing comes back once the session has gone.
class Session::Loop : public EventLoop {
 public:
  Loop(Session& session, EventLoop& shell) : session_(session), shell_(shell) {}
  ~Loop() override { *alive_ = false; }

  void post(std::function<void()> work) override {
    shell_.post([this, alive = alive_, work = std::move(work)] {
      if (!*alive) return;
      work();
      session_.announce();
    });
  }
  std::unique_ptr<Timer> timer(std::chrono::milliseconds interval, std::function<void()> tick) override {
    return shell_.timer(interval, [this, tick = std::move(tick)] {
      tick();
      session_.announce();
    });
  }

 private:
  Session& session_;
  EventLoop& shell_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

Session::Session(SessionPlatform platform)
    : settings_(platform.settings),
      desktop_(platform.desktop),
      link_(platform.link),
      cycle_timer_(platform.cycle_timer),
      folders_(std::move(platform.folders)),
      import_ratings_(std::move(platform.import_ratings)),
      loop_(std::make_unique<Loop>(*this, platform.loop)),
      files_(songlist_, settings_, desktop_, folders_),
      score_retry_(loop_->timer(kScoreRetry, [this] { scoring_.retry(); })),
      play_modes_(songlist_, files_, settings_, link_, desktop_, platform.clock, cycle_timer_),
      scoring_(songlist_, files_, settings_, link_, desktop_, *score_retry_),
      add_songs_(songlist_, files_, desktop_, *loop_, dialog_memory_),
      search_(songlist_, std::move(platform.fold)),
      playing_(link_, settings_, desktop_, *loop_),
      mirrors_(settings_, platform.mpd_sink, platform.tag_sink),
      listening_(songlist_, files_, settings_, desktop_, link_, scoring_, events_, *loop_),
      mirror_notices_(loop_->timer(kMirrorLooks, [this] { tell_mirror_notices(); })) {
  files_.tell_scores_to(events_);
  play_modes_.score_first = [this] { return scoring_.run_waiting(); };
  play_modes_.song_events = &events_;
  play_modes_.on_random_pick = [this](int row) { tell_random_pick(row); };
  events_.on_scores([this](const std::vector<ScoreChange>& changes) {
    for (const ScoreChange& change : changes)
      mirrors_.score_changed(change.directory, change.file, std::to_string(change.new_score));
    quiet_looks_ = 0;
    mirror_notices_->set_enabled(true);
  });
  if (platform.history) recorder_ = std::make_unique<HistoryRecorder>(events_, *platform.history);
  // A player that tells of a change (its song ended, it began the song it
  // was given, it answers again) runs a waiting score and moves a running
  // cycle on without waiting for the next tick. Posted: the news may come
  // in the middle of a request to the player.
  link_.on_change = [this] {
    loop_->post([this] {
      scoring_.run_waiting();
      if (cycle_timer_.enabled()) tick();
    });
  };
  playing_.on_look_up = [this] { announce(); };
}

Session::~Session() {
  listening_.quit();
  link_.on_change = nullptr;
  playing_.on_look_up = nullptr;
}

void Session::watch(SessionWatcher& watcher) { watchers_.push_back(&watcher); }

void Session::unwatch(SessionWatcher& watcher) { std::erase(watchers_, &watcher); }

void Session::load_songlist() {
  files_.show_captions();
  files_.read_songlist();
  announce();
}

void Session::start() {
  playing_.look_up();
  playing_.start();
  listening_.start();
}

void Session::start_cycle(PlayChoice choice) {
  play_modes_.start_cycle(choice);
  announce();
}

void Session::songlist_command(SonglistCommand command) {
  files_.songlist_command(command);
  announce();
}

void Session::add_files() {
  add_songs_.add_files_dialog();
  announce();
}

void Session::drop(const std::vector<std::string>& paths) {
  add_songs_.drop(paths);
  announce();
}

ChosenRows Session::chosen_rows() {
  if (std::optional<ChosenRows> chosen = search_.chosen()) return *chosen;
  return range_of_selection(songlist_);
}

void Session::step_scores(ScoreDirection direction) {
  jukora::step_scores(songlist_, files_, direction, chosen_rows());
  announce();
}

void Session::delete_rows() {
  // The shown row the cursor was on, where it stays after the delete.
  const std::vector<int>& shown = search_.shown();
  const int row = songlist_.Row();
  const int at =
      !search_.active() ? row : static_cast<int>(std::lower_bound(shown.begin(), shown.end(), row) - shown.begin()) + 1;
  jukora::delete_rows(songlist_, files_, chosen_rows().rows);
  search_.keep_cursor_at(at);
  announce();
}

void Session::play_row(int row) {
  play_modes_.play_row(row);
  announce();
}

void Session::tick() {
  if (in_tick_) return;
  in_tick_ = true;
  play_modes_.tick();
  in_tick_ = false;
  announce();
}

void Session::stop_player() {
  play_modes_.stop_player();
  announce();
}

void Session::show_preferences() { desktop_.show_preferences(); }

void Session::show_playing() {
  playing_.look_up();
  show();
  const std::string& path = playing_.path();
  const int last = songlist_.Rows() - 1;
  const int row = path.empty() || last < 1 ? 0 : songlist_.find(song_directory(path), get_file_name(path), 1, last);
  if (path.empty()) {
    desktop_.show_status("Nothing is playing.");
  } else if (row == 0) {
    desktop_.show_status(get_file_name(path) + " is not in the songlist.");
  } else {
    desktop_.show_status({});
    search_.reveal(row);
    songlist_.SetRow(row);
    reveal_ = true;
  }
  announce();
}

void Session::select(int row, int row_sel) {
  search_.forget_picked();
  songlist_.SetRow(row);
  songlist_.SetRowSel(row_sel);
  announce();
}

void Session::select_all() {
  search_.forget_picked();
  select_all_rows(songlist_, search_.active() ? &search_.shown() : nullptr);
  announce();
}

void Session::search(std::string_view query) {
  search_.set_query(query);
  reveal_ = true;
  announce();
}

bool Session::undo_change() {
  const bool undone = files_.undo();
  announce();
  return undone;
}

bool Session::redo_change() {
  const bool redone = files_.redo();
  announce();
  return redone;
}

std::function<void()> Session::offer_undo() {
  const std::uint64_t step = files_.undo_step();
  if (step == 0) return {};
  return [this, step] {
    if (files_.undo(step)) announce();
  };
}

bool Session::reread_if_changed(int& top_row) {
  const bool reread = files_.reread_if_changed(top_row);
  announce();
  return reread;
}

void Session::save_unsaved() {
  play_modes_.settle_before_exit();
  // A direct play's Last Played is not saved when it is made.
  if (files_.has_unsaved_change()) files_.write_songlist();
}

void Session::increment(ChangeSource source) {
  scoring_.increment_current_song(source);
  announce();
}

void Session::decrement(ChangeSource source) {
  scoring_.decrement_current_song(source);
  announce();
}

void Session::skip() {
  listening_.skipping();
  play_modes_.skip();
  announce();
}

void Session::show() { desktop_.show_window(); }

void Session::toggle_list() { desktop_.toggle_window(); }

void Session::open_mode_menu() { desktop_.open_mode_menu(); }

void Session::undo() {
  if (!undo_change()) desktop_.notify("There is nothing to undo.");
}

void Session::import_ratings(const std::string& source, bool dry_run, const CommandReply& reply) {
  if (import_ratings_) return import_ratings_(source, dry_run, reply);
  if (reply.send) reply.send(1, "This Jukora reads no ratings.\n");
}

void Session::tell_mirror_notices() {
  const std::vector<std::string> notices = mirrors_.take_notices();
  for (const std::string& notice : notices) desktop_.notify(notice);
  if (notices.empty() && ++quiet_looks_ >= kMirrorLooksAfterAChange) mirror_notices_->set_enabled(false);
}

void Session::tell_random_pick(int row) {
  if (!read_notifications(settings_)) return;
  const std::string chance = play_modes_.chance_words(play_modes_.odds(), row);
  if (chance.empty()) return;
  desktop_.notify("Random picked " + std::string(songlist_.file(row)) + ": score " + songlist_.score(row).text() +
                  ", " + chance + " % chance");
}

void Session::announce() {
  search_.follow();
  // Like the grid, the cursor never points past the last row.
  const int last = songlist_.Rows() - 1;
  if (songlist_.Row() > last || songlist_.RowSel() > last) {
    const int row_sel = std::min(songlist_.RowSel(), last);
    songlist_.SetRow(std::min(songlist_.Row(), last));
    songlist_.SetRowSel(row_sel);
  }
  SessionNews news;
  news.songs = songlist_.revision() != told_.revision;
  news.rows = songlist_.content_revision() != told_.content || songlist_.Rows() != told_.rows;
  news.selection = songlist_.Row() != told_.row || songlist_.RowSel() != told_.row_sel;
  news.search = search_.revision() != told_.search;
  news.playing = playing_.path() != told_.playing;
  news.file = files_.current_path() != told_.path;
  news.reveal = std::exchange(reveal_, false);
  told_ = {songlist_.revision(), songlist_.content_revision(), search_.revision(), songlist_.Rows(),
           songlist_.Row(),      songlist_.RowSel(),           playing_.path(),    files_.current_path()};
  if (!news.any()) return;
  const std::vector<SessionWatcher*> watchers = watchers_;
  for (SessionWatcher* watcher : watchers) watcher->session_changed(news);
}

}  // namespace jukora
