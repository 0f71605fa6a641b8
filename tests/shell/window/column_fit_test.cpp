// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/column_fit.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QImage>

#include "shell/twips.h"
#include "shell/window/songlist_model.h"
#include "shell/window/songlist_view.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

using ::testing::AnyOf;
using ::testing::Each;
using ::testing::EndsWith;

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

constexpr std::string_view kWindow = sections::kWindow;

class ColumnsTest : public WindowTest {
 protected:
  TwipScale scale() const { return TwipScale::of(*form); }
};

// How many pixels across the middle third of the grid differ from its bottom right corner.
int marks_in_the_middle(SonglistView& grid) {
  const QImage image = grid.viewport()->grab().toImage();
  const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
  int marks = 0;
  for (int y = image.height() / 3; y < 2 * image.height() / 3; ++y)
    for (int x = 0; x < image.width(); ++x) marks += image.pixel(x, y) != background;
  return marks;
}

// The grid's columns together, against the width inside it.
int columns_total(const SonglistView& view) {
  int total = 0;
  for (int c = 0; c < kColumns; ++c) total += view.columnWidth(c);
  return total;
}

// The cells in view whose column cuts their text, as "row,column".
std::vector<std::string> cut_cells(SonglistView& view) {
  std::vector<std::string> cut;
  const auto [first, last] = view.rows_in_view();
  for (int row = first; row <= last; ++row)
    for (int c = 0; c < kColumns; ++c)
      if (view.tooltip_at(view.model()->index(row - 1, c)) != kGridToolTip)
        cut.push_back(std::to_string(row) + "," + std::to_string(c));
  return cut;
}

TEST_F(ColumnsTest, TheColumnsFillTheGridAndShowEveryTextItHasRoomFor) {
  set(sections::kMain, keys::kVisible, "True");
  start();
  EXPECT_GT(marks_in_the_middle(grid()), 0);
  // Empty, the grid is filled already, the headers whole.
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());
  for (int c = 0; c < kColumns; ++c)
    EXPECT_GE(grid().columnWidth(c), grid().horizontalHeader()->sectionSizeHint(c)) << c;

  write_songlist({R"("/m","the first song.mp3","1","00:00 1/1/71")"});
  app->files().read_songlist();
  form->show_songlist();
  EXPECT_EQ(marks_in_the_middle(grid()), 0);
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());
  // Measured as the row looks while its song plays: bold, the number beside an icon.
  QFont bold = grid().font();
  bold.setBold(true);
  EXPECT_GT(grid().columnWidth(col::kNumber), QFontMetrics(bold).horizontalAdvance("1") + grid().iconSize().width());
  EXPECT_THAT(cut_cells(grid()), IsEmpty());

  // Longer names arriving later are shown whole while the window has room.
  const std::string name = "Sigur Ros - Hoppipolla, a much longer name than the first one.ogg";
  write_songlist({R"("/music/Sigur Ros/Takk","the first song.mp3","12","18:19 12/7/26")",
                  "\"/m\",\"" + name + "\",\"-1000000000\",\"\""});
  app->files().read_songlist();
  form->show_songlist();
  form->resize(1280, 700);
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());
  EXPECT_THAT(cut_cells(grid()), IsEmpty());
  EXPECT_EQ(grid().tooltip_at(grid().model()->index(1, col::kFile)), kGridToolTip);
  // Narrowed, only the names are cut, and their tip is their whole text.
  form->resize(scale().x_px(8000), 700);
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());
  EXPECT_THAT(cut_cells(grid()), Contains("2,2"));
  EXPECT_THAT(cut_cells(grid()), Each(AnyOf(EndsWith(",1"), EndsWith(",2"))));
  EXPECT_EQ(grid().tooltip_at(grid().model()->index(1, col::kFile)), QString::fromStdString(name));
  // Outside the cells, the grid's own tip.
  EXPECT_EQ(grid().tooltip_at(QModelIndex()), kGridToolTip);

  // A width the person drags wins; File makes room for it.
  form->resize(1280, 700);
  grid().horizontalHeader()->resizeSection(col::kDirectory, 400);
  form->resize(1200, 700);
  form->show_songlist();
  EXPECT_EQ(grid().columnWidth(col::kDirectory), 400);
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());
  form->close();
  EXPECT_EQ(setting(kWindow, fg_col_key(col::kDirectory)), std::to_string(qRound(scale().x_twips(400))));
}

TEST_F(ColumnsTest, StoredWidthsGiveTheNamesTheirShares) {
  set(sections::kMain, keys::kVisible, "True");
  set(kWindow, fg_col_key(col::kDirectory), "1000");
  set(kWindow, fg_col_key(col::kFile), "3000");
  write_songlist({R"("/m","a.mp3","1","")"});
  start().resize(1280, 700);
  EXPECT_NEAR(grid().columnWidth(col::kFile), 3 * grid().columnWidth(col::kDirectory), 3);
  EXPECT_EQ(columns_total(grid()), grid().viewport()->width());

  // A long list opens at its cursor, the last row: the texts there are measured.
  std::vector<std::string> records;
  for (int i = 0; i < 2000; ++i) records.push_back("\"/m\",\"" + std::to_string(i) + ".mp3\",\"5\",\"\"");
  records.push_back(R"("/m","last.mp3","-1000000000000","")");
  write_songlist(records);
  MemorySettingsStore fresh;
  const std::unique_ptr<App> long_list = program(fresh);
  long_list->start();
  SonglistView& view = long_list->window().MSFlexGrid1();
  EXPECT_GT(view.columnWidth(col::kScore), view.fontMetrics().horizontalAdvance("-1000000000000"));
}

}  // namespace
}  // namespace jukora::testing
