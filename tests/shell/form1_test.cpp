#include "shell/form1.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <set>

#include "shell/dialog.h"
#include "shell/dir_dialog.h"
#include "shell/songlist_model.h"
#include "shell/songlist_view.h"
#include "shell/twips.h"
#include "window_fixture.h"

namespace jukora::testing {
namespace {

constexpr std::string_view kWindow = sections::kWindow;

class Form1Test : public WindowTest {
 protected:
  std::set<std::string> keys_written() const {
    std::set<std::string> keys;
    for (const auto& [key, value] : settings.values()) keys.insert(key.first + "/" + key.second);
    return keys;
  }
  TwipScale scale() const { return TwipScale::of(*form); }
  std::string file(int row) const { return std::string(form->songlist().TextMatrix(row, col::kFile)); }
  std::string score(int row) const { return std::string(form->songlist().TextMatrix(row, col::kScore)); }
  // A shown window over a songlist of songs a .. with the given scores.
  Form1& start_with_scores(const std::vector<int>& scores) {
    std::vector<std::string> records;
    std::string name = "a";
    for (int s : scores) {
      records.push_back("\"/m\",\"" + name + "\",\"" + std::to_string(s) + "\",\"00:00 1/1/71\"");
      name[0]++;
    }
    write_songlist(records);
    set(sections::kMain, keys::kVisible, "True");
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    return start();
  }
  QPoint cell_center(int row) {
    auto& grid = form->MSFlexGrid1();
    return grid.visualRect(grid.model()->index(row - 1, col::kFile)).center();
  }
  void click_row(int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(form->MSFlexGrid1().viewport(), Qt::LeftButton, modifiers, cell_center(row));
  }
  void type(char c) { QTest::keyClick(&form->MSFlexGrid1(), c); }
  std::pair<int, int> cursor() const { return {form->songlist().Row(), form->songlist().RowSel()}; }
};

TEST_F(Form1Test, FirstStartWithEmptySettings) {
  Form1& window = start();
  const TwipScale s = scale();
  EXPECT_EQ(window.size(), QSize(s.x_px(10035), s.y_px(7965)));
  EXPECT_EQ(window.MSFlexGrid1().geometry(), QRect(s.x_px(360), s.y_px(600), s.x_px(9375), s.y_px(7095)));
  EXPECT_EQ(window.cmdIncDec(0).text(), "+ Increment");
  // The buttons sit at their design places, widened only as far as their captions need.
  const QRect increment = window.cmdIncDec(0).geometry(), decrement = window.cmdIncDec(1).geometry();
  EXPECT_EQ(increment.topLeft(), QPoint(s.x_px(360), s.y_px(120)));
  EXPECT_EQ(increment.height(), s.y_px(375));
  EXPECT_GE(increment.width(), s.x_px(1095));
  EXPECT_GE(increment.width(), window.cmdIncDec(0).sizeHint().width());
  EXPECT_EQ(window.cmdIncDec(1).text(), "- Decrement");
  EXPECT_EQ(decrement.y(), s.y_px(120));
  EXPECT_GE(decrement.x(), s.x_px(1680));
  EXPECT_GE(decrement.x() - increment.right() - 1, s.x_px(225));
  EXPECT_GE(decrement.width(), window.cmdIncDec(1).sizeHint().width());
  EXPECT_NEAR(window.width_margin(), 660, 1440 / 96);
  EXPECT_NEAR(window.height_margin(), 870, 1440 / 96);
  EXPECT_TRUE(window.is_loaded());

  // The design place: the middle of the screen.
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_EQ(window.geometry().center(), screen.center());

  EXPECT_EQ(window.songlist().Rows(), 1);
  EXPECT_EQ(window.MSFlexGrid1().model()->rowCount(), 0);
  EXPECT_EQ(window.MSFlexGrid1().model()->headerData(1, Qt::Horizontal).toString(), "Directory");
  EXPECT_EQ(window.MSFlexGrid1().model()->headerData(6, Qt::Horizontal).toString(), "Last Played");
  for (int c = 0; c < kColumns; ++c) EXPECT_EQ(window.MSFlexGrid1().columnWidth(c), s.x_px(1000));

  EXPECT_EQ(window.windowTitle(), "Jukora Song Manager - default.jk8");
  EXPECT_EQ(window.songlist_caption(), "Songlist (default.jk8)");
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(keys_written(),
            (std::set<std::string>{"window/app_top", "window/app_left", "window/app_height", "window/app_width"}));
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), std::to_string(qRound(s.x_twips(s.x_px(10035)))));
  EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(Form1Test, GeometryAndColumnWidthsComeFromTheSettingsAndGoBack) {
  set(kWindow, keys::kAppTop, "1500");
  set(kWindow, keys::kAppLeft, "3000");
  set(kWindow, keys::kAppHeight, "6000");
  set(kWindow, keys::kAppWidth, "9000");
  const int widths[kColumns] = {400, 3000, 2500, 700, 1000, 555, 1800};
  for (int c = 0; c < kColumns; ++c) set(kWindow, fg_col_key(c), std::to_string(widths[c]));
  Form1& window = start();
  const TwipScale s = scale();
  EXPECT_EQ(window.geometry(), QRect(s.x_px(3000), s.y_px(1500), s.x_px(9000), s.y_px(6000)));
  EXPECT_EQ(window.MSFlexGrid1().width(), s.x_px(9000 - window.width_margin()));
  EXPECT_EQ(window.MSFlexGrid1().height(), s.y_px(6000 - window.height_margin()));
  for (int c = 0; c < kColumns; ++c) EXPECT_EQ(window.MSFlexGrid1().columnWidth(c), s.x_px(widths[c]));
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), "9000");
  EXPECT_EQ(setting(kWindow, keys::kAppTop), "1500");

  // A width the user drags is kept in twips; the others keep their exact value.
  window.MSFlexGrid1().horizontalHeader()->resizeSection(2, s.x_px(4000));
  window.close();
  for (int c = 0; c < kColumns; ++c)
    EXPECT_EQ(setting(kWindow, fg_col_key(c)), std::to_string(c == 2 ? qRound(s.x_twips(s.x_px(4000))) : widths[c]));
}

