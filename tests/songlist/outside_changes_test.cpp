// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist another program changes while Jukora has it open.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/file_lock.h"
#include "scoring/score_changes.h"
#include "songlist/songlist_files_fixture.h"

namespace jukora {
namespace {

class OutsideChangesTest : public SonglistFilesTest {
 protected:
  void SetUp() override { load("list.jk8", jk8({{"a", "5"}, {"b", "3"}, {"c", "1"}})); }
  int row_of(const std::string& file) const { return songlist.find("/m", file, 1, songlist.Rows() - 1); }
  void step(const std::string& file, ScoreDirection direction = ScoreDirection::kUp) {
    songlist.SetRow(row_of(file));
    step_scores(songlist, files, direction, range_of_selection(songlist));
  }
  const std::string held_note = "\"" + path("list.jk8") +
                                "\" is being written by another program (its last line is not complete yet); your "
                                "changes are saved once it is complete.";
};

TEST_F(OutsideChangesTest, AnotherProgramsEditSurvivesTheNextSaveHoweverItWroteTheFile) {
  const std::tuple<std::string, Outside, std::string, std::string> cases[] = {
      {"a row added, by rename", Outside::kRename, jk8({{"a", "5"}, {"b", "3"}, {"c", "1"}, {"new", "9"}}),
       jk8({{"new", "9"}, {"a", "5"}, {"b", "4"}, {"c", "1"}})},
      {"a row added, in place", Outside::kInPlace, jk8({{"a", "5"}, {"b", "3"}, {"c", "1"}, {"new", "9"}}),
       jk8({{"new", "9"}, {"a", "5"}, {"b", "4"}, {"c", "1"}})},
      {"a row removed, in place", Outside::kInPlace, jk8({{"b", "3"}, {"c", "1"}}), jk8({{"b", "4"}, {"c", "1"}})},
      {"a score changed, by rename", Outside::kRename, jk8({{"a", "5"}, {"b", "7"}, {"c", "1"}}),
       jk8({{"b", "8"}, {"a", "5"}, {"c", "1"}})},
  };
  for (const auto& [name, how, theirs, after] : cases) {
    SCOPED_TRACE(name);
    SetUp();
    desktop.notes.clear();
    outside("list.jk8", theirs, how);
    step("b");  // the step is made again on their rows: b goes up from their score
    EXPECT_EQ(saved(), after);
    EXPECT_EQ(std::count(desktop.notes.begin(), desktop.notes.end(), kReadAgainNotice), 1);
    EXPECT_EQ(songlist.TextMatrix(songlist.Row(), col::kFile), "b") << "the anchor song stays current";
  }
}

TEST_F(OutsideChangesTest, ARewriteWithinTheSameTimestampTickIsToldByTheBytes) {
  // A clock ahead of this one makes every write look as if it came within
  // one tick: same file, same size, same time.
  const auto ahead = std::filesystem::file_time_type::clock::now() + std::chrono::hours(1);
  write_bytes(path("list.jk8"), jk8({{"a", "5"}, {"b", "3"}}));
  std::filesystem::last_write_time(path("list.jk8"), ahead);
  files.read_songlist();
  outside("list.jk8", jk8({{"a", "5"}, {"b", "7"}}), Outside::kInPlace);
  std::filesystem::last_write_time(path("list.jk8"), ahead);
  step("b");
  EXPECT_EQ(saved(), jk8({{"b", "8"}, {"a", "5"}}));
  EXPECT_EQ(std::count(desktop.notes.begin(), desktop.notes.end(), kReadAgainNotice), 1);
}

TEST_F(OutsideChangesTest, AnEditDuringABurstOfScoreChangesIsKept) {
  for (int i = 0; i < 40; ++i) {
    step("c");
    if (i == 20) outside("list.jk8", saved() + jk8({{"new", "2"}}), Outside::kInPlace);
  }
  EXPECT_EQ(saved(), jk8({{"c", "41"}, {"a", "5"}, {"b", "3"}, {"new", "2"}}));
  EXPECT_EQ(desktop.notes.size(), 1u);
}

TEST_F(OutsideChangesTest, AChangeToASongAnotherProgramRemovedIsDroppedWithANotice) {
  outside("list.jk8", jk8({{"a", "5"}, {"c", "1"}}));
  songlist.SetRow(2);
  songlist.SetRowSel(3);
  step_scores(songlist, files, ScoreDirection::kDown, range_of_selection(songlist));  // b and c
  EXPECT_EQ(saved(), jk8({{"a", "5"}, {"c", "0"}}));
  outside("list.jk8", jk8({{"a", "5"}}));
  step("c");
  EXPECT_EQ(saved(), jk8({{"a", "5"}}));
  EXPECT_EQ(desktop.notes,
            (std::vector<std::string>{
                kReadAgainNotice,
                "Decrement of 2 songs: 1 song of it is no longer in the songlist (another program removed it); the "
                "rest was done.",
                kReadAgainNotice,
                "Increment of c was dropped: its song is no longer in the songlist (another program removed it)."}));
}

TEST_F(OutsideChangesTest, AnIncompleteFileHoldsTheSaveUntilItIsComplete) {
  const std::string complete = jk8({{"a", "5"}, {"b", "3"}, {"c", "1"}, {"d", "0"}});
  const std::tuple<std::string, std::string, bool> cases[] = {
      {"no final line end", complete.substr(0, complete.size() - 2), false},
      {"a row cut short", complete.substr(0, complete.size() - 20), false},
      // Left that way for long, it is read as it is, as at start.
      {"no final line end, for an hour", complete.substr(0, complete.size() - 2), true},
  };
  for (const auto& [name, cut, long_ago] : cases) {
    SCOPED_TRACE(name);
    SetUp();
    desktop.notes.clear();
    outside("list.jk8", cut, Outside::kInPlace);
    if (long_ago)
      std::filesystem::last_write_time(path("list.jk8"),
                                       std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    step("b");
    if (!long_ago) {
      EXPECT_EQ(saved(), cut) << "nothing is saved over a file still being written";
      EXPECT_EQ(desktop.notes, std::vector<std::string>{held_note});
      EXPECT_EQ(songlist.TextMatrix(2, col::kScore), "4") << "the change stays in the list";
      EXPECT_TRUE(files.has_unsaved_change());
      outside("list.jk8", complete, Outside::kInPlace);
      int top = 1;
      EXPECT_TRUE(files.reread_if_changed(top));
    }
    EXPECT_EQ(saved(), jk8({{"a", "5"}, {"b", "4"}, {"c", "1"}, {"d", "0"}}));
    EXPECT_FALSE(files.has_unsaved_change());
  }
}

TEST_F(OutsideChangesTest, AReadAgainKeepsMarksPlaysSelectionAndTheTopRowBySong) {
  songlist.SetTextMatrix(3, col::kMark, "*");
  files.set_last_played(3, LastPlayed::read("14:05 6/12/01"));  // a direct play of c, not saved
  songlist.SetRow(3);
  songlist.SetRowSel(2);
  // No read while a drop's walk runs; the walk's end reads.
  files.begin_walk();
  outside("list.jk8", jk8({{"x", "9"}, {"a", "5"}, {"b", "3"}, {"c", "1"}}));
  int top = 3;
  EXPECT_FALSE(files.reread_if_changed(top));
  EXPECT_EQ(songlist.Rows(), 4);
  files.end_walk();
  EXPECT_EQ(songlist.Rows(), 5);

  outside("list.jk8", jk8({{"y", "12"}, {"x", "9"}, {"a", "5"}, {"b", "3"}, {"c", "1"}}));
  top = 4;
  EXPECT_TRUE(files.reread_if_changed(top));
  EXPECT_EQ(top, 5);
  EXPECT_EQ(std::pair(songlist.Row(), songlist.RowSel()), std::pair(5, 4));
  EXPECT_EQ(songlist.TextMatrix(5, col::kMark), "*");
  EXPECT_EQ(songlist.TextMatrix(5, col::kLastPlayed), "14:05 6/12/01");
  EXPECT_TRUE(files.has_unsaved_change()) << "a read alone saves nothing";
  files.write_songlist();
  EXPECT_NE(saved().find("\"c\",\"1\",\"14:05 6/12/01\""), std::string::npos);
  EXPECT_FALSE(files.reread_if_changed(top)) << "its own save is no outside change";
}

TEST_F(OutsideChangesTest, UndoAfterAReadAgainTakesBackOnlyItsOwnChange) {
  step("b");
  step("a");
  outside("list.jk8", jk8({{"b", "9"}, {"a", "6"}, {"c", "1"}, {"new", "0"}}));
  int top = 1;
  ASSERT_TRUE(files.reread_if_changed(top));
  ASSERT_TRUE(files.undo());  // a, untouched by the other program
  EXPECT_EQ(saved(), jk8({{"b", "9"}, {"a", "5"}, {"c", "1"}, {"new", "0"}}));
  ASSERT_TRUE(files.undo());  // b, which the other program scored since
  EXPECT_EQ(saved(), jk8({{"b", "9"}, {"a", "5"}, {"c", "1"}, {"new", "0"}}));
  EXPECT_EQ(desktop.notes.back(), "Undo of Increment of b: nothing to do, every song in it changed since.");
}

TEST_F(OutsideChangesTest, AListRemovedIsMadeAgainAndOneReplacedByAnotherKindOfFileIsNeverSavedOver) {
  std::filesystem::remove(path("list.jk8"));
  step("b");
  EXPECT_EQ(saved(), jk8({{"a", "5"}, {"b", "4"}, {"c", "1"}}));

  const std::string song("ID3\x04\0\0\0\0\x01", 9);
  outside("list.jk8", song);
  step("b");
  EXPECT_EQ(saved(), song);
  EXPECT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(songlist.TextMatrix(2, col::kScore), "5") << "the list stays in memory, for a Save As";
  EXPECT_TRUE(files.has_unsaved_change());
  EXPECT_TRUE(desktop.notes.empty());
}

TEST_F(OutsideChangesTest, WhileAnotherJukoraSavesTheSaveWaitsAndIsMadeLater) {
  {
    FileLock other(path("list.jk8"), std::chrono::milliseconds(0));
    ASSERT_EQ(other.state(), FileLock::State::kHeld);
    step("b");
    EXPECT_EQ(saved(), jk8({{"a", "5"}, {"b", "3"}, {"c", "1"}}));
    EXPECT_EQ(desktop.notes, std::vector<std::string>{"Another Jukora is saving \"" + path("list.jk8") +
                                                      "\"; your changes are saved once it is done."});
  }
  int top = 1;
  EXPECT_FALSE(files.reread_if_changed(top));
  EXPECT_EQ(saved(), jk8({{"a", "5"}, {"b", "4"}, {"c", "1"}}));
  EXPECT_FALSE(files.has_unsaved_change());
}

}  // namespace
}  // namespace jukora
