// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/sqlite/player_database_source.h"

#include <gmock/gmock.h>
#include <unistd.h>

#include <tuple>

#include "ratings/background_read.h"
#include "ratings/sqlite/player_databases.h"
#include "support/fakes.h"

namespace jukora::testing {
namespace {

using ::testing::HasSubstr;

SourceRead read_database(const std::string& path, std::chrono::milliseconds deadline = kPlayerDatabaseDeadline) {
  return player_database_source(path, deadline)->read([](std::size_t, std::size_t) { return true; });
}

class PlayerDatabaseTest : public ::testing::TestWithParam<Player> {
 protected:
  // A database of the player's with its odd rows, every byte of it on disk.
  std::string make(const std::string& journal = "DELETE") {
    sqlite3* db = open_database(path);
    const bool strawberry = GetParam() == Player::kStrawberry;
    run_sql(db, "PRAGMA journal_mode = " + journal);
    run_sql(db, strawberry ? kStrawberrySongs : kClementineSongs);
    for (auto [location, rating, played] : {
             std::tuple<std::string, std::string, long long>{"file:///music/a%20b.mp3", "0.8", 1700000000},
             {"file:///music/%C3%BC%FF.ogg", "-1", -1},
             {"file:///music/none.flac", "NULL", 1700000000},
             {"file:///music/half.flac", "0.3", -1},
             {"file:///music/zero.flac", "0", -1},
             {"file:///music/odd.flac", "7", -1},
             {"https://host/stream", "0.6", -1},
             {strawberry ? "file:///music/plain.mp3" : "/music/plain.mp3", "1.0", -1},
         })
      run_sql(db, song_row(GetParam(), location, rating, played));
    sqlite3_close(db);
    return path;
  }

  TempDir temp;
  std::string path = temp.file("library.db");
};

TEST_P(PlayerDatabaseTest, RowsReadAsThePlayerMeantThem) {
  auto source = player_database_source(make());
  const SourceRead read = source->read([](std::size_t, std::size_t) { return true; });
  ASSERT_EQ(read.status, SourceRead::Status::kOk) << read.error;
  EXPECT_EQ(source->name(), GetParam() == Player::kStrawberry ? "Strawberry" : "Clementine");
  std::vector<std::tuple<std::string, ReadRating, std::optional<std::int64_t>>> seen;
  for (const SourceSong& s : read.songs) seen.emplace_back(s.path, s.rating, s.last_played);
  EXPECT_EQ(seen, (decltype(seen){{"/music/a b.mp3", ReadRating::rated(8), 1700000000},
                                  {"/music/\xC3\xBC\xFF.ogg", ReadRating::unrated(), {}},
                                  {"/music/none.flac", ReadRating::unrated(), 1700000000},
                                  {"/music/half.flac", ReadRating::rated(3), {}},
                                  {"/music/zero.flac", ReadRating::rated(0), {}},
                                  {"/music/odd.flac", ReadRating::impossible(), {}},
                                  {"/music/plain.mp3", ReadRating::rated(10), {}}}));
  EXPECT_EQ(read.not_local, 1u);
}

TEST_P(PlayerDatabaseTest, LiveDatabaseIsReadAsCommittedAndNeverWritten) {
  for (const char* journal : {"DELETE", "WAL"}) {
    std::filesystem::remove_all(temp.path());
    std::filesystem::create_directories(temp.path());
    make(journal);
    // The player still runs: the WAL holds rows not yet in the file, and a
    // change is under way that it has not committed.
    sqlite3* player = open_database(path);
    run_sql(player, "PRAGMA wal_autocheckpoint = 0");
    run_sql(player, song_row(GetParam(), "file:///music/late.mp3", "0.4", -1));
    run_sql(player, "BEGIN IMMEDIATE");
    run_sql(player, song_row(GetParam(), "file:///music/uncommitted.mp3", "0.4", -1));
    const std::string before = read_bytes(path);

    const SourceRead read = read_database(path);
    ASSERT_EQ(read.status, SourceRead::Status::kOk) << journal << ": " << read.error;
    EXPECT_EQ(read.songs.back().path, "/music/late.mp3") << journal;
    EXPECT_EQ(read_bytes(path), before);
    run_sql(player, "COMMIT");
    sqlite3_close(player);
  }
}

TEST_P(PlayerDatabaseTest, LockedDatabaseIsWaitedForSayingSoThenRefused) {
  make();
  sqlite3* player = open_database(path);
  run_sql(player, "BEGIN EXCLUSIVE");
  run_sql(player, "DELETE FROM songs");
  // A command without a window says what it waits for, once, after a second.
  BackgroundRead reading(player_database_source(path, std::chrono::milliseconds(1500)));
  std::vector<std::string> told;
  const SourceRead read = reading.wait([&](const std::string& text) { told.push_back(text); });
  EXPECT_EQ(read.status, SourceRead::Status::kFailed);
  EXPECT_THAT(read.error, HasSubstr("locked"));
  EXPECT_THAT(told, ::testing::ElementsAre("Waiting for \"" + path + "\", which the program using it holds locked."));
  run_sql(player, "ROLLBACK");
  sqlite3_close(player);
  EXPECT_EQ(read_database(path).songs.size(), 7u);
}

INSTANTIATE_TEST_SUITE_P(Players, PlayerDatabaseTest, ::testing::Values(Player::kStrawberry, Player::kClementine));

TEST(PlayerDatabaseSource, HostileFilesFailWithAClearWordAndRunNothing) {
  TempDir temp;
  const std::string path = temp.file("x.db");
  auto fresh = [&](const std::string& sql) {
    std::filesystem::remove(path);
    sqlite3* db = open_database(path);
    run_sql(db, sql);
    sqlite3_close(db);
  };
  // A view in the table's place; a table without the columns; a trigger
  // that would write if anything did.
  fresh(
      "CREATE TABLE t (url TEXT, source INTEGER, rating REAL, lastplayed INTEGER);"
      "CREATE VIEW songs AS SELECT * FROM t;");
  EXPECT_THAT(read_database(path).error, HasSubstr("no songs table"));
  fresh("CREATE TABLE songs (url TEXT, source INTEGER);");
  EXPECT_THAT(read_database(path).error, HasSubstr("no songs table"));

  fresh(std::string(kStrawberrySongs) + song_row(Player::kStrawberry, "file:///m/a.mp3", "0.8", -1));
  std::string whole = read_bytes(path);
  const std::tuple<std::string, const char*> cases[] = {
      {whole.substr(0, whole.size() / 2), "damaged"},
      {"SQLite format 3" + std::string(1, '\0') + std::string(8000, '\x5a'), "not a SQLite database"},
      {std::string(5000, '\x13'), "not a SQLite database"},
  };
  for (auto [bytes, why] : cases) {
    write_bytes(path, bytes);
    const SourceRead read = read_database(path);
    EXPECT_EQ(read.status, SourceRead::Status::kFailed) << why;
    EXPECT_THAT(read.error, HasSubstr(why));
    EXPECT_THAT(read.error, HasSubstr("Nothing was changed."));
    EXPECT_EQ(read_bytes(path), bytes);
  }
  ASSERT_EQ(truncate(path.c_str(), std::int64_t{2} << 30), 0);
  EXPECT_THAT(read_database(path).error, HasSubstr("larger than 512 MB"));
  EXPECT_THAT(read_database(temp.path().string()).error, HasSubstr("not a regular file"));
}

}  // namespace
}  // namespace jukora::testing
