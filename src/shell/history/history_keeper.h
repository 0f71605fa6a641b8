// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that read the score history back ("History…",
// "Statistics"), over the store the session's recorder keeps every song
// event in. Answers from the history's worker reach the windows through the
// event loop.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "history/history_store.h"
#include "shell/history/history_window.h"
#include "shell/history/statistics_window.h"

namespace jukora {

struct AppFolders;
class EventLoop;
class Songlist;
class SonglistView;

// The history's file in the data folder.
std::string history_path(const AppFolders& folders);

class HistoryKeeper {
 public:
  // The windows open over `parent`; the per-song chart follows `grid`'s selection.
  // Answers come back through `loop`, which must outlive `store`.
  HistoryKeeper(HistoryStore& store, EventLoop& loop, const Songlist& songlist, SonglistView& grid, QWidget* parent);
  ~HistoryKeeper();

  // Whether the list's current row holds a song, whose history "History…" shows.
  bool has_song() const;
  // "History…": the history of the song at the list's current row.
  void show_song_history();
  // "Statistics": the charts, counted afresh.
  void show_statistics();

  HistoryStore& store() { return store_; }
  HistoryWindow* history_window() const { return history_window_; }
  StatisticsWindow* statistics_window() const { return statistics_window_; }

 private:
  // The selected song's line in the Statistics window.
  void show_song_score();
  // Runs `shown` on the event loop once the worker has answered; nothing
  // when the window has gone meanwhile.
  template <class Window, class Answer>
  std::function<void(Answer)> to_window(QPointer<Window> window, std::function<void(Window&, const Answer&)> shown);

  HistoryStore& store_;
  EventLoop& loop_;
  const Songlist& songlist_;
  QWidget* const parent_;
  // The context of the connection to the grid.
  QObject receiver_;
  QPointer<HistoryWindow> history_window_;
  QPointer<StatisticsWindow> statistics_window_;
};

}  // namespace jukora
