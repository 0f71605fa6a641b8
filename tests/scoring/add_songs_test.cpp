// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/add_songs.h"

#include <gmock/gmock.h>

#include "scoring/add_songs_fixture.h"
#include "songlist/paths.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST_F(AddSongsTest, DropTakesLowerCaseAudioFilesFilesFirstInNameOrder) {
  make_file("D.mp3");
  make_file("a.mp3");
  std::string upper = make_file("b.MP3");
  make_file("c.txt");
  make_file("x/d.wav");
  std::string single = make_file("K/e.it");

  // A folder is walked once, whatever path leads to it again.
  const std::string x_again = join_path(join_path(root, "."), "x");
  add.drop({root, upper, in("gone.mp3"), single, x_again});

  EXPECT_EQ(songs(), (Songs{{root, "a.mp3"}, {root, "D.mp3"}, {in("K"), "e.it"}, {in("x"), "d.wav"}}));
  EXPECT_EQ(songlist.TextMatrix(1, col::kScore), "0");
  EXPECT_EQ(desktop.busy_changes, (std::vector<bool>{true, false}));
  EXPECT_NE(saved().find("\"" + in("x") + "\",\"d.wav\""), std::string::npos);
  EXPECT_THAT(desktop.messages, IsEmpty());
}

TEST_F(AddSongsTest, TodaysFormatsAreTakenOnlyWhereThePlayersReadThem) {
  for (const char* name :
       {"a.flac", "b.ogg", "c.oga", "d.opus", "e.m4a", "f.aac", "g.wma", "h.ape", "i.wv", "j.mpc", "k.FLAC", "l.webm"})
    make_file(name);
  add.drop({root});
#ifdef _WIN32
  EXPECT_EQ(songlist.Rows(), 1);
#else
  EXPECT_EQ(songlist.Rows(), 11);
  EXPECT_EQ(songs().back(), std::pair(root, std::string("j.mpc")));
#endif
}

TEST_F(AddSongsTest, SameDropTwiceAddsNothingButSavesAgain) {
  make_file("a.mp3");
  std::string other_case = root.substr(0, root.size() - 1) + "C";  // ".../musiC"
  songlist.add_cells({"", other_case, "a.mp3", "7"});
  add.drop({root});
  std::filesystem::remove(default_songlist_path(folders));

  // A trailing separator is no second spelling of the folder.
  add.drop({root + kPathSeparator});

  EXPECT_EQ(songs(), (Songs{{other_case, "a.mp3"}, {root, "a.mp3"}}));
  EXPECT_FALSE(saved().empty());
}

TEST_F(AddSongsTest, LongDropYieldsOftenButNotAfterEveryFile) {
  for (int i = 0; i < 200; ++i) make_file("d" + std::to_string(i % 4) + "/s" + std::to_string(i) + ".mp3");
  // The fake time of every yield, so the gaps can be measured.
  std::vector<std::chrono::steady_clock::time_point> yields;
  loop.on_yield = [&] { yields.push_back(clock_now); };
  add.drop({in("d0")});
  EXPECT_THAT(yields, IsEmpty());  // the clock stood still

  clock_step = std::chrono::milliseconds(2);
  auto previous = clock_now;
  add.drop({root});

  ASSERT_EQ(songlist.Rows(), 201);
  ASSERT_FALSE(yields.empty());
  EXPECT_LT(yields.size(), 100u);
  for (auto t : yields) {
    EXPECT_LE(t - previous, kYieldInterval + 2 * clock_step);
    previous = t;
  }
}

TEST_F(AddSongsTest, ALongDropShowsItsProgressAndCancelLeavesTheListAsItWas) {
  songlist.add_cells({"", "/old", "z.mp3", "3"});
  recompute_songlist(songlist);
  files.write_songlist();
  const std::string before = saved();
  for (int i = 0; i < 40; ++i) make_file("d/s" + std::to_string(i) + ".mp3");
  for (int i = 0; i < 40; ++i) make_file("e/f/s" + std::to_string(i) + ".mp3");
  clock_step = std::chrono::milliseconds(10);

  desktop.cancel = true;
  add.drop({in("e"), in("d")});
  ASSERT_EQ(desktop.progress.size(), 1u) << "the walk stops at the first answer";
  EXPECT_EQ(desktop.progress[0], "Looking for songs: 0 found in 2 folders.");
  EXPECT_EQ(desktop.progress_ends, 1);
  EXPECT_EQ(songs(), (Songs{{"/old", "z.mp3"}}));
  EXPECT_EQ(saved(), before) << "nothing to save";
  EXPECT_EQ(desktop.busy_changes, (std::vector<bool>{true, false}));

  desktop.cancel = false;
  add.drop({in("e"), in("d")});
  EXPECT_EQ(desktop.progress.back(), "Looking for songs: 80 found in 3 folders.");
  EXPECT_EQ(desktop.progress_ends, 2);
  EXPECT_EQ(songlist.Rows(), 82);
}

