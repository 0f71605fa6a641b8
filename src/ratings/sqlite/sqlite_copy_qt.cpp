// SPDX-License-Identifier: GPL-3.0-or-later
#include <sqlite3.h>

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <thread>

#include "player/file_url.h"
#include "ratings/sqlite/sqlite_copy.h"

namespace jukora {

namespace {

std::atomic<unsigned> connection_number{0};

// Pages copied per step: small enough to answer a cancel at once, large
// enough that a big library copies in well under a second.
constexpr int kPagesPerStep = 1024;
constexpr std::chrono::milliseconds kLockedPause{20};

sqlite3* handle_of(const QSqlDatabase& db) {
  const QVariant handle = db.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(handle.constData());
}

// Everything read is data: no function of the schema's own runs, and
// nothing can be written. Empty, or why not.
std::string distrust_schema(const QSqlDatabase& db) {
  QSqlQuery query(db);
  if (query.exec("PRAGMA query_only = 1") && query.exec("PRAGMA trusted_schema = OFF")) return {};
  const std::string why = query.lastError().databaseText().toStdString();
  return why.find("not a database") != std::string::npos ? "it is not a SQLite database" : why;
}

std::string backup_error(int code) {
  switch (code) {
    case SQLITE_NOTADB:
      return "it is not a SQLite database";
    case SQLITE_CORRUPT:
      return "the database is damaged";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "the database stayed locked by the program using it; close that program and try again";
    default:
      return sqlite3_errstr(code);
  }
}

}  // namespace

SqliteCopy::SqliteCopy() {
  const QString number = QString::number(++connection_number);
  source_name_ = "jukora-ratings-source-" + number;
  copy_name_ = "jukora-ratings-copy-" + number;
}

SqliteCopy::~SqliteCopy() {
  for (const QString& name : {source_name_, copy_name_}) {
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
  }
}

std::string SqliteCopy::make(const std::string& path, std::chrono::steady_clock::time_point deadline,
                             const SourceProgress& progress, bool& cancelled, const std::function<void(bool)>& locked) {
  QSqlDatabase source = QSqlDatabase::addDatabase("QSQLITE", source_name_);
  if (!source.isValid()) return "Qt's SQLite driver (QSQLITE) is not installed";
  // The URI form, read-only: the file is never created, written or its
  // journal rolled back by us. A lock is waited for below, with progress
  // and a deadline, never inside SQLite.
  source.setDatabaseName(QString::fromStdString(file_url_from_path(path) + "?mode=ro"));
  source.setConnectOptions("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=0");
  if (!source.open()) return source.lastError().text().toStdString();
  if (std::string why = distrust_schema(source); !why.empty()) return why;

  QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", copy_name_);
  copy.setDatabaseName(":memory:");
  if (!copy.open()) return copy.lastError().text().toStdString();
  sqlite3* from = handle_of(source);
  sqlite3* to = handle_of(copy);
  if (!from || !to) return "Qt's SQLite driver gives no access to SQLite itself";

  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (!backup) return sqlite3_errmsg(to);
  int code = SQLITE_OK;
  bool waiting = false;
  auto wait_for_lock = [&](bool now) {
    if (now != waiting) locked(now);
    waiting = now;
  };
  for (;;) {
    code = sqlite3_backup_step(backup, kPagesPerStep);
    wait_for_lock(code == SQLITE_BUSY || code == SQLITE_LOCKED);
    if (code == SQLITE_DONE) break;
    if (waiting) {
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(kLockedPause);
    } else if (code != SQLITE_OK) {
      break;
    } else if (std::chrono::steady_clock::now() >= deadline) {
      code = SQLITE_BUSY;
      break;
    }
    const int total = sqlite3_backup_pagecount(backup);
    if (!progress(static_cast<std::size_t>(total - sqlite3_backup_remaining(backup)),
                  static_cast<std::size_t>(total) * 2)) {
      cancelled = true;
      break;
    }
  }
  sqlite3_backup_finish(backup);
  wait_for_lock(false);
  source.close();
  if (cancelled) return {};
  if (code != SQLITE_DONE) return backup_error(code);
  if (std::string why = distrust_schema(copy); !why.empty()) return why;
  QSqlQuery check(copy);
  if (!check.exec("PRAGMA quick_check") || !check.next() || check.value(0).toString() != "ok")
    return "the database is damaged (" + check.value(0).toString().toStdString() + ")";
  return {};
}

}  // namespace jukora
