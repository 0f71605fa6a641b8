// SPDX-License-Identifier: GPL-3.0-or-later
// Two Jukoras, each with its own settings, writing one songlist at once.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "songlist/songlist_files_fixture.h"

extern char** environ;

namespace jukora {
namespace {

TEST_F(SonglistFilesTest, TwoJukorasWritingOneListLoseNothingEitherAddedOrScored) {
  constexpr int kChanges = 200;
  write_bytes(path("shared.jk8"), jk8({{"both.wav", "0"}}));
  std::vector<pid_t> writers;
  for (const char* name : {"A", "B"}) {
    std::string list = path("shared.jk8"), count = std::to_string(kChanges);
    char* argv[] = {const_cast<char*>(JUKORA_TWO_WRITERS_DRIVER), list.data(), const_cast<char*>(name), count.data(),
                    nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, JUKORA_TWO_WRITERS_DRIVER, nullptr, nullptr, argv, environ), 0);
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  use("shared.jk8");
  files.read_songlist();
  ASSERT_EQ(songlist.Rows() - 1, 2 * kChanges + 1);
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "both.wav");
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), std::to_string(2 * kChanges));
  for (const char* name : {"A", "B"})
    for (int i = 0; i < kChanges; ++i)
      EXPECT_TRUE(songlist.contains("/m", std::string(name) + "-" + std::to_string(i) + ".wav")) << name << i;
}

}  // namespace
}  // namespace jukora
