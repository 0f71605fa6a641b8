// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <set>

#include "shell/preferences/dialog.h"
#include "shell/preferences/dir_dialog.h"
#include "shell/twips.h"
#include "shell/window/songlist_model.h"
#include "shell/window/songlist_view.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

constexpr std::string_view kWindow = sections::kWindow;

class Form1Test : public WindowTest {
 protected:
  TwipScale scale() const { return TwipScale::of(*form); }
  std::string file(int row) const { return std::string(app->songlist().TextMatrix(row, col::kFile)); }
  std::string score(int row) const { return std::string(app->songlist().TextMatrix(row, col::kScore)); }
  std::pair<int, int> cursor() const { return {app->songlist().Row(), app->songlist().RowSel()}; }
  // A shown window over a songlist of songs a .. with the given scores.
  Form1& start_with_scores(const std::vector<int>& scores) {
    std::vector<std::string> records;
    for (char name = 'a'; int s : scores) records.push_back(record("/m", std::string(1, name++), s));
    write_songlist(records);
    set(sections::kMain, keys::kVisible, "True");
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    return start();
  }
  QPoint cell_center(int row) const { return grid().visualRect(grid().model()->index(row - 1, col::kFile)).center(); }
};

TEST_F(Form1Test, FirstStartWithEmptySettings) {
  Form1& window = start();
  const TwipScale s = scale();
  EXPECT_EQ(window.size(), QSize(s.x_px(10035), s.y_px(7965)));
  EXPECT_EQ(grid().geometry(), QRect(s.x_px(360), s.y_px(600), s.x_px(9375), s.y_px(7095)));
  // The buttons sit at their design places, widened only as far as their captions need.
  const QRect increment = window.cmdIncDec(0).geometry(), decrement = window.cmdIncDec(1).geometry();
  EXPECT_EQ(increment.topLeft(), QPoint(s.x_px(360), s.y_px(120)));
  EXPECT_EQ(increment.height(), s.y_px(375));
  EXPECT_GE(increment.width(), std::max(s.x_px(1095), window.cmdIncDec(0).sizeHint().width()));
  EXPECT_EQ(decrement.y(), s.y_px(120));
  EXPECT_GE(decrement.x(), s.x_px(1680));
  EXPECT_GE(decrement.x() - increment.right() - 1, s.x_px(225));
  EXPECT_GE(decrement.width(), window.cmdIncDec(1).sizeHint().width());
  EXPECT_NEAR(window.width_margin(), 660, 1440 / 96);
  EXPECT_NEAR(window.height_margin(), 870, 1440 / 96);
  EXPECT_EQ(window.geometry().center(), window.screen()->availableGeometry().center());

  EXPECT_EQ(grid().model()->rowCount(), 0);
  // The headers whole; Directory and File, 1000 twips each as stored, share the rest.
  for (int c = 0; c < kColumns; ++c) EXPECT_GE(grid().columnWidth(c), grid().horizontalHeader()->sectionSizeHint(c));
  EXPECT_NEAR(grid().columnWidth(col::kDirectory), grid().columnWidth(col::kFile), 1);
  EXPECT_EQ(window.windowTitle(), "Jukora Song Manager - default.jk8");
  EXPECT_FALSE(window.isVisible());
  std::set<std::string> written;
  for (const auto& [key, value] : settings.values()) written.insert(key.first + "/" + key.second);
  EXPECT_EQ(written,
            (std::set<std::string>{"window/app_top", "window/app_left", "window/app_height", "window/app_width"}));
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), std::to_string(qRound(s.x_twips(s.x_px(10035)))));
  EXPECT_TRUE(desktop.messages.empty());

  // A place on a screen that is gone falls back to the design place.
  set(kWindow, keys::kAppLeft, "-900000");
  set(kWindow, keys::kAppTop, "-900000");
  EXPECT_EQ(start().geometry().center(), window.screen()->availableGeometry().center());
}

