// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/history/history_keeper.h"

#include <string>
#include <utility>

#include "history/history_recorder.h"
#include "history/songs_per_score.h"
#include "platform/app_folders.h"
#include "platform/event_loop.h"
#include "shell/history/history_window.h"
#include "shell/history/statistics_window.h"
#include "shell/window/songlist_view.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// Enough bars to tell the scores apart, few enough for their labels to fit.
constexpr int kScoreBars = 20;
constexpr int kWeeks = 52;

}  // namespace

std::string history_path(const AppFolders& folders) { return join_path(folders.data, "history.sqlite"); }

HistoryKeeper::HistoryKeeper(HistoryStore& store, EventLoop& loop, const Songlist& songlist, SonglistView& grid,
                             QWidget* parent)
    : store_(store), loop_(loop), songlist_(songlist), parent_(parent) {
  QObject::connect(&grid, &SonglistView::rows_selected, &receiver_, [this] {
    if (statistics_window_ && statistics_window_->isVisible()) show_song_score();
  });
}

HistoryKeeper::~HistoryKeeper() = default;

template <class Window, class Answer>
std::function<void(Answer)> HistoryKeeper::to_window(QPointer<Window> window,
                                                     std::function<void(Window&, const Answer&)> shown) {
  // The answer comes on the store's worker; the loop outlives the store, this
  // keeper may not.
  return [&loop = loop_, window, shown = std::move(shown)](Answer answer) {
    loop.post([window, shown, answer = std::move(answer)] {
      if (window) shown(*window, answer);
    });
  };
}

bool HistoryKeeper::has_song() const {
  const int row = songlist_.Row();
  return !songlist_.file(row).empty();
}

void HistoryKeeper::show_song_history() {
  if (!has_song()) return;
  const std::string directory(songlist_.directory(songlist_.Row()));
  const std::string file(songlist_.file(songlist_.Row()));
  if (!history_window_) history_window_ = new HistoryWindow(parent_);
  history_window_->show_song(directory, file);
  store_.song_history(directory, file,
                      to_window<HistoryWindow, std::vector<HistoryEvent>>(
                          history_window_, [](HistoryWindow& window, const std::vector<HistoryEvent>& events) {
                            window.show_events(events);
                          }));
  history_window_->show();
  history_window_->raise();
  history_window_->activateWindow();
}

void HistoryKeeper::show_statistics() {
  if (!statistics_window_) statistics_window_ = new StatisticsWindow(parent_);
  statistics_window_->show_scores(songs_per_score(songlist_, kScoreBars));
  // The last week ends with the present second.
  store_.weekly_activity(unix_now() + 1 - kWeeks * kSecondsPerWeek, kWeeks,
                         to_window<StatisticsWindow, WeeklyActivity>(
                             statistics_window_, [](StatisticsWindow& window, const WeeklyActivity& activity) {
                               window.show_activity(activity);
                             }));
  show_song_score();
  statistics_window_->show();
  statistics_window_->raise();
  statistics_window_->activateWindow();
}

void HistoryKeeper::show_song_score() {
  if (!has_song()) return statistics_window_->show_song({}, {}, 0, unix_now());
  const int row = songlist_.Row();
  const std::string file(songlist_.file(row));
  const std::int64_t score = songlist_.score(row).clamped();
  store_.song_history(
      std::string(songlist_.directory(row)), file,
      to_window<StatisticsWindow, std::vector<HistoryEvent>>(
          statistics_window_, [file, score](StatisticsWindow& window, const std::vector<HistoryEvent>& events) {
            window.show_song(file, events, score, unix_now());
          }));
}

}  // namespace jukora
