// SPDX-License-Identifier: GPL-3.0-or-later
#include <utility>

#include "history/sqlite/sqlite_history.h"

namespace jukora {

SqliteHistory::SqliteHistory(std::string path, Problem problem)
    : path_(std::move(path)), problem_(std::move(problem)), worker_([this] { run(); }) {}

SqliteHistory::~SqliteHistory() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  worker_.join();
}

std::uint64_t SqliteHistory::append(std::vector<HistoryEvent> events) {
  std::uint64_t ticket = 0;
  {
    std::lock_guard lock(mutex_);
    for (HistoryEvent& event : events) waiting_.push_back(std::move(event));
    ticket = appended_ += events.size();
  }
  work_.notify_all();
  return ticket;
}

bool SqliteHistory::wait_committed(std::uint64_t ticket, std::chrono::milliseconds bound) {
  std::unique_lock lock(mutex_);
  return committed_.wait_for(lock, bound, [&] { return committed_count_ >= ticket; });
}

bool SqliteHistory::wait_all_committed(std::chrono::milliseconds bound) {
  std::unique_lock lock(mutex_);
  return committed_.wait_for(lock, bound, [&] { return committed_count_ >= appended_; });
}

std::string SqliteHistory::waiting_for() const {
  return locked_ ? "the score history " + path_ + ", which another program holds locked" : std::string();
}

void SqliteHistory::song_history(std::string directory, std::string file,
                                 std::function<void(std::vector<HistoryEvent>)> done) {
  {
    std::lock_guard lock(mutex_);
    queries_.push_back(
        [directory = std::move(directory), file = std::move(file), done = std::move(done), this](HistoryDatabase& db) {
          done(ready(db) ? db.song_history(directory, file) : std::vector<HistoryEvent>{});
        });
  }
  work_.notify_all();
}

void SqliteHistory::weekly_activity(std::int64_t first_week, int weeks, std::function<void(WeeklyActivity)> done) {
  {
    std::lock_guard lock(mutex_);
    queries_.push_back([first_week, weeks, done = std::move(done), this](HistoryDatabase& db) {
      done(ready(db) ? db.weekly_activity(first_week, weeks)
                     : WeeklyActivity{first_week, std::vector<int>(weeks), std::vector<int>(weeks)});
    });
  }
  work_.notify_all();
}

void SqliteHistory::run() {
  HistoryDatabase db(path_);
  // At once, so a damaged file is found and told at start.
  ready(db);
  std::unique_lock lock(mutex_);
  for (;;) {
    // Events wait for their next try; queries and the end come at once.
    const auto due = [this] {
      return stopping_ || !queries_.empty() || (!waiting_.empty() && std::chrono::steady_clock::now() >= retry_at_);
    };
    if (waiting_.empty()) {
      work_.wait(lock, due);
    } else {
      work_.wait_until(lock, retry_at_, due);
    }
    // Every event appended before a query is in before it is answered,
    // unless the file does not take them now.
    while (!waiting_.empty() && (stopping_ || std::chrono::steady_clock::now() >= retry_at_)) {
      // Copied, not taken: the events stay in line until they are in.
      const std::vector<HistoryEvent> batch(waiting_.begin(), waiting_.end());
      lock.unlock();
      const bool written = write(db, batch);
      lock.lock();
      if (!written) break;
      waiting_.erase(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(batch.size()));
      committed_count_ += batch.size();
      committed_.notify_all();
    }
    // One query a round, so events appended meanwhile go in before the next.
    if (!queries_.empty()) {
      Query query = std::move(queries_.front());
      queries_.pop_front();
      lock.unlock();
      query(db);
      lock.lock();
    }
    // What a file that stays locked or failing does not take by now is lost
    // with the program.
    if (stopping_) return;
  }
}

bool SqliteHistory::ready(HistoryDatabase& db) {
  if (db.is_open()) return true;
  if (!stopping_ && std::chrono::steady_clock::now() < retry_at_) return false;
  const HistoryDatabase::Outcome outcome = db.open();
  if (outcome == HistoryDatabase::Outcome::kDone) return true;
  failed(db, outcome);
  return false;
}

bool SqliteHistory::write(HistoryDatabase& db, const std::vector<HistoryEvent>& batch) {
  // A file set aside leaves one more try, on the new file, at once.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!ready(db)) return false;
    const HistoryDatabase::Outcome outcome = db.write(batch);
    if (outcome == HistoryDatabase::Outcome::kDone) {
      locked_ = failure_told_ = set_aside_ = false;
      return true;
    }
    failed(db, outcome);
    if (outcome != HistoryDatabase::Outcome::kDamaged || db.is_open()) return false;
  }
  return false;
}

void SqliteHistory::failed(HistoryDatabase& db, HistoryDatabase::Outcome outcome) {
  const auto now = std::chrono::steady_clock::now();
  if (outcome == HistoryDatabase::Outcome::kLocked) {
    if (!locked_) locked_since_ = now;
    locked_ = true;
    retry_at_ = now + kLockedRetry;
    if (failure_told_ || now - locked_since_ < kLockedTold) return;
    failure_told_ = true;
    return tell("The score history " + path_ +
                " is held by another program. Jukora keeps the new entries and writes them once it is free.");
  }
  if (outcome == HistoryDatabase::Outcome::kDamaged && !set_aside_) {
    const std::string error = db.error();
    const std::string aside = db.set_aside();
    if (!aside.empty()) {
      set_aside_ = true;
      retry_at_ = now;
      return tell("The score history was damaged (" + error + "). It was set aside as " + aside +
                  " and a new one was started.");
    }
  }
  retry_at_ = now + kFailedRetry;
  if (failure_told_) return;
  failure_told_ = true;
  tell("The score history " + path_ + " cannot be written (" + db.error() +
       "). Jukora keeps the new entries and tries again.");
}

void SqliteHistory::tell(const std::string& text) {
  if (problem_) problem_(text);
}

}  // namespace jukora