TEST_F(Form1Test, GeometryAndColumnWidthsComeFromTheSettingsAndGoBack) {
  for (auto [key, value] : {std::pair{keys::kAppTop, "1500"},
                            {keys::kAppLeft, "1500"},
                            {keys::kAppHeight, "6000"},
                            {keys::kAppWidth, "9000"}})
    set(kWindow, key, value);
  const int widths[kColumns] = {400, 3000, 2500, 700, 1000, 555, 1800};
  for (int c = 0; c < kColumns; ++c) set(kWindow, fg_col_key(c), std::to_string(widths[c]));
  Form1& window = start();
  const TwipScale s = scale();
  EXPECT_EQ(window.geometry(), QRect(s.x_px(1500), s.y_px(1500), s.x_px(9000), s.y_px(6000)));
  EXPECT_EQ(grid().size(), QSize(s.x_px(9000 - window.width_margin()), s.y_px(6000 - window.height_margin())));
  // Directory and File share the room as their stored widths do.
  EXPECT_NEAR(grid().columnWidth(col::kDirectory) * 2500.0 / grid().columnWidth(col::kFile), 3000, 60);
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), "9000");

  // A width the user drags is kept in twips.
  grid().horizontalHeader()->resizeSection(col::kScore, s.x_px(4000));
  window.close();
  EXPECT_EQ(setting(kWindow, fg_col_key(col::kScore)), std::to_string(qRound(s.x_twips(s.x_px(4000)))));
}

TEST_F(Form1Test, RestoredGeometryIsBroughtWhollyOntoTheScreenAndOnlySuchIsSaved) {
  // Top, left, height and width.
  const char* const places[][4] = {{"0", "0", "0", "0"},
                                   {"-50", "-7000", "-600", "-9000"},
                                   {"-3.2e10", "200", "1e300", "32767000"},
                                   {"600", "-1e12", "3000", "1e308"},
                                   {"9000", "11000", "6000", "9000"},
                                   {"1500", "3000", "13000", "16000"}};
  for (const auto& place : places) {
    SCOPED_TRACE(std::string(place[0]) + " " + place[1] + " " + place[2] + " " + place[3]);
    for (int i = 0; const auto key : {keys::kAppTop, keys::kAppLeft, keys::kAppHeight, keys::kAppWidth})
      set(kWindow, key, place[i++]);
    const QRect window = start().geometry();
    const QRect screen = form->screen()->availableGeometry();
    const TwipScale s = scale();
    // Big enough to see both buttons; the whole of it on the screen, with
    // room left for a frame and a title bar.
    EXPECT_GE(window.width(), s.x_px(3000));
    EXPECT_GE(window.height(), s.y_px(1500));
    EXPECT_TRUE(screen.contains(window.adjusted(0, 0, 2, 10)))
        << window.x() << "," << window.y() << " " << window.width() << "x" << window.height();
    // What was saved is that place.
    EXPECT_EQ(setting(kWindow, keys::kAppTop), std::to_string(qRound(s.y_twips(window.top()))));
    EXPECT_EQ(setting(kWindow, keys::kAppLeft), std::to_string(qRound(s.x_twips(window.left()))));
    EXPECT_EQ(setting(kWindow, keys::kAppWidth), std::to_string(qRound(s.x_twips(window.width()))));

    // A window that ends up off every screen saves no place.
    const auto before = settings.values();
    form->move(-10 * screen.width(), -10 * screen.height());
    form->resize(form->width() + 10, form->height());
    EXPECT_EQ(settings.values(), before);
  }
}

TEST_F(Form1Test, AWindowOnlyMovedComesBackWhereItWasMoved) {
  set(sections::kMain, keys::kVisible, "True");
  for (auto [key, value] : {std::pair{keys::kAppTop, "300"},
                            {keys::kAppLeft, "450"},
                            {keys::kAppHeight, "4000"},
                            {keys::kAppWidth, "5000"}})
    set(kWindow, key, value);
  const QSize size = start().size();
  const QPoint moved = form->pos() + QPoint(37, 23);
  form->move(moved);
  QTRY_COMPARE(form->pos(), moved);
  const TwipScale s = scale();
  EXPECT_EQ(setting(kWindow, keys::kAppLeft), std::to_string(qRound(s.x_twips(moved.x()))));
  EXPECT_EQ(setting(kWindow, keys::kAppTop), std::to_string(qRound(s.y_twips(moved.y()))));
  form->close();
  EXPECT_EQ(start().pos(), moved);
  EXPECT_EQ(form->size(), size);
}

