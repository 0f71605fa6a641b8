// SPDX-License-Identifier: GPL-3.0-or-later
// The score history in an SQLite file, written and read by a worker thread
// of its own, so the event loop never waits on the disk or on another
// program holding the file. A damaged file is set aside and a new one
// started; a locked one is tried again until it is free.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "history/history_store.h"
#include "history/sqlite/history_database.h"

namespace jukora {

class SqliteHistory : public HistoryStore {
 public:
  // A word for the user about the history, called on the worker.
  using Problem = std::function<void(const std::string&)>;

  // The file at `path` (made when missing), opened by the worker.
  SqliteHistory(std::string path, Problem problem);
  // Writes what is still waiting, if the file takes it at once, and ends
  // the worker.
  ~SqliteHistory() override;

  std::uint64_t append(std::vector<HistoryEvent> events) override;
  bool wait_committed(std::uint64_t ticket, std::chrono::milliseconds bound) override;
  // Waits until every event appended so far is committed, but never longer
  // than `bound`. Whether they are.
  bool wait_all_committed(std::chrono::milliseconds bound);
  // What keeps the events out of the file now, for the user ("the score
  // history PATH, which another program holds locked"); empty when nothing.
  std::string waiting_for() const;
  void song_history(std::string directory, std::string file,
                    std::function<void(std::vector<HistoryEvent>)> done) override;
  void weekly_activity(std::int64_t first_week, int weeks, std::function<void(WeeklyActivity)> done) override;

 private:
  using Query = std::function<void(HistoryDatabase&)>;
  // How long the worker waits before it tries a locked or failing file again.
  static constexpr std::chrono::milliseconds kLockedRetry{500};
  static constexpr std::chrono::milliseconds kFailedRetry{5000};
  // How long a file may stay locked before the user hears of it.
  static constexpr std::chrono::seconds kLockedTold{10};

  void run();
  // Opens the file unless it is open or the next try is not due: whether
  // it is open.
  bool ready(HistoryDatabase& db);
  // Writes `batch`, opening the file first: whether the events are in.
  bool write(HistoryDatabase& db, const std::vector<HistoryEvent>& batch);
  // What a failure means for the next try, and for the user.
  void failed(HistoryDatabase& db, HistoryDatabase::Outcome outcome);
  void tell(const std::string& text);

  const std::string path_;
  const Problem problem_;
  std::mutex mutex_;
  std::condition_variable work_, committed_;
  std::deque<HistoryEvent> waiting_;
  std::deque<Query> queries_;
  std::uint64_t appended_ = 0, committed_count_ = 0;
  std::atomic<bool> stopping_ = false;
  // The worker's own: when to try the file again after a failure, since
  // when it is locked, whether the failure was told, and whether a damaged
  // file was set aside since the last write that worked (a new file found
  // damaged too is not set aside again: the fault is not in the file).
  std::chrono::steady_clock::time_point retry_at_{};
  std::chrono::steady_clock::time_point locked_since_{};
  // Also read by waiting_for().
  std::atomic<bool> locked_ = false;
  bool failure_told_ = false, set_aside_ = false;
  std::thread worker_;
};

}  // namespace jukora
