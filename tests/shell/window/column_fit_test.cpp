// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/column_fit.h"

#include <gtest/gtest.h>

namespace jukora::testing {
namespace {

TEST(ColumnFit, TheNamesShareWhatTheNumbersLeaveWithoutCuttingATextThereIsRoomFor) {
  // Texts: #, Directory, File, Score, Rank, Mark, Last Played; headers 20 each.
  struct Case {
    const char* what;
    std::array<int, kColumns> text;
    int directory_weight, file_weight;
    std::array<int, kColumns> held_width;  // 0: not held
    int room;
    std::array<int, kColumns> widths;
  };
  const Case cases[] = {
      {"room to spare: shared 1 to 3",
       {30, 100, 100, 40, 40, 20, 90},
       1000,
       3000,
       {},
       1020,
       {30, 200, 600, 40, 40, 20, 90}},
      {"the share would cut the file's name",
       {30, 100, 500, 40, 40, 20, 90},
       3000,
       1000,
       {},
       1020,
       {30, 300, 500, 40, 40, 20, 90}},
      {"no weights at all: halves", {30, 20, 20, 40, 40, 20, 90}, 0, 0, {}, 420, {30, 100, 100, 40, 40, 20, 90}},
      {"too narrow: the shorter name whole, the longer cut",
       {30, 300, 100, 40, 40, 20, 90},
       1,
       1,
       {},
       420,
       {30, 100, 100, 40, 40, 20, 90}},
      {"too narrow for either: shared as the widths say",
       {30, 300, 300, 40, 40, 20, 90},
       1,
       3,
       {},
       420,
       {30, 50, 150, 40, 40, 20, 90}},
      {"narrower than the numbers: the names keep their headers",
       {30, 300, 100, 40, 40, 20, 90},
       1,
       1,
       {},
       100,
       {30, 20, 20, 40, 40, 20, 90}},
      {"a dragged score column stays, even too narrow",
       {30, 100, 100, 40, 40, 20, 90},
       1,
       1,
       {0, 0, 0, 25, 0, 0, 0},
       1005,
       {30, 400, 400, 25, 40, 20, 90}},
      {"a dragged directory: the file takes the rest",
       {30, 100, 100, 40, 40, 20, 90},
       1,
       1,
       {0, 150, 0, 0, 0, 0, 0},
       1020,
       {30, 150, 650, 40, 40, 20, 90}},
      {"a dragged file too wide: the directory keeps its header",
       {30, 100, 100, 40, 40, 20, 90},
       1,
       1,
       {0, 0, 900, 0, 0, 0, 0},
       1020,
       {30, 20, 900, 40, 40, 20, 90}},
      {"too narrow, a share below the header",
       {30, 300, 300, 40, 40, 20, 90},
       1,
       30,
       {},
       330,
       {30, 20, 90, 40, 40, 20, 90}},
      {"both dragged: the grid may stay part empty",
       {30, 100, 100, 40, 40, 20, 90},
       1,
       1,
       {0, 120, 130, 0, 0, 0, 0},
       1020,
       {30, 120, 130, 40, 40, 20, 90}},
  };
  for (const Case& c : cases) {
    ColumnNeeds needs;
    needs.text = c.text;
    needs.header.fill(20);
    needs.directory_weight = c.directory_weight;
    needs.file_weight = c.file_weight;
    for (int column = 0; column < kColumns; ++column) {
      needs.held[column] = c.held_width[column] > 0;
      needs.held_width[column] = c.held_width[column];
    }
    EXPECT_EQ(fit_columns(needs, c.room), c.widths) << c.what;
  }
}

}  // namespace
}  // namespace jukora::testing
