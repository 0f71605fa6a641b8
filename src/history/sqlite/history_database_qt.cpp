// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDate>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <atomic>
#include <initializer_list>
#include <utility>

#include "history/source_names.h"
#include "history/sqlite/history_database.h"

namespace jukora {

namespace {

// Long enough to ride out another program's short write; short enough that
// the worker (and the program's exit, which waits for it) is never held.
constexpr int kBusyTimeoutMs = 250;

// SQLite's primary result codes, as Qt SQL passes them on.
constexpr int kSqliteBusy = 5, kSqliteLocked = 6, kSqliteCorrupt = 11, kSqliteNotADatabase = 26;

// One table of events in the order they came; a play's source is how the
// song reached the player, a score change's where the change came from.
constexpr const char* kSchema[] = {
    "CREATE TABLE IF NOT EXISTS songs (id INTEGER PRIMARY KEY, directory BLOB NOT NULL, file BLOB NOT NULL,"
    " UNIQUE (directory, file))",
    "CREATE TABLE IF NOT EXISTS events (id INTEGER PRIMARY KEY, time INTEGER NOT NULL,"
    " song INTEGER NOT NULL REFERENCES songs(id), kind TEXT NOT NULL CHECK (kind IN ('score', 'play')),"
    " old_score INTEGER, new_score INTEGER, source TEXT NOT NULL)",
    "CREATE INDEX IF NOT EXISTS events_by_song ON events (song, time)",
    "CREATE INDEX IF NOT EXISTS events_by_kind ON events (kind, time)",
};

QString connection_name() {
  static std::atomic<int> next{0};
  return QString("jukora-history-%1").arg(next++);
}

QByteArray bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

HistoryDatabase::HistoryDatabase(std::string path) : path_(std::move(path)), connection_(connection_name()) {
  QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection_);
  db.setDatabaseName(QFile::decodeName(bytes(path_)));
  db.setConnectOptions(QString("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
}

HistoryDatabase::~HistoryDatabase() {
  close();
  QSqlDatabase::removeDatabase(connection_);
}

HistoryDatabase::Outcome HistoryDatabase::failed(const QSqlError& error) {
  error_ = (error.databaseText().isEmpty() ? error.text() : error.databaseText()).toStdString();
  switch (error.nativeErrorCode().toInt() & 0xff) {
    case kSqliteBusy:
    case kSqliteLocked:
      return Outcome::kLocked;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
      return Outcome::kDamaged;
    default:
      return Outcome::kFailed;
  }
}

HistoryDatabase::Outcome HistoryDatabase::open() {
  const Outcome outcome = checked_open();
  if (outcome != Outcome::kDone) close();
  return outcome;
}

HistoryDatabase::Outcome HistoryDatabase::checked_open() {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!db.open()) return failed(db.lastError());
  QSqlQuery query(db);
  if (!query.exec("PRAGMA quick_check")) return failed(query.lastError());
  if (!query.next() || query.value(0).toString() != "ok") {
    error_ = "the quick check found faults";
    return Outcome::kDamaged;
  }
  // The write-ahead log keeps every commit whole through a kill at any
  // moment. NORMAL syncs it to the disk at checkpoints rather than at each
  // commit: a kill loses nothing committed, a power cut at most the last
  // moments, and a commit stays well within the event loop's short wait.
  if (!query.exec("PRAGMA journal_mode=WAL") || !query.exec("PRAGMA synchronous=NORMAL"))
    return failed(query.lastError());
  if (!db.transaction()) return failed(db.lastError());
  for (const char* statement : kSchema) {
    if (!query.exec(statement)) {
      const Outcome outcome = failed(query.lastError());
      db.rollback();
      return outcome;
    }
  }
  if (!db.commit()) return failed(db.lastError());
  open_ = true;
  return Outcome::kDone;
}

void HistoryDatabase::close() {
  open_ = false;
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (db.isOpen()) db.close();
}

HistoryDatabase::Outcome HistoryDatabase::write(const std::vector<HistoryEvent>& events) {
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!db.transaction()) return failed(db.lastError());
  QSqlQuery add_song(db), find_song(db), add_event(db);
  QSqlQuery* last = &add_song;
  // Runs `query` with `values`; `last` names it for the error.
  auto run = [&last](QSqlQuery& query, std::initializer_list<QVariant> values) {
    last = &query;
    int i = 0;
    for (const QVariant& value : values) query.bindValue(i++, value);
    return query.exec();
  };
  bool ok = add_song.prepare("INSERT OR IGNORE INTO songs (directory, file) VALUES (?, ?)") &&
            find_song.prepare("SELECT id FROM songs WHERE directory = ? AND file = ?") &&
            add_event.prepare(
                "INSERT INTO events (time, song, kind, old_score, new_score, source) VALUES (?, ?, ?, ?, ?, ?)");
  for (auto event = events.begin(); ok && event != events.end(); ++event) {
    const QVariant directory = bytes(event->directory()), file = bytes(event->file());
    ok = run(add_song, {directory, file}) && run(find_song, {directory, file}) && find_song.next();
    if (!ok) break;
    const QVariant song = find_song.value(0), time = QVariant::fromValue(event->time);
    find_song.finish();
    if (const auto* change = std::get_if<ScoreChange>(&event->what)) {
      ok = run(add_event, {time, song, "score", QVariant::fromValue(change->old_score),
                           QVariant::fromValue(change->new_score), QString::fromUtf8(source_name(change->source))});
    } else {
      const QVariant none(QMetaType::fromType<qlonglong>());
      ok = run(add_event, {time, song, "play", none, none,
                           QString::fromUtf8(play_kind_name(std::get<HandedOver>(event->what).kind))});
    }
  }
  if (ok && db.commit()) return Outcome::kDone;
  const Outcome outcome = failed(ok ? db.lastError() : last->lastError());
  db.rollback();
  return outcome;
}

std::vector<HistoryEvent> HistoryDatabase::song_history(const std::string& directory, const std::string& file) {
  std::vector<HistoryEvent> events;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.setForwardOnly(true);
  if (!query.prepare("SELECT time, kind, old_score, new_score, source FROM events"
                     " WHERE song = (SELECT id FROM songs WHERE directory = ? AND file = ?) ORDER BY time, id"))
    return events;
  query.addBindValue(bytes(directory));
  query.addBindValue(bytes(file));
  if (!query.exec()) return events;
  while (query.next()) {
    HistoryEvent event{query.value(0).toLongLong(), HandedOver{directory, file}};
    const std::string name = query.value(4).toString().toStdString();
    if (query.value(1).toString() == "score") {
      event.what = ScoreChange{directory, file, query.value(2).toLongLong(), query.value(3).toLongLong(),
                               source_from_name(name).value_or(ChangeSource::kWindow)};
    } else {
      std::get<HandedOver>(event.what).kind = play_kind_from_name(name).value_or(PlayKind::kCycle);
    }
    events.push_back(std::move(event));
  }
  return events;
}

// Each week is counted by a range of the (kind, time) index: SQLite then
// walks the index once and sorts nothing, about four times faster than one
// GROUP BY over the week numbers on a long history.
WeeklyActivity HistoryDatabase::weekly_activity(std::int64_t first_week, int weeks) {
  WeeklyActivity activity{first_week, std::vector<int>(weeks), std::vector<int>(weeks)};
  if (weeks <= 0) return activity;
  QSqlQuery query(QSqlDatabase::database(connection_, false));
  query.setForwardOnly(true);
  const QString count = QString(
                            "(SELECT COUNT(*) FROM events WHERE kind = '%2' AND time >= p.first + w.n * %1"
                            " AND time < p.first + (w.n + 1) * %1)")
                            .arg(kSecondsPerWeek);
  if (!query.prepare("WITH RECURSIVE p(first, weeks) AS (SELECT ?, ?),"
                     " w(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM w, p WHERE n + 1 < p.weeks)"
                     " SELECT w.n, " +
                     count.arg("play") + ", " + count.arg("score") + " FROM w, p"))
    return activity;
  query.addBindValue(QVariant::fromValue(first_week));
  query.addBindValue(weeks);
  if (!query.exec()) return activity;
  while (query.next()) {
    const auto week = static_cast<std::size_t>(query.value(0).toLongLong());
    if (week >= activity.plays.size()) continue;
    activity.plays[week] = query.value(1).toInt();
    activity.score_changes[week] = query.value(2).toInt();
  }
  return activity;
}

std::string HistoryDatabase::set_aside() {
  close();
  const QString path = QFile::decodeName(bytes(path_));
  QString aside = path + ".damaged-" + QDate::currentDate().toString(Qt::ISODate);
  for (int n = 2; QFile::exists(aside) || QFile::exists(aside + "-wal"); ++n)
    aside = path + ".damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-" + QString::number(n);
  if (!QFile::rename(path, aside)) return {};
  // The log belongs to the damaged file; the shared-memory index is rebuilt
  // from it by whoever opens the copy.
  if (QFile::exists(path + "-wal")) QFile::rename(path + "-wal", aside + "-wal");
  QFile::remove(path + "-shm");
  const QByteArray name = QFile::encodeName(aside);
  return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

}  // namespace jukora