TEST_F(Form1Test, TheGridFollowsResizesDownToItsFloorsAndAMinimizedWindowSavesNothing) {
  set(sections::kMain, keys::kVisible, "True");
  Form1& window = start();
  const TwipScale s = scale();
  const int grid_width = grid().width();
  // Too narrow for the grid: its width stays, its height follows.
  window.resize(s.x_px(1500), s.y_px(5000));
  EXPECT_EQ(grid().size(), QSize(grid_width, s.y_px(5000 - window.height_margin())));
  EXPECT_EQ(setting(kWindow, keys::kAppWidth), std::to_string(qRound(s.x_twips(s.x_px(1500)))));
  window.resize(s.x_px(12000), s.y_px(1500));
  EXPECT_EQ(grid().size(), QSize(s.x_px(12000 - window.width_margin()), s.y_px(5000 - window.height_margin())));
  EXPECT_EQ(setting(kWindow, keys::kAppHeight), std::to_string(qRound(s.y_twips(s.y_px(1500)))));

  window.showMinimized();
  const auto before = settings.values();
  window.resize(window.width() + 50, window.height() + 50);
  EXPECT_EQ(settings.values(), before);
}

TEST_F(Form1Test, ClosingSavesTheVisibleFlagAndTheColumnWidths) {
  Form1& window = create();
  std::vector<std::string> order;
  window.hooks.remove_tray_icons = [&] { order.push_back("remove_tray_icons " + setting(sections::kMain, "visible")); };
  window.Form_Load();
  app->preferences().show_dialog();
  window.show();
  int unloaded = 0;
  QObject::connect(&window, &Form1::unloaded, [&] { ++unloaded; });
  window.close();
  EXPECT_EQ(order, std::vector<std::string>{"remove_tray_icons <absent>"});
  EXPECT_EQ(setting(sections::kMain, keys::kVisible), "True");
  for (int c = 0; c < kColumns; ++c) EXPECT_NE(setting(kWindow, fg_col_key(c)), "<absent>");
  EXPECT_FALSE(app->preferences().isVisible() || app->preferences().dialog_loaded());
  EXPECT_FALSE(app->dir_dialog().isVisible());
  EXPECT_EQ(unloaded, 1);

  Form1& hidden = start();  // shown, as the flag now says
  hidden.hide();
  hidden.close();
  EXPECT_EQ(setting(sections::kMain, keys::kVisible), "False");
}

TEST_F(Form1Test, StartUpRunsInOrderHonoursTheVisibleFlagAndTheTimerTicks) {
  write_songlist({R"("/m","a","1","00:00 1/1/71")", R"("/m","b","3","00:00 1/1/71")"});
  set(sections::kMain, keys::kVisible, "True");
  set(sections::kPrefs, keys::kWinampDir, player_dir());
  Form1& window = create();
  std::string seen;
  window.hooks.add_tray_icons = [&] {
    seen = "icon " + std::to_string(!window.windowIcon().isNull()) + ", title " + window.windowTitle().toStdString() +
           ", rows " + std::to_string(app->songlist().Rows()) + ", header " +
           std::string(app->songlist().TextMatrix(0, col::kScore));
  };
  window.Form_Load();
  EXPECT_EQ(seen, "icon 1, title Jukora Song Manager, rows 1, header Score");
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(app->dir_dialog().isVisible());
  EXPECT_EQ(grid().model()->rowCount(), 2);
  EXPECT_EQ(file(1), "b");
  // The load leaves the last row current, and the grid shows it so.
  EXPECT_EQ(cursor(), std::pair(2, 2));
  EXPECT_EQ(grid().shown_selection(), std::pair(2, 2));
}

TEST_F(Form1Test, TheSelectionIsMirroredBothWaysAndTheGridPlaysAndOpensTheMenu) {
  Form1& window = start_with_scores({9, 7, 5, 3, 1});
  click_row(2);
  EXPECT_EQ(cursor(), std::pair(2, 2));
  click_row(4, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(2, 4));
  key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(2, 3));
  key(Qt::Key_Down);
  EXPECT_EQ(cursor(), std::pair(4, 4));

  app->songlist().SetRow(5);
  app->songlist().SetRowSel(3);
  window.show_songlist();
  EXPECT_EQ(grid().shown_selection(), std::pair(5, 3));
  EXPECT_EQ(grid().selectionModel()->selectedRows(1).size(), 3);
  // Shift with an arrow extends from the anchor placed from the Songlist.
  key(Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(cursor(), std::pair(5, 2));

  std::vector<std::string> calls;
  window.hooks.play_row = [&](int) { calls.push_back("play " + std::to_string(app->songlist().Row())); };
  QPoint menu_at;
  window.hooks.show_mode_menu = [&](const QPoint& at) {
    calls.push_back("menu");
    menu_at = at;
  };
  click_row(1);
  key(Qt::Key_Return);
  QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, cell_center(2));
  QTest::mouseClick(grid().viewport(), Qt::RightButton, {}, cell_center(1));
  EXPECT_EQ(calls, (std::vector<std::string>{"play 1", "play 2", "menu"}));
  EXPECT_EQ(cursor(), std::pair(2, 2));  // the right button does not move it

  // By keyboard the menu opens below the selected row: Shift+F10, and the
  // Menu key, which the platform turns into a context-menu event.
  const QPoint below_row_2 =
      grid().viewport()->mapToGlobal(QPoint(0, grid().visualRect(grid().currentIndex()).bottom()));
  key(Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(menu_at, below_row_2);
  menu_at = {};
  QContextMenuEvent menu_key(QContextMenuEvent::Keyboard, QPoint(1, 1), grid().mapToGlobal(QPoint(1, 1)));
  QApplication::sendEvent(&grid(), &menu_key);
  EXPECT_EQ(menu_at, below_row_2);
  EXPECT_EQ(calls.size(), 5u);
}

