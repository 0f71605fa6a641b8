#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/fakes.h"
#include "winamp/private_folder.h"

namespace jukora {
namespace {

mode_t mode_of(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(PrivateFolder, IsMadeOrAcceptedOnlyWhenNobodyElseCanEnter) {
  testing::TempDir temp;
  std::string fresh = temp.file("fresh");
  ASSERT_TRUE(make_private_folder(fresh));
  EXPECT_EQ(mode_of(fresh), 0700u);
  EXPECT_TRUE(make_private_folder(fresh)) << "found again in the next run";

  std::string open = temp.file("open");
  mkdir(open.c_str(), 0700);
  chmod(open.c_str(), 0777);
  EXPECT_FALSE(make_private_folder(open));
  EXPECT_EQ(mode_of(open), 0777u) << "left as it was";

  std::string link = temp.file("link");
  ASSERT_EQ(symlink(fresh.c_str(), link.c_str()), 0);
  EXPECT_FALSE(make_private_folder(link));

  EXPECT_FALSE(make_private_folder("relative/folder"));
}

}  // namespace
}  // namespace jukora
