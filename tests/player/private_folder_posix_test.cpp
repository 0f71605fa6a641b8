#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/fakes.h"
#include "player/private_folder.h"

namespace jukora {
namespace {

TEST(PrivateFolder, IsMadeOrAcceptedOnlyWhenNobodyElseCanEnter) {
  testing::TempDir temp;
  std::string fresh = temp.file("fresh"), open = temp.file("open"), link = temp.file("link");
  ASSERT_TRUE(make_private_folder(fresh));
  struct stat info {};
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(make_private_folder(fresh)) << "found again in the next run";

  mkdir(open.c_str(), 0700);
  chmod(open.c_str(), 0777);
  EXPECT_FALSE(make_private_folder(open));
  ASSERT_EQ(symlink(fresh.c_str(), link.c_str()), 0);
  EXPECT_FALSE(make_private_folder(link));
}

}  // namespace
}  // namespace jukora