// The grid's characters: + and = raise, - and _ lower, Enter plays; no other does anything.
TEST_F(Form1Test, KeyMap) {
  Form1& window = start_with_scores({0});
  int direct_plays = 0;
  window.hooks.play_row = [&](int) { ++direct_plays; };
  for (int key : {'+', '='}) window.MSFlexGrid1_KeyPress(key);
  EXPECT_EQ(score(1), "2");
  for (int key : {'-', '_', '-'}) window.MSFlexGrid1_KeyPress(key);
  EXPECT_EQ(score(1), "-1");
  for (int key : {int{'a'}, int{'*'}, int{' '}, 0, 127}) window.MSFlexGrid1_KeyPress(key);
  EXPECT_EQ(score(1), "-1");
  EXPECT_EQ(direct_plays, 0);
  window.MSFlexGrid1_KeyPress(13);
  EXPECT_EQ(direct_plays, 1);
}

TEST_F(Form1Test, TheGridShowsTheSonglistAndPlusFollowsTheSongAsItClimbs) {
  const QAbstractItemModel& model = *start_with_scores({9, 7, 7, 3}).MSFlexGrid1().model();
  for (int c = 0; c < kColumns; ++c) {
    auto align = model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(align & Qt::AlignHorizontal_Mask, std::string("<<<>>><")[c] == '>' ? Qt::AlignRight : Qt::AlignLeft);
  }
  EXPECT_EQ(model.index(0, 0).data().toString(), "1");
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsSelectable);
  EXPECT_TRUE(model.index(0, 0).data(Qt::BackgroundRole).isValid());
  EXPECT_EQ(model.index(0, 3).data(Qt::ToolTipRole).toString(), kGridToolTip);

  click_row(3);
  key('+');
  EXPECT_EQ(std::pair(file(2), score(2)), std::pair(std::string("c"), std::string("8")));
  EXPECT_EQ(cursor(), std::pair(2, 2));
  EXPECT_EQ(grid().shown_selection(), std::pair(2, 2));
  EXPECT_EQ(model.index(1, col::kScore).data().toString(), "8");
  EXPECT_NE(saved().find("\"/m\",\"c\",\"8\""), std::string::npos);
}

TEST_F(Form1Test, KeysAndButtonsStepTheWholeSelection) {
  Form1& window = start_with_scores({10, 8, 6, 4, 2});
  click_row(4);
  click_row(2, Qt::ShiftModifier);
  key('-');
  EXPECT_EQ(score(2) + score(3) + score(4), "753");
  EXPECT_EQ(grid().shown_selection(), std::pair(4, 4));
  QTest::mouseClick(&window.cmdIncDec(1), Qt::LeftButton);
  QTest::mouseClick(&window.cmdIncDec(1), Qt::LeftButton);
  EXPECT_EQ(file(5), "d");
  QTest::mouseClick(&window.cmdIncDec(0), Qt::LeftButton);
  EXPECT_EQ(score(5), "2");

  // Tab goes from the grid to the buttons in order.
  window.show();
  QApplication::setActiveWindow(&window);
  grid().setFocus();
  key(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &window.cmdIncDec(0));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &window.cmdIncDec(1));
}

TEST_F(Form1Test, DeleteRemovesTheSelectedRowsAndSaves) {
  start_with_scores({5, 4, 3, 2, 1});
  click_row(3);
  click_row(5, Qt::ShiftModifier);
  key(Qt::Key_Delete);
  EXPECT_EQ(app->songlist().Rows(), 3);
  EXPECT_EQ(grid().model()->rowCount(), 2);
  EXPECT_EQ(saved(), "\"/m\",\"a\",\"5\",\"00:00 1/1/71\"\r\n\"/m\",\"b\",\"4\",\"00:00 1/1/71\"\r\n");
  // The cursor stays on the rows that are left, and is shown there.
  EXPECT_EQ(cursor(), std::pair(2, 2));
  EXPECT_EQ(highlighted_rows(), std::vector<int>{2});
  key(Qt::Key_Period);
  EXPECT_EQ(app->songlist().Rows(), 3);
}

