// SPDX-License-Identifier: GPL-3.0-or-later
// Links, hidden names and permissions as POSIX file systems have them.
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdlib>

#include "scoring/add_songs_fixture.h"
#include "support/without_root.h"

namespace jukora::testing {
namespace {

namespace fs = std::filesystem;

TEST_F(AddSongsTest, LinksBackIntoTheTreeEndTheWalkLinksOutAreFollowed) {
  make_file("a.mp3");
  make_file("x/d.wav");
  fs::create_directory_symlink(music, music / "x" / "loop");
  fs::create_directory_symlink(music / "x", music / "also-x");
  fs::path outside = temp.path() / "elsewhere";
  fs::create_directories(outside / "deep");
  write_bytes((outside / "o.mp3").string(), "x");
  fs::create_directory_symlink(outside, music / "out");
  fs::create_directory_symlink(outside, music / "out2");
  fs::create_directory_symlink(music, outside / "deep" / "back");
  fs::create_directory_symlink(music / "missing", music / "dangling");
  // Links to what holds the tree would walk it again, or the whole disk.
  write_bytes((temp.path() / "beside.mp3").string(), "x");
  fs::create_directory_symlink(temp.path(), music / "x" / "up");
  fs::create_directory_symlink("/", music / "all");

  add.drop({root});

  EXPECT_EQ(songs(), (Songs{{root, "a.mp3"}, {in("out"), "o.mp3"}, {in("x"), "d.wav"}}));
}

// Windows neither allows a name ending in a dot nor hides dot names.
TEST_F(AddSongsTest, HiddenDottedAndSpecialNamesAreNotListed) {
  make_file(".hidden.mp3");
  make_file(".cache/h.mp3");
  make_file("y./f.mp3");
  ASSERT_EQ(mkfifo((music / "pipe.mp3").c_str(), 0600), 0);
  make_file("v.mp3");
  add.drop({root});
  EXPECT_EQ(songs(), (Songs{{root, "v.mp3"}}));

  add.drop({in(".cache")});       // dropped on purpose
  add.add_file_row("/song.mp3");  // the root keeps its separator
  recompute_songlist(songlist);
  EXPECT_EQ(songs(), (Songs{{root, "v.mp3"}, {in(".cache"), "h.mp3"}, {"/", "song.mp3"}}));
}

TEST_F(AddSongsTest, UnreadableFolderIsSkippedQuietly) {
  make_file("a.mp3");
  make_file("locked/e.mp3");
  make_file("z/z.mp3");
  fs::permissions(music / "locked", fs::perms::none);
  auto drop_skips_locked_folder = [&] {
    add.drop({root});
    return songs() == Songs{{root, "a.mp3"}, {in("z"), "z.mp3"}} && desktop.messages.empty() && !saved().empty();
  };
  EXPECT_TRUE_WITHOUT_ROOT(temp.path(), drop_skips_locked_folder);
}

}  // namespace
}  // namespace jukora::testing
