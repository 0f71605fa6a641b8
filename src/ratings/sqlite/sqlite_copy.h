// SPDX-License-Identifier: GPL-3.0-or-later
// Another program's SQLite database opened read-only through Qt SQL and
// copied page by page with SQLite's backup API into a private database in
// memory, which is then all that is read.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <chrono>
#include <functional>
#include <string>

#include "ratings/rating_source.h"

namespace jukora {

// Names the two Qt SQL connections a copy uses and removes them again.
class SqliteCopy {
 public:
  SqliteCopy();
  ~SqliteCopy();
  SqliteCopy(const SqliteCopy&) = delete;
  SqliteCopy& operator=(const SqliteCopy&) = delete;

  // Copies the database at `path`, waiting for a lock until `deadline`;
  // `locked` hears when such a wait begins (true) and ends (false). Empty on
  // success, else why not, for the user.
  std::string make(const std::string& path, std::chrono::steady_clock::time_point deadline,
                   const SourceProgress& progress, bool& cancelled, const std::function<void(bool)>& locked);
  QSqlDatabase copy() const { return QSqlDatabase::database(copy_name_, false); }

 private:
  QString source_name_, copy_name_;
};

}  // namespace jukora