TEST_F(Form1Test, APlaceOnAScreenThatIsGoneFallsBackToTheDesignPlace) {
  set(kWindow, keys::kAppLeft, "-900000");
  set(kWindow, keys::kAppTop, "-900000");
  Form1& window = start();
  EXPECT_EQ(window.geometry().center(), window.screen()->availableGeometry().center());
}

TEST_F(Form1Test, TheGridFollowsResizesDownToItsFloors) {
  set(sections::kMain, keys::kVisible, "True");
  Form1& window = start();
  const TwipScale s = scale();
  const QSize grid = window.MSFlexGrid1().size();

  // Too narrow for the grid: its width stays, its height follows.
  window.resize(s.x_px(1500), s.y_px(5000));
  EXPECT_EQ(window.MSFlexGrid1().width(), grid.width());
  EXPECT_EQ(window.MSFlexGrid1().height(), s.y_px(5000 - window.height_margin()));
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), std::to_string(qRound(s.x_twips(s.x_px(1500)))));

  window.resize(s.x_px(12000), s.y_px(1500));
  EXPECT_EQ(window.MSFlexGrid1().width(), s.x_px(12000 - window.width_margin()));
  EXPECT_EQ(window.MSFlexGrid1().height(), s.y_px(5000 - window.height_margin()));
  EXPECT_EQ(setting(kWindow, keys::kAppHeight), std::to_string(qRound(s.y_twips(s.y_px(1500)))));
}

TEST_F(Form1Test, AMinimizedWindowSavesNothing) {
  Form1& window = start();
  window.showMinimized();
  const auto before = settings.values();
  window.resize(window.width() + 50, window.height() + 50);
  EXPECT_EQ(settings.values(), before);
}

TEST_F(Form1Test, ClosingSavesTheVisibleFlagAndTheColumnWidths) {
  std::vector<std::string> order;
  Form1& window = create();
  window.hooks.remove_tray_icons = [&] { order.push_back("remove_tray_icons " + setting(sections::kMain, "visible")); };
  window.Form_Load();
  window.preferences().show_dialog();
  window.show();
  int unloaded = 0;
  QObject::connect(&window, &Form1::unloaded, [&] { ++unloaded; });
  window.close();
  EXPECT_EQ(order, std::vector<std::string>{"remove_tray_icons <absent>"});
  EXPECT_EQ(setting(sections::kMain, keys::kVisible), "True");
  for (int c = 0; c < kColumns; ++c) EXPECT_EQ(setting(kWindow, fg_col_key(c)), "1000");
  EXPECT_FALSE(window.preferences().isVisible());
  EXPECT_FALSE(window.preferences().dialog_loaded());
  EXPECT_FALSE(window.dir_dialog().isVisible());
  EXPECT_EQ(unloaded, 1);

  Form1& hidden = start();  // shown, as the flag now says
  hidden.hide();
  hidden.close();
  EXPECT_EQ(setting(sections::kMain, keys::kVisible), "False");
}

