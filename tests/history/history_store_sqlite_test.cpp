// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <cstdio>
#include <future>
#include <mutex>
#include <random>
#include <thread>

#include "history/history_recorder.h"
#include "history/sqlite/sqlite_history.h"
#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

extern char** environ;

namespace jukora::testing {
namespace {

constexpr std::chrono::seconds kLongWait{10};

class HistoryFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<SqliteHistory> open_store() {
    return std::make_unique<SqliteHistory>(path, [this](const std::string& text) {
      std::lock_guard lock(mutex);
      problems.push_back(text);
    });
  }
  // One line a song's event, as the store answers them.
  static std::vector<std::string> history_of(HistoryStore& store, const std::string& directory,
                                             const std::string& file) {
    std::promise<std::vector<HistoryEvent>> answer;
    store.song_history(directory, file, [&](std::vector<HistoryEvent> events) { answer.set_value(events); });
    std::vector<std::string> lines;
    for (const HistoryEvent& event : answer.get_future().get()) {
      std::string line = std::to_string(event.time) + " " + event.directory() + " " + event.file() + " ";
      if (const auto* change = std::get_if<ScoreChange>(&event.what)) {
        line += std::to_string(change->old_score) + ">" + std::to_string(change->new_score) + " " +
                std::to_string(static_cast<int>(change->source));
      } else {
        line += "play " + std::to_string(static_cast<int>(std::get<HandedOver>(event.what).kind));
      }
      lines.push_back(line);
    }
    return lines;
  }
  // The first column of `sql`'s rows, read by a connection of the test's own.
  std::vector<std::string> column(const QString& sql) {
    std::vector<std::string> values;
    {
      QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test");
      db.setDatabaseName(QString::fromStdString(path));
      EXPECT_TRUE(db.open());
      QSqlQuery query(db);
      EXPECT_TRUE(query.exec(sql)) << sql.toStdString();
      while (query.next()) values.push_back(query.value(0).toString().toStdString());
    }
    QSqlDatabase::removeDatabase("test");
    return values;
  }
  std::vector<std::string> told() {
    std::lock_guard lock(mutex);
    return problems;
  }

  TempDir dir;
  std::string path = dir.file("history.sqlite");
  std::mutex mutex;
  std::vector<std::string> problems;
};

ScoreChange change(std::int64_t from, std::int64_t to, ChangeSource source = ChangeSource::kTray) {
  return {"/m", "a.mp3", from, to, source};
}

TEST_F(HistoryFileTest, EventsGoInAndComeBackBySongAndByWeekWithTheirSourcesNamed) {
  const std::int64_t week = kSecondsPerWeek, start = 1'700'000'000;
  {
    auto store = open_store();
    std::vector<HistoryEvent> events;
    for (int source = 0; source <= static_cast<int>(ChangeSource::kUndo); ++source)
      events.push_back({start + source * week / 2, change(source, source + 1, static_cast<ChangeSource>(source))});
    events.push_back({start + 1, HandedOver{"/m", "a.mp3", PlayKind::kDirect}});
    // Another song of the same name, and one whose name is no UTF-8.
    events.push_back({start + 2, HandedOver{"/m/x", "a.mp3"}});
    events.push_back({start - 1, HandedOver{"/m", "b\xff.mp3"}});
    ASSERT_TRUE(store->wait_committed(store->append(events), kLongWait));
    EXPECT_EQ(history_of(*store, "/m", "b\xff.mp3"), std::vector<std::string>{"1699999999 /m b\xff.mp3 play 0"});
    // A query answers after every event appended before it, however the
    // worker took them.
    for (std::size_t plays = 2; plays <= 40; plays += 2) {
      for (int batch = 0; batch < 2; ++batch) store->append({{0, HandedOver{"/q", "c.mp3"}}});
      ASSERT_EQ(history_of(*store, "/q", "c.mp3").size(), plays);
    }

    std::promise<WeeklyActivity> answer;
    store->weekly_activity(start, 3, [&](WeeklyActivity activity) { answer.set_value(activity); });
    const WeeklyActivity activity = answer.get_future().get();
    EXPECT_EQ(activity.plays, (std::vector<int>{2, 0, 0}));
    EXPECT_EQ(activity.score_changes, (std::vector<int>{2, 2, 2}));
  }
  // Read again from the file by a new store.
  auto store = open_store();
  const std::string a = " /m a.mp3 ";
  EXPECT_EQ(
      history_of(*store, "/m", "a.mp3"),
      (std::vector<std::string>{"1700000000" + a + "0>1 0", "1700000001" + a + "play 1", "1700302400" + a + "1>2 1",
                                "1700604800" + a + "2>3 2", "1700907200" + a + "3>4 3", "1701209600" + a + "4>5 4",
                                "1701512000" + a + "5>6 5", "1701814400" + a + "6>7 6"}));
  EXPECT_EQ(column("SELECT kind || ' ' || source FROM events WHERE song < 4 ORDER BY id"),
            (std::vector<std::string>{"score window", "score tray", "score command line", "score remote", "score D-Bus",
                                      "score import", "score undo", "play direct", "play cycle", "play cycle"}));
  EXPECT_TRUE(told().empty());
}

TEST_F(HistoryFileTest, ADamagedFileIsSetAsideWithAWordAndANewOneTakesTheChanges) {
  const std::string date = QDate::currentDate().toString(Qt::ISODate).toStdString();
  // How the file was damaged, and the name it is set aside as.
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[&] { write_bytes(path, std::string(8192, 'x')); }, path + ".damaged-" + date},
      {[&] {
         {
           auto store = open_store();
           store->wait_committed(store->append({{1, change(0, 1)}}), kLongWait);
         }
         std::string bytes = read_bytes(path);
         ASSERT_GT(bytes.size(), 8192u);
         bytes.replace(4096, 4096, std::string(4096, '\xee'));  // the second page
         write_bytes(path, bytes);
       },
       path + ".damaged-" + date + "-2"},
  };
  for (const auto& [damage, aside] : cases) {
    SCOPED_TRACE(aside);
    problems.clear();
    damage();
    const std::string damaged = read_bytes(path);
    auto store = open_store();
    ASSERT_TRUE(store->wait_committed(store->append({{7, change(1, 2)}}), kLongWait));
    EXPECT_EQ(history_of(*store, "/m", "a.mp3"), std::vector<std::string>{"7 /m a.mp3 1>2 1"});
    ASSERT_EQ(told().size(), 1u);
    EXPECT_NE(told()[0].find("damaged"), std::string::npos) << told()[0];
    EXPECT_NE(told()[0].find("set aside as " + aside + " and a new one was started"), std::string::npos) << told()[0];
    EXPECT_EQ(read_bytes(aside), damaged);
  }
}

