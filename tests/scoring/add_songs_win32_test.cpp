// SPDX-License-Identifier: GPL-3.0-or-later
// Drive roots as only Windows has them.
#include <cstdlib>

#include "scoring/add_songs_fixture.h"

namespace jukora::testing {
namespace {

// The test script maps an empty folder as a drive and names it here ("R:").
TEST_F(AddSongsTest, ADroppedDriveRootListsItsFoldersWithOneSeparatorAndNoSongTwice) {
  const char* drive = std::getenv("JUKORA_TEST_DRIVE");
  if (!drive) GTEST_SKIP() << "JUKORA_TEST_DRIVE names no drive";
  const std::string root = std::string(drive) + "\\";
  std::filesystem::create_directories(root + "Music");
  write_bytes(root + "a.mp3", "x");
  write_bytes(root + "Music\\b.mp3", "x");
  songlist.add_cells({"", drive, "a.mp3", "1"});  // as one file chosen in the dialog lists it

  add.drop({root});

  EXPECT_EQ(songs(), (Songs{{drive, "a.mp3"}, {root + "Music", "b.mp3"}}));
}

}  // namespace
}  // namespace jukora::testing