TEST_F(Form1Test, StartUpRunsInOrderAndHonoursTheVisibleFlag) {
  write_songlist({R"("/m","a","1","00:00 1/1/71")", R"("/m","b","3","00:00 1/1/71")"});
  set(sections::kMain, keys::kVisible, "True");
  set(sections::kPrefs, keys::kWinampDir, player_dir());
  Form1& window = create();
  std::string seen;
  window.hooks.add_tray_icons = [&] {
    seen = "icon " + std::to_string(!window.windowIcon().isNull()) + ", title " + window.windowTitle().toStdString() +
           ", rows " + std::to_string(window.songlist().Rows()) + ", header " +
           std::string(window.songlist().TextMatrix(0, col::kScore));
  };
  window.Form_Load();
  EXPECT_EQ(seen, "icon 1, title Jukora Song Manager, rows 1, header Score");
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.dir_dialog().isVisible());
  EXPECT_EQ(window.MSFlexGrid1().model()->rowCount(), 2);
  EXPECT_EQ(file(1), "b");
  // The load leaves the last row current, and the grid shows it so.
  EXPECT_EQ(cursor(), std::pair(2, 2));
  EXPECT_EQ(window.MSFlexGrid1().shown_selection(), std::pair(2, 2));
}

TEST_F(Form1Test, AMissingPlayerOpensTheFolderChooserAndStartUpGoesOn) {
  write_songlist({R"("/m","a","1","00:00 1/1/71")"});
  set(sections::kPrefs, keys::kWinampDir, dir.file("nowhere"));
  Form1& window = start();
  EXPECT_TRUE(window.dir_dialog().isVisible());
  EXPECT_FALSE(window.preferences().isVisible());
  EXPECT_EQ(window.songlist().Rows(), 2);
}

TEST_F(Form1Test, GridShowsTheSonglistLikeTheFixedGrid) {
  Form1& window = start_with_scores({5});
  const QAbstractItemModel& model = *window.MSFlexGrid1().model();
  const std::string alignments = "<<<>>><";
  for (int c = 0; c < kColumns; ++c) {
    auto align = model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(align & Qt::AlignHorizontal_Mask, alignments[c] == '>' ? Qt::AlignRight : Qt::AlignLeft) << c;
  }
  EXPECT_EQ(model.index(0, 0).data().toString(), "1");
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(model.index(0, 0).data(Qt::BackgroundRole).isValid());
  EXPECT_EQ(model.index(0, 3).data(Qt::ToolTipRole).toString(), kGridToolTip);
  EXPECT_EQ(window.MSFlexGrid1().toolTip(), kGridToolTip);
}

TEST_F(Form1Test, TheSelectionIsMirroredBothWays) {
  Form1& window = start_with_scores({9, 7, 5, 3, 1});
  click_row(2);
  EXPECT_EQ(cursor(), std::pair(2, 2));
  click_row(4, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(2, 4));
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(2, 3));
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Down);
  EXPECT_EQ(cursor(), std::pair(4, 4));

  window.songlist().SetRow(5);
  window.songlist().SetRowSel(3);
  window.show_songlist();
  EXPECT_EQ(window.MSFlexGrid1().shown_selection(), std::pair(5, 3));
  EXPECT_EQ(window.MSFlexGrid1().selectionModel()->selectedRows(1).size(), 3);
  // Shift with an arrow extends from the anchor placed from the Songlist.
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(5, 2));
}

TEST_F(Form1Test, PlusFollowsTheSongAsItClimbs) {
  Form1& window = start_with_scores({9, 7, 7, 3});
  click_row(3);
  type('+');
  EXPECT_EQ(file(2), "c");
  EXPECT_EQ(score(2), "8");
  EXPECT_EQ(cursor(), std::pair(2, 2));
  EXPECT_EQ(window.MSFlexGrid1().shown_selection(), std::pair(2, 2));
  EXPECT_EQ(window.MSFlexGrid1().model()->index(1, col::kScore).data().toString(), "8");
  EXPECT_NE(read_bytes(default_songlist_path(folders)).find("\"/m\",\"c\",\"8\""), std::string::npos);
}

