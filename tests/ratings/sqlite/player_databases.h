// SPDX-License-Identifier: GPL-3.0-or-later
// Databases in Strawberry's and Clementine's own schemas (the columns of
// their "songs" tables that matter here, with the players' types and
// defaults), made with SQLite's C API as the players make them.
#pragma once

#include <sqlite3.h>

#include <string>

namespace jukora::testing {

enum class Player { kStrawberry, kClementine };

inline constexpr const char* kStrawberrySongs =
    "CREATE TABLE schema_version (version INTEGER NOT NULL);"
    "INSERT INTO schema_version (version) VALUES (20);"
    "CREATE TABLE songs (title TEXT, album TEXT, artist TEXT, track INTEGER NOT NULL DEFAULT -1,"
    " source INTEGER NOT NULL DEFAULT 0, directory_id INTEGER NOT NULL DEFAULT -1, url TEXT NOT NULL,"
    " filetype INTEGER NOT NULL DEFAULT 0, filesize INTEGER NOT NULL DEFAULT -1, mtime INTEGER NOT NULL DEFAULT -1,"
    " ctime INTEGER NOT NULL DEFAULT -1, unavailable INTEGER DEFAULT 0, playcount INTEGER NOT NULL DEFAULT 0,"
    " skipcount INTEGER NOT NULL DEFAULT 0, lastplayed INTEGER NOT NULL DEFAULT -1,"
    " lastseen INTEGER NOT NULL DEFAULT -1, rating INTEGER DEFAULT -1);";
inline constexpr const char* kClementineSongs =
    "CREATE TABLE schema_version (version INTEGER NOT NULL);"
    "INSERT INTO schema_version (version) VALUES (54);"
    "CREATE TABLE songs (title TEXT, album TEXT, artist TEXT, track INTEGER, directory INTEGER NOT NULL,"
    " filename TEXT NOT NULL, mtime INTEGER NOT NULL, ctime INTEGER NOT NULL, filesize INTEGER NOT NULL,"
    " playcount INTEGER NOT NULL DEFAULT 0, lastplayed INTEGER, rating INTEGER, skipcount INTEGER NOT NULL DEFAULT 0,"
    " unavailable INTEGER DEFAULT 0);";

// An open database at `path`; the caller closes it.
inline sqlite3* open_database(const std::string& path) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  return db;
}

inline bool run_sql(sqlite3* db, const std::string& sql) {
  return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// One song row: `location` as that player keeps it, `rating` as SQL text
// ("0.8", "-1", "NULL"), `played` Unix seconds or -1.
inline std::string song_row(Player player, const std::string& location, const std::string& rating, long long played) {
  auto text = [](const std::string& s) {
    std::string quoted = "'";
    for (char c : s) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
  };
  if (player == Player::kStrawberry)
    return "INSERT INTO songs (url, source, rating, lastplayed) VALUES (" + text(location) + ", 2, " + rating + ", " +
           std::to_string(played) + ");";
  return "INSERT INTO songs (directory, filename, mtime, ctime, filesize, rating, lastplayed) VALUES (1, " +
         text(location) + ", 0, 0, 0, " + rating + ", " + (played < 0 ? std::string("NULL") : std::to_string(played)) +
         ");";
}

}  // namespace jukora::testing
