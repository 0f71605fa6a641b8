// Save failures and unreadable files, made with POSIX means.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "songlist/recompute.h"
#include "songlist/songlist_files_fixture.h"
#include "support/without_root.h"

namespace jukora {
namespace {

// Files grow no larger than `bytes` while it lives, as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(SonglistFilesTest, FailedSaveKeepsTheOldFileAndIsReportedOnce) {
  load("list.jk8", "\"/m\",\"a\",\"1\",\"00:00 1/1/71\"\r\n");
  std::string before = read_bytes(path("list.jk8"));
  for (int i = 0; i < 50; ++i) songlist.add_cells({"", "/music/more", "song " + std::to_string(i)});
  recompute_songlist(songlist);
  {
    FileSizeLimit full_disk(64);
    files.write_songlist();
    files.write_songlist();
  }
  EXPECT_EQ(read_bytes(path("list.jk8")), before);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_NE(desktop.messages[0].find(path("list.jk8")), std::string::npos) << "the message names the file";

  files.write_songlist();  // a success in between...
  EXPECT_NE(read_bytes(path("list.jk8")), before);
  {
    FileSizeLimit full_disk(64);
    files.write_songlist();  // ...so the next failure is told again
  }
  EXPECT_EQ(desktop.messages.size(), 2u);

  // Another songlist's failure is news, even with no success in between.
  write_bytes(path("other.jk8"), "");
  desktop.file_answers = {path("other.jk8")};
  {
    FileSizeLimit full_disk(64);
    files.write_songlist();
    files.mnuSonglist_Click("Open");
    for (int i = 0; i < 5; ++i) songlist.add_cells({"", "/music/more", "song " + std::to_string(i)});
    files.write_songlist();
  }
  ASSERT_EQ(desktop.messages.size(), 3u);
  EXPECT_NE(desktop.messages[2].find(path("other.jk8")), std::string::npos);
  for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
    EXPECT_EQ(entry.path().filename().string().find(".saving"), std::string::npos) << "no temporary left";
}

TEST_F(SonglistFilesTest, SaveKeepsTheFilePermissions) {
  load("private.jk8", "");
  chmod(path("private.jk8").c_str(), 0600);
  songlist.add_cells({"", "/m", "a.mp3"});
  files.write_songlist();
  struct stat info {};
  ASSERT_EQ(stat(path("private.jk8").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SonglistFilesTest, SaveGoesThroughLinksAndStopsAtReadOnlyFiles) {
  write_bytes(path("real.jk8"), "");
  std::filesystem::create_symlink(path("real.jk8"), path("link.jk8"));
  use("link.jk8");
  songlist.add_cells({"", "/m", "a.mp3"});
  files.write_songlist();
  EXPECT_TRUE(std::filesystem::is_symlink(path("link.jk8")));
  EXPECT_EQ(read_bytes(path("real.jk8")), "\"/m\",\"a.mp3\",\"\",\"\"\r\n");

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