// The child of the kill test: 200 score changes of one song through the real
// recorder and store, each saved to the songlist after it is told, as the
// program does; "saved N" once change N is in both.
TEST(HistoryKill, ChildWrites200Changes) {
  const char* folder = std::getenv("JUKORA_HISTORY_CHILD");
  if (folder == nullptr) GTEST_SKIP() << "run by the kill test";
  const AppFolders folders{folder};
  SongEvents events;
  SqliteHistory store(join_path(folder, "history.sqlite"), {});
  HistoryRecorder recorder(events, store, unix_now, kLongWait);
  MemorySettingsStore settings;
  FakeDesktop desktop;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders};
  songlist.add_cells({"", "/m", "a.mp3", "0"});
  for (int score = 1; score <= 200; ++score) {
    songlist.SetTextMatrix(1, col::kScore, std::to_string(score));
    events.scores_changed({change(score - 1, score)});
    files.write_songlist();
    std::printf("saved %d\n", score);
    std::fflush(stdout);
  }
}

TEST_F(HistoryFileTest, AKillInTheMiddleOf200ChangesLeavesAnIntactFileWithEveryChangeTheListKept) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string exe = "/proc/self/exe", filter = "--gtest_filter=HistoryKill.ChildWrites200Changes";
  char* argv[] = {exe.data(), filter.data(), nullptr};
  pid_t child = 0;
  setenv("JUKORA_HISTORY_CHILD", dir.path().c_str(), 1);
  const int spawned = posix_spawn(&child, exe.c_str(), &actions, nullptr, argv, environ);
  unsetenv("JUKORA_HISTORY_CHILD");
  ASSERT_EQ(spawned, 0);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  // Killed once half the changes are reported.
  FILE* lines = fdopen(out[0], "r");
  char line[256];
  int reported = 0;
  while (reported < 100 && std::fgets(line, sizeof line, lines) != nullptr) std::sscanf(line, "saved %d", &reported);
  // Anywhere in the next change or two: its commit, its save, between them.
  std::this_thread::sleep_for(std::chrono::microseconds(std::random_device{}() % 4000));
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  std::fclose(lines);
  ASSERT_EQ(reported, 100);
  ASSERT_TRUE(WIFSIGNALED(status));

  EXPECT_EQ(column("PRAGMA integrity_check"), std::vector<std::string>{"ok"});
  const std::vector<std::string> scores = column("SELECT new_score FROM events ORDER BY id");
  for (std::size_t i = 0; i < scores.size(); ++i) ASSERT_EQ(scores[i], std::to_string(i + 1));
  const std::string saved = read_bytes(default_songlist_path(AppFolders{dir.path().string()}));
  const int kept = std::stoi(saved.substr(saved.find("\"a.mp3\",\"") + 9));
  EXPECT_GE(kept, reported);
  EXPECT_GE(static_cast<int>(scores.size()), kept) << "a change the list kept is missing from the history";
}

}  // namespace
}  // namespace jukora::testing
