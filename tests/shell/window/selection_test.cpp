// SPDX-License-Identifier: GPL-3.0-or-later
// Every way of selecting rows in the grid against every action on them, with
// and without a search: the rows highlighted are exactly the songs acted on,
// and no other song, shown or hidden, changes.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>

#include "shell/window/grid_search.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

// Rock and Jazz songs by turns, a to h, far enough apart in score that a
// step changes no song's place.
const std::vector<std::tuple<std::string, std::string, int>> kSongs = {
    {"Rock", "a", 80}, {"Jazz", "b", 70}, {"Rock", "c", 60}, {"Jazz", "d", 50},
    {"Rock", "e", 40}, {"Jazz", "f", 30}, {"Rock", "g", 20}, {"Jazz", "h", 10}};

class SelectionTest : public WindowTest {
 public:
  using WindowTest::click_row;
  using WindowTest::key;

  void start_listing() {
    std::vector<std::string> records;
    for (const auto& [directory, file, score] : kSongs) {
      write_wav(dir.file(directory + "/" + file));
      records.push_back(record(dir.file(directory), file, score));
    }
    write_songlist(records);
    set(sections::kMain, keys::kVisible, "True");
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    start();
  }
  int shown_count() const { return grid().model()->rowCount(); }
  std::string shown_file(int shown_row) const {
    return grid().model()->index(shown_row - 1, col::kFile).data().toString().toStdString();
  }
  // File name to Score and Last Played, of every song in the list.
  std::map<std::string, std::string> songs() const {
    std::map<std::string, std::string> all;
    const Songlist& songlist = app->songlist();
    for (int row = 1; row < songlist.Rows(); ++row)
      all[std::string(songlist.TextMatrix(row, col::kFile))] = std::string(songlist.TextMatrix(row, col::kScore)) +
                                                               " " +
                                                               std::string(songlist.TextMatrix(row, col::kLastPlayed));
    return all;
  }
  void drag(int from, int to) {
    auto at = [this](int row) { return grid().visualRect(grid().model()->index(row - 1, col::kFile)).center(); };
    QTest::mousePress(grid().viewport(), Qt::LeftButton, {}, at(from));
    QMouseEvent move(QEvent::MouseMove, at(to), grid().viewport()->mapToGlobal(at(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid().viewport(), &move);
    QTest::mouseRelease(grid().viewport(), Qt::LeftButton, {}, at(to));
  }
};

// A way of selecting, given how many rows are shown, and the shown rows it
// selects: first to last, the anchor (the current row) at `anchor`.
struct Selecting {
  const char* name;
  std::function<void(SelectionTest&, int shown)> select;
  std::function<int(int shown)> first, last, anchor;
};

// An action and what it does to the score of each song it acts on; Delete
// and Enter are told apart by name.
struct Acting {
  const char* name;
  std::function<void(SelectionTest&, Form1&)> act;
  int step;
};

TEST_F(SelectionTest, EveryWayOfSelectingAgainstEveryActionTouchesExactlyTheHighlightedSongs) {
  auto fixed = [](int row) { return [row](int) { return row; }; };
  auto last_shown = [](int shown) { return shown; };
  const Selecting selectings[] = {
      {"a click", [](SelectionTest& t, int) { t.click_row(3); }, fixed(3), fixed(3), fixed(3)},
      {"Ctrl+A after a click",
       [](SelectionTest& t, int) {
         t.click_row(3);
         t.key(Qt::Key_A, Qt::ControlModifier);
       },
       fixed(1), last_shown, fixed(1)},
      {"Ctrl+A, then Shift+Up",
       [](SelectionTest& t, int) {
         t.click_row(2);
         t.key(Qt::Key_A, Qt::ControlModifier);
         t.key(Qt::Key_Up, Qt::ShiftModifier);
       },
       fixed(1), [](int shown) { return shown - 1; }, fixed(1)},
      {"Ctrl+A, then Shift+click",
       [](SelectionTest& t, int) {
         t.click_row(3);
         t.key(Qt::Key_A, Qt::ControlModifier);
         t.click_row(2, Qt::ShiftModifier);
       },
       fixed(1), fixed(2), fixed(1)},
      {"Shift+click below", [](SelectionTest& t, int) { t.click_row(2), t.click_row(4, Qt::ShiftModifier); }, fixed(2),
       fixed(4), fixed(2)},
      {"Shift+click above", [](SelectionTest& t, int) { t.click_row(4), t.click_row(2, Qt::ShiftModifier); }, fixed(2),
       fixed(4), fixed(4)},
      {"Shift+Down twice",
       [](SelectionTest& t, int) {
         t.click_row(2);
         t.key(Qt::Key_Down, Qt::ShiftModifier);
         t.key(Qt::Key_Down, Qt::ShiftModifier);
       },
       fixed(2), fixed(4), fixed(2)},
      {"Shift+Up twice",
       [](SelectionTest& t, int) {
         t.click_row(4);
         t.key(Qt::Key_Up, Qt::ShiftModifier);
         t.key(Qt::Key_Up, Qt::ShiftModifier);
       },
       fixed(2), fixed(4), fixed(4)},
      // A grid of one range has no second one to add a row to: Ctrl+click
      // extends the range as Shift+click does.
      {"Ctrl+click", [](SelectionTest& t, int) { t.click_row(2), t.click_row(4, Qt::ControlModifier); }, fixed(2),
       fixed(4), fixed(2)},
      {"Ctrl+click inside a range",
       [](SelectionTest& t, int) {
         t.click_row(1);
         t.click_row(4, Qt::ShiftModifier);
         t.click_row(2, Qt::ControlModifier);
       },
       fixed(1), fixed(2), fixed(1)},
      {"Ctrl+A, then Ctrl+click",
       [](SelectionTest& t, int) {
         t.click_row(4);
         t.key(Qt::Key_A, Qt::ControlModifier);
         t.click_row(3, Qt::ControlModifier);
       },
       fixed(1), fixed(3), fixed(1)},
      {"Ctrl+Shift+click",
       [](SelectionTest& t, int) { t.click_row(2), t.click_row(3, Qt::ControlModifier | Qt::ShiftModifier); }, fixed(2),
       fixed(3), fixed(2)},
      {"a drag", [](SelectionTest& t, int) { t.drag(4, 2); }, fixed(2), fixed(4), fixed(4)},
  };
  const Acting actings[] = {
      {"+", [](SelectionTest& t, Form1&) { t.key('+'); }, 1},
      {"-", [](SelectionTest& t, Form1&) { t.key('-'); }, -1},
      {"Increment", [](SelectionTest&, Form1& w) { QTest::mouseClick(&w.cmdIncDec(0), Qt::LeftButton); }, 1},
      {"Decrement", [](SelectionTest&, Form1& w) { QTest::mouseClick(&w.cmdIncDec(1), Qt::LeftButton); }, -1},
      {"Delete", [](SelectionTest& t, Form1&) { t.key(Qt::Key_Delete); }, 0},
      {"Enter", [](SelectionTest& t, Form1&) { t.key(Qt::Key_Return); }, 0},
  };
  for (const bool searching : {false, true}) {
    for (const Selecting& selecting : selectings) {
      for (const Acting& acting : actings) {
        SCOPED_TRACE(std::string(selecting.name) + ", then " + acting.name + (searching ? ", searching" : ""));
        start_listing();
        if (searching) {
          QTest::keyClicks(&form->search().field(), "rock");
          ASSERT_EQ(shown_count(), 4);
        }
        const int shown = shown_count();
        selecting.select(*this, shown);
        const int first = selecting.first(shown), last = selecting.last(shown);
        std::vector<int> expected;
        std::vector<std::string> chosen;
        for (int row = first; row <= last; ++row) {
          expected.push_back(row);
          chosen.push_back(shown_file(row));
        }
        EXPECT_EQ(highlighted_rows(), expected);
        const std::string anchor = shown_file(selecting.anchor(shown));
        EXPECT_EQ(app->songlist().TextMatrix(app->songlist().Row(), col::kFile), anchor);

        const std::map<std::string, std::string> before = songs();
        link.calls.clear();
        acting.act(*this, *form);
        std::map<std::string, std::string> wanted = before;
        const bool deleting = acting.name == std::string("Delete");
        const bool playing = acting.name == std::string("Enter");
        for (const std::string& file : chosen) {
          if (deleting) wanted.erase(file);
          if (acting.step != 0) {
            const std::string& was = before.at(file);
            wanted[file] = std::to_string(std::stoi(was) + acting.step) + was.substr(was.find(' '));
          }
        }
        // Deleting every song leaves the row of a list without songs.
        if (wanted.empty()) wanted[""] = "0 00:00 1/1/71";
        std::map<std::string, std::string> now = songs();
        if (playing) {
          EXPECT_THAT(link.starts(), ElementsAre(::testing::EndsWith("/" + anchor)));
          EXPECT_NE(now.at(anchor), before.at(anchor));
          now[anchor] = before.at(anchor);
        }
        EXPECT_EQ(now, wanted);
      }
    }
  }
}

}  // namespace
}  // namespace jukora::testing
