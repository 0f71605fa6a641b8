// SPDX-License-Identifier: GPL-3.0-or-later
// Save failures and unreadable files, made with POSIX means.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "songlist/recompute.h"
#include "songlist/songlist_files_fixture.h"
#include "support/without_root.h"

namespace jukora {
namespace {

// Runs `write` with files growing no larger than 64 bytes, as on a full disk.
void on_a_full_disk(const std::function<void()>& write) {
  signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit limit = saved;
  limit.rlim_cur = 64;
  setrlimit(RLIMIT_FSIZE, &limit);
  write();
  setrlimit(RLIMIT_FSIZE, &saved);
}

// Runs `check` in a child that is killed after a few seconds, so that a read
// which hangs or crawls fails the test instead of holding it up.
bool in_a_child_within_seconds(const std::function<bool()>& check, const std::function<void()>& prepare = {}) {
  pid_t child = fork();
  if (child == 0) {
    alarm(10);
    if (prepare) prepare();
    std::_Exit(check() ? 0 : 1);
  }
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SonglistFilesTest, OnlyRegularFilesOfASongListsSizeAreReadAndTheOthersAreNeverSavedOver) {
  ASSERT_EQ(mkfifo(path("pipe.jk8").c_str(), 0600), 0);
  std::ofstream(path("sparse.jk8")).close();
  constexpr off_t kTwoGigabytes = off_t{2} << 30;
  ASSERT_EQ(truncate(path("sparse.jk8").c_str(), kTwoGigabytes), 0);
  const std::pair<std::string, std::string> cases[] = {
      {"/dev/zero",
       "\"/dev/zero\" is not a songlist.  It will not be changed; choose Songlist > Open, New or Save As "
       "to work with a songlist."},
      {path("pipe.jk8"), "\"" + path("pipe.jk8") + "\" is not a songlist."},
      {path("sparse.jk8"), "\"" + path("sparse.jk8") +
                               "\" is too big for a songlist (over 64 MB).  It will not be "
                               "changed; choose Songlist > Open, New or Save As to work "
                               "with a songlist."}};
  for (const auto& [file, told] : cases) {
    SCOPED_TRACE(file);
    EXPECT_TRUE(in_a_child_within_seconds([&, file = file, told = told] {
      // Opened, it never takes the place of the list that is open.
      load("list.jk8", jk8({{"a", "3"}}));
      desktop.file_answers = {file};
      files.songlist_command(SonglistCommand::kOpen);
      if (files.current_path() != path("list.jk8") || files_column() != std::vector<std::string>{"a"} ||
          desktop.messages.size() != 1)
        return false;
      desktop.messages.clear();
      settings.SaveSetting("main", "last_set", file);
      files.read_songlist();
      bool refused = files_column() == std::vector<std::string>{""} && desktop.messages.size() == 1 &&
                     desktop.messages[0].find(told) == 0;
      // Saving over /dev/zero would replace the device for everyone if the
      // refusal failed; the two files in the test's folder show it holds.
      if (file != "/dev/zero") {
        songlist.add_cells({"", "/m", "a.mp3"});
        files.write_songlist();
      }
      return refused && desktop.messages.size() == 1 && files.current_path() == file;
    }));
  }
  struct stat info {};
  ASSERT_EQ(lstat(path("pipe.jk8").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  ASSERT_EQ(lstat(path("sparse.jk8").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, kTwoGigabytes);
}

TEST_F(SonglistFilesTest, AReadThatRunsOutOfMemoryLeavesTheTableEmptyAndTheFileAlone) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
#endif
  // Tiny records: the rows take several times the file's size.
  std::string bytes;
  for (int i = 0; bytes.size() < (std::size_t{40} << 20); ++i)
    bytes += "\"/m\",\"" + std::to_string(i) + "\",\"1\",\"\"\r\n";
  write_bytes(path("many.jk8"), bytes);
  use("many.jk8");
  auto limit_memory = [] {
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max =
        static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{96} << 20);
    setrlimit(RLIMIT_AS, &limit);
  };
  EXPECT_TRUE(in_a_child_within_seconds(
      [&] {
        files.read_songlist();
        songlist.add_cells({"", "/m", "new.mp3"});
        files.write_songlist();
        return desktop.messages.size() == 1 && desktop.messages[0].find("Jukora could not read the songlist") == 0;
      },
      limit_memory));
  EXPECT_EQ(read_bytes(path("many.jk8")), bytes);
}

// A load that compared each record with all those before it would take
// minutes here: CTest's timeout for this test guards that.
TEST_F(SonglistFilesTest, ManyEqualRecordsLoadAsTheRowsTheyAre) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += "\"/m\",\"a.mp3\",\"1\",\"00:00 1/1/71\"\r\n";
  write_bytes(path("same.jk8"), bytes);
  use("same.jk8");
  files.read_songlist();
  ASSERT_EQ(songlist.Rows(), 200001);
  int wrong = 0;
  for (int row = 1; row < songlist.Rows(); ++row)
    wrong += songlist.TextMatrix(row, col::kDirectory) != "/m" || songlist.TextMatrix(row, col::kFile) != "a.mp3" ||
             songlist.TextMatrix(row, col::kScore) != "1" ||
             songlist.TextMatrix(row, col::kLastPlayed) != "00:00 1/1/71";
  EXPECT_EQ(wrong, 0);

  // Empty records are no songs: the list is empty, with its one blank row.
  bytes.clear();
  for (int i = 0; i < 200000; ++i) bytes += ",,,\r\n";
  write_bytes(path("empty.jk8"), bytes);
  use("empty.jk8");
  files.read_songlist();
  ASSERT_EQ(songlist.Rows(), 2);
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "");
}

TEST_F(SonglistFilesTest, StaleTemporariesOfInterruptedSavesAreRemovedBeforeSaving) {
  load("list.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  auto leftover = [&](const std::string& name, int age_seconds) {
    write_bytes(path(name), "half a songl");
    timespec times[2] = {{std::time(nullptr) - age_seconds, 0}, {std::time(nullptr) - age_seconds, 0}};
    utimensat(AT_FDCWD, path(name).c_str(), times, 0);
  };
  leftover("list.jk8.saving-Ab12Cd", 120);
  leftover("list.jk8.saving-9zZ9zz", 3600);
  leftover("list.jk8.saving-Xy34Zw", 5);     // a save may be writing it now
  leftover("list.jk8.saving-Lk56Mn", 120);   // locked by the save writing it
  leftover("list.jk8.saving-other", 120);    // not a name Jukora makes
  leftover("list.jk8.saving-Ab12Cd7", 120);  // neither
  leftover("other.jk8.saving-Ab12Cd", 120);  // another file's
  int writing = open(path("list.jk8.saving-Lk56Mn").c_str(), O_RDWR);
  ASSERT_EQ(flock(writing, LOCK_EX), 0);

  files.write_songlist();
  close(writing);

  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
    left.insert(entry.path().filename().string());
  EXPECT_EQ(left,
            (std::set<std::string>{"list.jk8", "list.jk8.saving-Xy34Zw", "list.jk8.saving-Lk56Mn",
                                   "list.jk8.saving-other", "list.jk8.saving-Ab12Cd7", "other.jk8.saving-Ab12Cd"}));
}

TEST_F(SonglistFilesTest, FailedSaveKeepsTheOldFileAndIsReportedOnce) {
  load("list.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  std::string before = read_bytes(path("list.jk8"));
  for (int i = 0; i < 50; ++i) songlist.add_cells({"", "/music/more", "song " + std::to_string(i)});
  recompute_songlist(songlist);
  on_a_full_disk([&] {
    files.write_songlist();
    files.write_songlist();
  });
  EXPECT_EQ(read_bytes(path("list.jk8")), before);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_NE(desktop.messages[0].find(path("list.jk8")), std::string::npos) << "the message names the file";

  files.write_songlist();  // a success in between...
  EXPECT_NE(read_bytes(path("list.jk8")), before);
  on_a_full_disk([&] { files.write_songlist(); });  // ...so the next failure is told again
  EXPECT_EQ(desktop.messages.size(), 2u);

  // Another songlist's failure is news, even with no success in between.
  write_bytes(path("other.jk8"), "");
  desktop.file_answers = {path("other.jk8")};
  on_a_full_disk([&] {
    files.write_songlist();
    files.songlist_command(SonglistCommand::kOpen);
    for (int i = 0; i < 5; ++i) songlist.add_cells({"", "/music/more", "song " + std::to_string(i)});
    files.write_songlist();
  });
  ASSERT_EQ(desktop.messages.size(), 3u);
  EXPECT_NE(desktop.messages[2].find(path("other.jk8")), std::string::npos);
  for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
    EXPECT_EQ(entry.path().filename().string().find(".saving"), std::string::npos) << "no temporary left";
}

TEST_F(SonglistFilesTest, SaveGoesThroughLinksKeepsPermissionsAndStopsAtReadOnlyFiles) {
  write_bytes(path("real.jk8"), "");
  chmod(path("real.jk8").c_str(), 0600);
  std::filesystem::create_symlink(path("real.jk8"), path("link.jk8"));
  use("link.jk8");
  songlist.add_cells({"", "/m", "a.mp3"});
  files.write_songlist();
  EXPECT_TRUE(std::filesystem::is_symlink(path("link.jk8")));
  EXPECT_EQ(read_bytes(path("real.jk8")), "\"/m\",\"a.mp3\",\"\",\"\"\r\n");
  struct stat info {};
  ASSERT_EQ(stat(path("real.jk8").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  load("kept.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  chmod(path("kept.jk8").c_str(), 0444);
  auto refuses = [&] {
    songlist.add_cells({"", "/m", "new.mp3"});
    files.write_songlist();
    return desktop.messages.size() == 1u;
  };
  EXPECT_TRUE_WITHOUT_ROOT(temp.path(), refuses);
  EXPECT_EQ(read_bytes(path("kept.jk8")), "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
}

TEST_F(SonglistFilesTest, UnreadableSonglistIsNeverSavedOver) {
  load("locked.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  chmod(path("locked.jk8").c_str(), 0);
  auto protects_the_file = [&] {
    files.read_songlist();
    files.read_songlist();
    songlist.add_cells({"", "/m", "new.mp3"});
    files.write_songlist();
    return desktop.messages.size() == 1u;
  };
  EXPECT_TRUE_WITHOUT_ROOT(temp.path(), protects_the_file);
  chmod(path("locked.jk8").c_str(), 0600);
  EXPECT_EQ(read_bytes(path("locked.jk8")), "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
}

}  // namespace
}  // namespace jukora
