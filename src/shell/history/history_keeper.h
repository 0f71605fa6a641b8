// SPDX-License-Identifier: GPL-3.0-or-later
// The score history in the program: its SQLite file in the data folder,
// the recorder that keeps every song event there, and the windows that read
// it back ("History…", "Statistics"). Answers from the history's worker
// reach the windows through the event loop.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "history/history_recorder.h"
#include "history/sqlite/sqlite_history.h"
#include "shell/history/history_window.h"
#include "shell/history/statistics_window.h"

namespace jukora {

struct AppFolders;
class Desktop;
class Songlist;
class SonglistView;
class SongEvents;

// The history's file in the data folder.
std::string history_path(const AppFolders& folders);

class HistoryKeeper {
 public:
  // The windows open over `parent`; the per-song chart follows `grid`'s selection.
  HistoryKeeper(SongEvents& events, const AppFolders& folders, Desktop& desktop, const Songlist& songlist,
                SonglistView& grid, QWidget* parent);
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

  Desktop& desktop_;
  const Songlist& songlist_;
  QWidget* const parent_;
  // Receives the worker's answers on the event loop: it outlives the worker,
  // which store_ ends first.
  QObject receiver_;
  SqliteHistory store_;
  HistoryRecorder recorder_;
  QPointer<HistoryWindow> history_window_;
  QPointer<StatisticsWindow> statistics_window_;
};

}  // namespace jukora
