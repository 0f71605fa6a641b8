// SPDX-License-Identifier: GPL-3.0-or-later
// The history's SQLite file through Qt SQL: opened and checked, written in
// one transaction a batch, queried, and set aside when it is damaged. Used
// on one thread only, the one that made it (Qt SQL's rule).
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "history/history_event.h"

class QSqlError;

namespace jukora {

class HistoryDatabase {
 public:
  enum class Outcome {
    kDone,
    // Another program holds the file: try again later.
    kLocked,
    // The file is no database, or fails its quick check.
    kDamaged,
    // Anything else (no room, no right to write).
    kFailed,
  };

  explicit HistoryDatabase(std::string path);
  ~HistoryDatabase();
  HistoryDatabase(const HistoryDatabase&) = delete;
  HistoryDatabase& operator=(const HistoryDatabase&) = delete;

  // Opens the file (making it when there is none), checks it and readies
  // its tables.
  Outcome open();
  bool is_open() const { return open_; }
  // All of `events` or none of them.
  Outcome write(const std::vector<HistoryEvent>& events);

  // Both answer nothing when the database cannot be read.
  std::vector<HistoryEvent> song_history(const std::string& directory, const std::string& file);
  WeeklyActivity weekly_activity(std::int64_t first_week, int weeks);

  // Closes the file and renames it (with its write-ahead log) to
  // "NAME.damaged-YYYY-MM-DD", numbered when that is taken. The new path,
  // or nothing when the rename failed.
  std::string set_aside();

  // What the last failure said.
  const std::string& error() const { return error_; }
  const std::string& path() const { return path_; }

 private:
  Outcome failed(const QSqlError& error);
  Outcome checked_open();
  void close();

  const std::string path_;
  const QString connection_;
  std::string error_;
  bool open_ = false;
};

}  // namespace jukora
