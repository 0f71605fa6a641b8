// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <filesystem>
#include <set>

#include "platform/native_path.h"
#include "player/file_url.h"
#include "ratings/sqlite/player_database_source.h"
#include "ratings/sqlite/sqlite_copy.h"

namespace jukora {

namespace {

constexpr std::size_t kProgressEvery = 1000;

// The song's place as each player keeps it: Strawberry a file URL,
// Clementine a file URL (older versions a plain path).
std::optional<std::string> song_path(const QVariant& value) {
  const QByteArray bytes = value.toByteArray();
  const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  if (text.starts_with('/')) return std::string(text);
  return path_from_file_url(text);
}

class PlayerDatabaseSource : public RatingSource {
 public:
  PlayerDatabaseSource(std::string path, std::chrono::milliseconds deadline)
      : path_(std::move(path)), deadline_(deadline) {}
  std::string name() const override { return name_; }
  SourceRead read(const SourceProgress& progress) override;

 private:
  SourceRead failed(const std::string& why) const {
    SourceRead read;
    read.status = SourceRead::Status::kFailed;
    read.error =
        "\"" + path_ + "\" cannot be read as Strawberry's or Clementine's database: " + why + ". Nothing was changed.";
    return read;
  }
  // Which player's table it is, by its columns; empty when neither.
  std::string flavour(const QSqlDatabase& db, QString& location) const;
  SourceRead read_songs(const QSqlDatabase& db, const QString& location, const SourceProgress& progress,
                        std::chrono::steady_clock::time_point deadline) const;

  std::string path_;
  std::chrono::milliseconds deadline_;
  std::string name_ = "the player's database";
};

std::string PlayerDatabaseSource::flavour(const QSqlDatabase& db, QString& location) const {
  // A table, never a view: a view runs a query of the database's own.
  QSqlQuery kind(db);
  if (!kind.exec("SELECT type FROM sqlite_schema WHERE name = 'songs' AND type IN ('table', 'view')") || !kind.next() ||
      kind.value(0).toString() != "table")
    return {};
  QSqlQuery info(db);
  std::set<QString> columns;
  if (!info.exec("SELECT name FROM pragma_table_info('songs')")) return {};
  while (info.next()) columns.insert(info.value(0).toString());
  if (!columns.contains("rating") || !columns.contains("lastplayed")) return {};
  if (columns.contains("url") && columns.contains("source")) {
    location = "url";
    return "Strawberry";
  }
  if (columns.contains("filename")) {
    location = "filename";
    return "Clementine";
  }
  return {};
}

SourceRead PlayerDatabaseSource::read_songs(const QSqlDatabase& db, const QString& location,
                                            const SourceProgress& progress,
                                            std::chrono::steady_clock::time_point deadline) const {
  QSqlQuery count(db);
  const std::size_t total = count.exec("SELECT count(*) FROM songs") && count.next() ? count.value(0).toULongLong() : 0;
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec("SELECT " + location + ", rating, lastplayed FROM songs")) return failed("its songs cannot be read");
  SourceRead read;
  std::size_t rows = 0;
  while (query.next()) {
    if (++rows % kProgressEvery == 0) {
      if (!progress(total + rows, total * 2)) {
        read.status = SourceRead::Status::kCancelled;
        return read;
      }
      if (std::chrono::steady_clock::now() > deadline) return failed("reading it takes too long");
    }
    std::optional<std::string> path = song_path(query.value(0));
    if (!path) {
      ++read.not_local;
      continue;
    }
    const QVariant rating = query.value(1);
    bool number = false;
    const double value = rating.toDouble(&number);
    SourceSong song{std::move(*path),
                    rating.isNull() ? ReadRating::unrated()
                    : number        ? rating_from_fraction(value)
                                    : ReadRating::impossible(),
                    {}};
    const qlonglong played = query.value(2).toLongLong(&number);
    if (number && played > 0) song.last_played = played;
    read.songs.push_back(std::move(song));
  }
  return read;
}

SourceRead PlayerDatabaseSource::read(const SourceProgress& progress) {
  const auto deadline = std::chrono::steady_clock::now() + deadline_;
  std::error_code error;
  const std::filesystem::path native = native_path(path_);
  if (!std::filesystem::is_regular_file(native, error)) return failed("it is not a regular file");
  if (std::filesystem::file_size(native, error) > static_cast<std::uintmax_t>(kMaxPlayerDatabaseBytes))
    return failed("it is larger than 512 MB, more than a player keeps for its library");

  SqliteCopy copy;
  bool cancelled = false;
  const auto locked = [this](bool now) {
    set_waiting_for(now ? "\"" + path_ + "\", which the program using it holds locked" : "");
  };
  if (std::string why = copy.make(path_, deadline, progress, cancelled, locked); !why.empty()) return failed(why);
  if (cancelled) return {SourceRead::Status::kCancelled, {}, 0, {}};
  QString location;
  const std::string player = flavour(copy.copy(), location);
  if (player.empty()) return failed("it has no songs table of Strawberry's or Clementine's");
  name_ = player;
  SourceRead read = read_songs(copy.copy(), location, progress, deadline);
  if (read.status == SourceRead::Status::kOk) progress(1, 1);
  return read;
}

}  // namespace

std::unique_ptr<RatingSource> player_database_source(const std::string& path, std::chrono::milliseconds deadline) {
  return std::make_unique<PlayerDatabaseSource>(path, deadline);
}

}  // namespace jukora
