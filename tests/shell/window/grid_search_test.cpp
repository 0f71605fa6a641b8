// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/grid_search.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "shell/window/search_fold.h"
#include "shell/window/songlist_view.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

class GridSearchTest : public WindowTest {
 protected:
  // A shown window over songs (directory, file, score), which exist.
  Form1& start_with(const std::vector<std::tuple<std::string, std::string, int>>& songs) {
    std::vector<std::string> records;
    for (const auto& [directory, file, score] : songs) {
      write_wav(dir.file(directory + "/" + file));
      records.push_back(record(dir.file(directory), file, score));
    }
    write_songlist(records);
    set(sections::kMain, keys::kVisible, "True");
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    return start();
  }
  QLineEdit& field() const { return form->search().field(); }
  std::string count() const {
    return form->search().count().isVisible() ? form->search().count().text().toStdString() : "";
  }
  // The File column as the grid shows it, from the top.
  std::vector<std::string> shown() const {
    std::vector<std::string> files;
    for (int row = 0; row < grid().model()->rowCount(); ++row)
      files.push_back(grid().model()->index(row, col::kFile).data().toString().toStdString());
    return files;
  }
  std::vector<std::string> highlighted() const {
    std::vector<std::string> files;
    for (int row : highlighted_rows()) files.push_back(shown()[static_cast<std::size_t>(row - 1)]);
    return files;
  }
  std::string score_of(const std::string& file) const {
    const Songlist& songlist = app->songlist();
    for (int row = 1; row < songlist.Rows(); ++row)
      if (songlist.TextMatrix(row, col::kFile) == file) return std::string(songlist.TextMatrix(row, col::kScore));
    return "gone";
  }
  void search_for(const char* text) {
    field().clear();
    QTest::keyClicks(&field(), text);
  }
};

TEST(SearchFold, CaseAccentsAndCompatibilityFormsFold) {
  const std::pair<const char*, const char*> cases[] = {
      {"Björk", "bjork"},    {"ÉTÉ À Paris", "ete a paris"}, {"Øystein Sevåg", "oystein sevag"},
      {"Straße", "strasse"}, {"ﬁve ＡＢＣ", "five abc"},     {"Łódź", "lodz"},
      {"Ænima", "aenima"},   {"Ἀθῆναι", "αθηναι"},           {"東京 ガール", "東京 カール"},
  };
  for (const auto& [text, folded] : cases) EXPECT_EQ(fold_for_search(text), folded) << text;
}

TEST_F(GridSearchTest, TypingNarrowsOneHundredThousandRowsIgnoringCaseAndAccentsAndTheListStaysAsItWas) {
  std::string text;
  for (int i = 0; i < 100000; ++i) {
    const bool bjork = i % 1000 == 0;
    text += "\"/music/" + std::string(bjork ? "Björk/Vespertine" : "Artist " + std::to_string(i / 120)) + "\",\"" +
            (bjork ? "Pagan Poetry " : "Song ") + std::to_string(i) + ".mp3\",\"" + std::to_string(i % 50) +
            "\",\"14:05 6/12/01\"\r\n";
  }
  write_bytes(default_songlist_path(folders), text);
  set(sections::kMain, keys::kVisible, "True");
  start();
  const std::string before = saved();
  const std::uint64_t revision = app->songlist().revision();
  const std::string rank = std::string(app->songlist().TextMatrix(50000, col::kRank));

  search_for("BJORK poetry");
  EXPECT_EQ(count(), "100 of 100000 songs");
  ASSERT_EQ(grid().model()->rowCount(), 100);
  for (int row = 0; row < 100; ++row)
    EXPECT_THAT(grid().model()->index(row, col::kDirectory).data().toString().toStdString(), HasSubstr("Björk"));
  // The number column still says where each song stands in the whole list.
  EXPECT_EQ(grid().model()->index(0, col::kNumber).data().toString().toStdString(),
            std::to_string(app->songlist().find("/music/Björk/Vespertine", shown()[0], 1, 100000)));
  QTest::keyClicks(&field(), " 42000");
  EXPECT_THAT(shown(), ElementsAre("Pagan Poetry 42000.mp3"));
  EXPECT_EQ(count(), "1 of 100000 songs");
  for (int i = 0; i < 4; ++i) QTest::keyClick(&field(), Qt::Key_Backspace);
  EXPECT_EQ(count(), "19 of 100000 songs") << "4000, 14000, ... 40000 to 49000, ... 94000";

  QTest::keyClick(&field(), Qt::Key_Escape);
  EXPECT_EQ(field().text(), "");
  EXPECT_EQ(count(), "");
  EXPECT_EQ(grid().model()->rowCount(), 100000);
  EXPECT_EQ(app->songlist().revision(), revision);
  EXPECT_EQ(app->songlist().TextMatrix(50000, col::kRank), rank);
  EXPECT_EQ(saved(), before);
}