TEST_F(Form1Test, WhatIsHighlightedIsWhatTheKeysActOn) {
  start_with_scores({5, 3, 3});
  // Names sized narrow by hand leave room right of the columns.
  grid().horizontalHeader()->resizeSection(col::kDirectory, 40);
  grid().horizontalHeader()->resizeSection(col::kFile, 40);
  const QRect last = grid().visualRect(grid().model()->index(2, col::kScore));
  const QPoint below_the_rows(last.center().x(), last.bottom() + 3 * last.height());
  const QPoint right_of_the_columns(grid().viewport()->width() - 2, last.center().y());
  ASSERT_FALSE(grid().indexAt(below_the_rows).isValid());
  ASSERT_FALSE(grid().indexAt(right_of_the_columns).isValid());

  // A click past the last row or column lands on the last one, as in a grid.
  click_row(1);
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, below_the_rows);
  EXPECT_EQ(cursor(), std::pair(3, 3));
  EXPECT_EQ(highlighted_rows(), std::vector<int>{3});
  click_row(1);
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, Qt::ShiftModifier, below_the_rows);
  EXPECT_EQ(cursor(), std::pair(1, 3));
  EXPECT_EQ(highlighted_rows(), (std::vector<int>{1, 2, 3}));
  click_row(2);
  QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, right_of_the_columns);
  EXPECT_EQ(cursor(), std::pair(3, 3));
  key('+');
  EXPECT_EQ(file(2) + score(2), "c4") << "the highlighted row is the one raised";
  EXPECT_EQ(highlighted_rows(), std::vector<int>{2});
  EXPECT_EQ(cursor(), std::pair(2, 2));

  // A press on a selected row released past the last one.
  click_row(1);
  click_row(2, Qt::ShiftModifier);
  QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, cell_center(2));
  QTest::mouseRelease(grid().viewport(), Qt::LeftButton, {}, below_the_rows);
  std::vector<int> row_to_row_sel;
  for (int i = std::max(1, std::min(cursor().first, cursor().second)); i <= std::max(cursor().first, cursor().second);
       ++i)
    row_to_row_sel.push_back(i);
  EXPECT_FALSE(highlighted_rows().empty());
  EXPECT_EQ(highlighted_rows(), row_to_row_sel);
}

TEST_F(Form1Test, TheChanceColumnComesFromTheHeadersMenuWithTheOddsInTheTooltips) {
  Form1& window = start_with_scores({9, 7, 5});
  const QAbstractItemModel& model = *grid().model();
  EXPECT_TRUE(grid().isColumnHidden(kChanceColumn));
  EXPECT_EQ(grid().tooltip_at(model.index(0, 3)), kGridToolTip) << "no odds while it is hidden";
  EXPECT_TRUE(model.index(0, kChanceColumn).data().isNull()) << "nor a chance";

  QTimer::singleShot(0, [] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->setActiveAction(menu->actions().front());
    QTest::keyClick(menu, Qt::Key_Return);
  });
  emit grid().horizontalHeader()->customContextMenuRequested(QPoint(5, 5));
  ASSERT_FALSE(grid().isColumnHidden(kChanceColumn));
  EXPECT_EQ(model.headerData(kChanceColumn, Qt::Horizontal).toString(), "Chance %");
  double total = 0;
  for (int row = 0; row < 3; ++row) total += model.index(row, kChanceColumn).data().toString().toDouble();
  EXPECT_NEAR(total, 100, 0.2);
  EXPECT_TRUE(grid().tooltip_at(model.index(1, 3)).startsWith(QString(kGridToolTip) + "\nChance: "));
  EXPECT_EQ(setting(kWindow, keys::kChanceColumn), "True");

  grid().horizontalHeader()->resizeSection(kChanceColumn, scale().x_px(1500));
  window.close();
  EXPECT_EQ(setting(kWindow, fg_col_key(kChanceColumn)), std::to_string(qRound(scale().x_twips(scale().x_px(1500)))));
  EXPECT_FALSE(start().MSFlexGrid1().isColumnHidden(kChanceColumn)) << "shown again at the next start";
}

}  // namespace
}  // namespace jukora::testing
