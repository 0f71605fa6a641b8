// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/score_changes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/settings_keys.h"
#include "songlist/recompute.h"
#include "songlist/row_deletion.h"
#include "support/saved_songlist.h"

namespace jukora {
namespace {

using testing::read_bytes;

class ScoreChanges : public ::testing::Test, protected testing::SavedSonglist {
 protected:
  ScoreChanges() {
    settings.SaveSetting(sections::kMain, keys::kLastSet, path);
    setup_grid(songlist);
  }

  // Rows named a, b, c ... in /m with the given scores, recomputed.
  void fill(const std::vector<std::string>& scores) {
    std::string name = "a";
    for (const auto& score : scores) {
      songlist.add_cells({"", "/m", name, score, "", "", "00:00 1/1/71"});
      name[0]++;
    }
    recompute_songlist(songlist);
  }
  std::string score(int row) const { return std::string(songlist.TextMatrix(row, col::kScore)); }
  std::string file(int row) const { return std::string(songlist.TextMatrix(row, col::kFile)); }
  void select(int row, int row_sel) {
    songlist.SetRow(row);
    songlist.SetRowSel(row_sel);
  }
  void step(ScoreDirection direction) { step_scores(songlist, files, direction, range_of_selection(songlist)); }

  std::string path = temp.file("list.jk8");
};

// Raising a song past its neighbours is checked through the window's grid.
TEST_F(ScoreChanges, TheLoweredSongSinksStaysCurrentAndIsSaved) {
  fill({"0", "-1", "-2"});
  select(1, 1);
  for (int i = 0; i < 3; ++i) step(ScoreDirection::kDown);
  EXPECT_EQ(file(3), "a");
  EXPECT_EQ(score(3), "-3");
  EXPECT_EQ(songlist.Row(), 3);
  EXPECT_EQ(read_bytes(path),
            "\"/m\",\"b\",\"-1\",\"00:00 1/1/71\"\r\n\"/m\",\"c\",\"-2\",\"00:00 1/1/71\"\r\n"
            "\"/m\",\"a\",\"-3\",\"00:00 1/1/71\"\r\n");
}

TEST_F(ScoreChanges, EverySelectedRowStepsAndOnlyTheAnchorStaysSelected) {
  fill({"10", "8", "6", "4", "2"});
  for (auto [row, row_sel] : {std::pair{2, 4}, std::pair{4, 2}}) {
    const std::string anchor = file(row);
    select(row, row_sel);
    step(ScoreDirection::kDown);
    EXPECT_EQ(songlist.Row(), songlist.RowSel());
    EXPECT_EQ(file(songlist.Row()), anchor);
  }
  // b, c and d went down twice; a and e were never selected.
  EXPECT_EQ(score(1) + score(2) + score(3) + score(4) + score(5), "106422");
}

// The songs a search shows between the ends of the selection, as the
// window hands them over; deleting them is the same for the Delete key.
TEST_F(ScoreChanges, ChosenRowsStepAndGoAloneAndTheAnchorStaysCurrent) {
  fill({"10", "8", "8", "4", "2"});
  select(3, 5);
  const ChosenRows chosen{{1, 3, 5}, 3};
  step_scores(songlist, files, ScoreDirection::kUp, chosen);
  // c climbed past b; b and d lay between the chosen rows and kept theirs.
  EXPECT_EQ(file(2) + score(2) + file(3) + score(3), "c9b8");
  EXPECT_EQ(score(1) + score(4) + score(5), "1143");
  EXPECT_EQ(std::pair(songlist.Row(), songlist.RowSel()), std::pair(2, 2));
  EXPECT_NE(read_bytes(path).find("\"/m\",\"e\",\"3\""), std::string::npos);

  delete_rows(songlist, files, chosen.rows);
  EXPECT_EQ(read_bytes(path), "\"/m\",\"c\",\"9\",\"00:00 1/1/71\"\r\n\"/m\",\"d\",\"4\",\"00:00 1/1/71\"\r\n");
  // Without a listed song at the anchor nothing steps.
  step_scores(songlist, files, ScoreDirection::kUp, ChosenRows{{1, 2}, 0});
  EXPECT_EQ(score(1), "9");
}

TEST_F(ScoreChanges, NothingHappensWithoutACurrentListedSong) {
  songlist.add_cells({"", "", "", "", "", "", ""});
  recompute_songlist(songlist);  // the placeholder row of an empty songlist
  for (int row : {0, 1, 2}) {
    select(row, row);
    step(ScoreDirection::kUp);
    step(ScoreDirection::kDown);
  }
  EXPECT_EQ(score(1), "0");
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace jukora