TEST_F(GridSearchTest, ScoreKeysButtonsAndDeleteActOnTheShownRowsOfTheSelection) {
  Form1& window = start_with({{"Rock", "a.wav", 9},
                              {"Jazz", "b.wav", 8},
                              {"Rock", "c.wav", 7},
                              {"Jazz", "d.wav", 6},
                              {"Rock", "e.wav", 5},
                              {"Jazz", "f.wav", 4}});
  search_for("rock");
  ASSERT_THAT(shown(), ElementsAre("a.wav", "c.wav", "e.wav"));
  click_row(2);
  click_row(3, Qt::ShiftModifier);
  EXPECT_THAT(highlighted(), ElementsAre("c.wav", "e.wav"));
  // d lies between c and e in the list, hidden: it keeps its score. After
  // a step only the anchor stays selected, so the second steps c alone.
  key('+');
  key('=');
  EXPECT_EQ(score_of("c.wav") + score_of("d.wav") + score_of("e.wav"), "966");
  EXPECT_THAT(shown(), ElementsAre("a.wav", "c.wav", "e.wav"));
  // Only the anchor stays selected, and it is in view.
  EXPECT_THAT(highlighted(), ElementsAre("c.wav"));
  EXPECT_TRUE(grid().viewport()->rect().intersects(grid().visualRect(grid().currentIndex())));
  QTest::mouseClick(&window.cmdIncDec(1), Qt::LeftButton);
  EXPECT_EQ(score_of("c.wav") + score_of("b.wav"), "88");

  click_row(1);
  click_row(2, Qt::ShiftModifier);
  key(Qt::Key_Delete);
  EXPECT_THAT(shown(), ElementsAre("e.wav"));
  EXPECT_EQ(count(), "1 of 4 songs");
  EXPECT_THAT(highlighted(), ElementsAre("e.wav")) << "the cursor keeps its place among the shown rows";
  for (const char* gone : {"a.wav", "c.wav"}) EXPECT_THAT(saved(), Not(HasSubstr(gone)));
  for (const char* kept : {"b.wav", "d.wav", "e.wav", "f.wav"}) EXPECT_THAT(saved(), HasSubstr(kept));
}

TEST_F(GridSearchTest, EnterPlaysAShownRowAndEndingTheSearchKeepsTheSameSongsSelected) {
  Form1& window = start_with(
      {{"Rock", "a.wav", 9}, {"Jazz", "b.wav", 8}, {"Rock", "c.wav", 7}, {"Jazz", "d.wav", 6}, {"Rock", "e.wav", 5}});
  window.show();
  QApplication::setActiveWindow(&window);
  QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(QApplication::focusWidget(), &field());
  QTest::keyClicks(&field(), "rock");
  click_row(2);
  key(Qt::Key_Return);
  EXPECT_THAT(link.calls, Contains(HasSubstr("play_file " + player_dir() + " " + dir.file("Rock/c.wav"))));

  click_row(3, Qt::ShiftModifier);
  field().setFocus();
  QTest::keyClick(&field(), Qt::Key_Escape);
  EXPECT_EQ(QApplication::focusWidget(), &grid());
  EXPECT_EQ(grid().model()->rowCount(), 5);
  EXPECT_THAT(highlighted(), ElementsAre("c.wav", "e.wav"));
  // They are what the keys act on, d between them untouched.
  key('-');
  EXPECT_EQ(score_of("c.wav") + score_of("d.wav") + score_of("e.wav"), "664");
  EXPECT_THAT(highlighted(), ElementsAre("c.wav"));

  // A change that makes a hidden song current ends the search: the tray's
  // Increment of the playing song, which the search hides.
  search_for("rock");
  link.song = dir.file("Jazz/b.wav");
  tray.click(TrayIconId::kIncrement);
  EXPECT_EQ(field().text(), "");
  EXPECT_EQ(grid().model()->rowCount(), 5);
  EXPECT_THAT(highlighted(), ElementsAre("b.wav"));
  // Without a search, the keys act on the range as always.
  click_row(2);
  click_row(4, Qt::ShiftModifier);
  EXPECT_FALSE(app->session().search_filter().chosen());
}

}  // namespace
}  // namespace jukora::testing