TEST_F(AddSongsTest, AddFilesAsksWithItsTitleAndFilterTakesAnyExtensionAndRemembersTheFolder) {
  songlist.add_cells({"", "/old", "z.mp3", "3"});
  songlist.add_cells({"", "/old", "y.mp3", "-1"});
  recompute_songlist(songlist);
  add.add_files_dialog();  // cancelled
  ASSERT_EQ(desktop.requests.size(), 1u);
  EXPECT_EQ(desktop.requests[0].title, "Add Files");
  EXPECT_EQ(desktop.requests[0].filter, kAudioFilter);
  EXPECT_EQ(songlist.Rows(), 3);
  EXPECT_TRUE(saved().empty());

  dialog.file_name = "last.mp3";
  desktop.files_answers = {{in("b.txt")}};
  add.add_files_dialog();

  EXPECT_EQ(songs(), (Songs{{"/old", "z.mp3"}, {root, "b.txt"}, {"/old", "y.mp3"}}));
  // The current row stays at the index of the last new row: the list's end.
  EXPECT_EQ(songlist.Row(), 3);
  EXPECT_EQ(songlist.Col(), col::kNumber);
  EXPECT_EQ(dialog.initial_dir, root);
  EXPECT_EQ(dialog.file_name, "");
  EXPECT_FALSE(saved().empty());

  // The songlist commands start where the songlist is, not there.
  files.songlist_command(SonglistCommand::kOpen);
  EXPECT_EQ(desktop.requests.back().initial_dir, folders.data);
}

TEST_F(AddSongsTest, AddFilesWithSeveralOntoAnEmptyListThenOnlyListedOnes) {
  songlist.add_cells({});
  recompute_songlist(songlist);  // the placeholder row of an empty list
  desktop.files_answers = {{in("a.mp3"), in("b.mp3"), in("a.mp3")}, {in("b.mp3")}};

  add.add_files_dialog();
  EXPECT_EQ(songs(), (Songs{{root, "a.mp3"}, {root, "b.mp3"}}));
  EXPECT_EQ(songlist.Row(), 2);
  EXPECT_EQ(songlist.RowSel(), 2);

  add.add_files_dialog();
  EXPECT_EQ(songlist.Rows(), 3);
  EXPECT_EQ(songlist.Row(), 0);  // no data row is current
}

TEST_F(AddSongsTest, AddFilesAndDropsTellOnceHowManyOfTheNewSongsAreEmptyFiles) {
  make_file("a.mp3");
  for (const char* name : {"e0.mp3", "e1.mp3", "sub/e2.mp3", "sub/e3.mp3"}) write_bytes(make_file(name), "");
  songlist.add_cells({"", root, "e0.mp3"});  // listed already: not told again
  desktop.files_answers = {{in("e1.mp3"), in("a.mp3")}};
  add.add_files_dialog();
  add.drop({root});
  add.drop({join_path(in("sub"), "e2.mp3")});  // nothing new
  add.drop({make_file("sub/e4.mp3")});
  write_bytes(join_path(in("sub"), "e5.mp3"), "");
  add.drop({join_path(in("sub"), "e5.mp3")});
  EXPECT_EQ(desktop.notes,
            (std::vector<std::string>{"1 of the 2 songs added is an empty file (0 bytes), which no player can play.",
                                      "All 2 songs added are empty files (0 bytes), which no player can play.",
                                      "The song added is an empty file (0 bytes), which no player can play."}));
  EXPECT_EQ(songlist.Rows(), 8);
}

TEST_F(AddSongsTest, SeveralFilesAtARootAreListedUnderTheRootWithItsSeparator) {
  const std::string root = kPathSeparator == '/' ? "/" : "C:\\";
  desktop.files_answers = {{root + "c.mp3", root + "d.mp3"}, {root + "d.mp3"}};
  add.add_files_dialog();
  add.add_files_dialog();  // one file: its Directory has no separator, the same folder
  EXPECT_EQ(songs(), (Songs{{root, "c.mp3"}, {root, "d.mp3"}}));
  EXPECT_EQ(dialog.initial_dir, song_directory(root + "d.mp3"));
}

}  // namespace
}  // namespace jukora::testing