TEST_F(Form1Test, KeysAndButtonsStepTheWholeSelection) {
  Form1& window = start_with_scores({10, 8, 6, 4, 2});
  click_row(4);
  click_row(2, Qt::ShiftModifier);
  type('-');
  EXPECT_EQ(score(2), "7");
  EXPECT_EQ(score(3), "5");
  EXPECT_EQ(score(4), "3");
  EXPECT_EQ(window.MSFlexGrid1().shown_selection(), std::pair(4, 4));
  QTest::mouseClick(&window.cmdIncDec(1), Qt::LeftButton);
  QTest::mouseClick(&window.cmdIncDec(1), Qt::LeftButton);
  EXPECT_EQ(file(5), "d");
  QTest::mouseClick(&window.cmdIncDec(0), Qt::LeftButton);
  EXPECT_EQ(score(5), "2");
}

TEST_F(Form1Test, TabGoesFromTheGridToTheButtonsInOrder) {
  Form1& window = start_with_scores({3, 2});
  window.show();
  QApplication::setActiveWindow(&window);
  window.MSFlexGrid1().setFocus();
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &window.cmdIncDec(0));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &window.cmdIncDec(1));
}

TEST_F(Form1Test, DeleteRemovesTheSelectedRowsAndSaves) {
  Form1& window = start_with_scores({5, 4, 3, 2, 1});
  click_row(3);
  click_row(5, Qt::ShiftModifier);
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Delete);
  EXPECT_EQ(window.songlist().Rows(), 3);
  EXPECT_EQ(window.MSFlexGrid1().model()->rowCount(), 2);
  EXPECT_EQ(read_bytes(default_songlist_path(folders)),
            "\"/m\",\"a\",\"5\",\"00:00 1/1/71\"\r\n\"/m\",\"b\",\"4\",\"00:00 1/1/71\"\r\n");
  // The cursor stays on the rows that are left.
  EXPECT_EQ(cursor(), std::pair(2, 2));
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Period);
  EXPECT_EQ(window.songlist().Rows(), 3);
}

TEST_F(Form1Test, PlayAndMenuHooksComeFromTheGrid) {
  std::vector<std::string> calls;
  write_songlist({R"("/m","a","2","00:00 1/1/71")", R"("/m","b","1","00:00 1/1/71")"});
  set(sections::kMain, keys::kVisible, "True");
  Form1& window = create();
  window.hooks.MSFlexGrid1_DblClick = [&] { calls.push_back("play " + std::to_string(window.songlist().Row())); };
  window.hooks.show_mode_menu = [&](const QPoint&) { calls.push_back("menu"); };
  window.Form_Load();
  click_row(1);
  QTest::keyClick(&window.MSFlexGrid1(), Qt::Key_Return);
  QTest::mouseDClick(window.MSFlexGrid1().viewport(), Qt::LeftButton, {}, cell_center(2));
  QTest::mouseClick(window.MSFlexGrid1().viewport(), Qt::RightButton, {}, cell_center(1));
  EXPECT_EQ(calls, (std::vector<std::string>{"play 1", "play 2", "menu"}));
  // The right button does not move the cursor.
  EXPECT_EQ(cursor(), std::pair(2, 2));
}

TEST_F(Form1Test, TheTimerDrivesTheTickHookWithoutReentry) {
  Form1& window = create();
  int ticks = 0;
  window.hooks.tmrJukora_Timer = [&] {
    ++ticks;
    window.tmrJukora_Timer();  // as a nested event loop would
  };
  window.Form_Load();
  EXPECT_EQ(window.tmrJukora().interval(), 1000);
  EXPECT_FALSE(window.tmrJukora().isActive());
  window.play_timer().set_enabled(true);
  EXPECT_TRUE(window.tmrJukora().isActive());
  window.tmrJukora_Timer();
  EXPECT_EQ(ticks, 1);
  window.play_timer().set_enabled(false);
  EXPECT_FALSE(window.play_timer().enabled());
}

TEST_F(Form1Test, PreferencesOpenThroughTheDesktop) {
  Form1& window = start();
  window.desktop().show_preferences();
  EXPECT_TRUE(window.preferences().isVisible());
}

}  // namespace
}  // namespace jukora::testing
