// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QApplication>
#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QDate>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>

#include "shell/history/history_keeper.h"
#include "shell/history/history_window.h"
#include "shell/history/statistics_window.h"
#include "shell/window/songlist_view.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

class HistoryWindowsTest : public WindowTest {
 protected:
  HistoryWindowsTest() {
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    write_songs({{"a.mp3", 5}, {"b.mp3", 3}});
  }
  // Lets the history's answers arrive until `condition` holds.
  static bool answered(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 8000); }
  std::vector<QString> row(QTreeWidget& list, int index) {
    std::vector<QString> cells;
    for (int column = 1; column < list.columnCount(); ++column) cells.push_back(list.topLevelItem(index)->text(column));
    return cells;
  }
  static QList<QPointF> points(QChart& chart) {
    if (chart.series().isEmpty()) return {};
    if (auto* area = qobject_cast<QAreaSeries*>(chart.series()[0])) return area->upperSeries()->points();
    return static_cast<QLineSeries*>(chart.series()[0])->points();
  }
};

TEST_F(HistoryWindowsTest, HistoryShowsTheCurrentSongsPlaysAndScoreMovesNewestFirst) {
  start();
  app->events().scores_changed({{music, "a.mp3", 4, 5, ChangeSource::kCommandLine}});
  app->events().scores_changed({{music, "b.mp3", 3, 2, ChangeSource::kWindow}});
  app->songlist().SetRow(1);
  form->MSFlexGrid1_DblClick();  // told by the play modes themselves
  ASSERT_EQ(link.starts().size(), 1u);
  choose("History…");
  HistoryWindow* window = app->history().history_window();
  ASSERT_TRUE(window && window->isVisible());
  EXPECT_EQ(window->windowTitle(), "History of a.mp3");
  ASSERT_TRUE(answered([&] { return window->list().topLevelItemCount() == 2; }));
  EXPECT_THAT(row(window->list(), 0), ElementsAre("Played", "5", "played directly"));
  EXPECT_THAT(row(window->list(), 1), ElementsAre("Score changed", "4 → 5", "command line"));
  EXPECT_EQ(window->summary().text(), "Played 1 time, score changed 1 time.");

  // Without a song at the current row there is nothing to show.
  app->songlist().SetRow(0);
  EXPECT_FALSE(app->history().has_song());
}

TEST_F(HistoryWindowsTest, StatisticsChartsTheListTheWeeksAndTheSelectedSong) {
  start();
  app->events().scores_changed({{music, "a.mp3", 4, 5, ChangeSource::kListening}});
  for (int play = 0; play < 2; ++play) app->events().handed_over({music, "b.mp3"});
  app->songlist().SetRow(1);
  choose("Statistics");
  StatisticsWindow* window = app->history().statistics_window();
  ASSERT_TRUE(window && window->isVisible());
  ASSERT_TRUE(answered([&] {
    return !points(window->chart(StatisticsWindow::kPlaysPerWeek)).isEmpty() &&
           !points(window->chart(StatisticsWindow::kSongScore)).isEmpty();
  }));

  QChart& scores = window->chart(StatisticsWindow::kSongsPerScore);
  QBarSet* songs = static_cast<QBarSeries*>(scores.series()[0])->barSets()[0];
  EXPECT_THAT(std::vector<qreal>({songs->at(0), songs->at(1), songs->at(2)}), ElementsAre(1, 0, 1));
  EXPECT_EQ(static_cast<QBarCategoryAxis*>(scores.axes(Qt::Horizontal)[0])->categories(), QStringList({"3", "4", "5"}));
  // 52 weeks, each a step of two points; this week's last.
  for (auto [which, count] : {std::pair{StatisticsWindow::kPlaysPerWeek, 2}, {StatisticsWindow::kChangesPerWeek, 1}}) {
    const QList<QPointF> weeks = points(window->chart(which));
    ASSERT_EQ(weeks.size(), 104);
    EXPECT_EQ(weeks.back().y(), count);
    EXPECT_EQ(weeks[weeks.size() - 3].y(), 0);
  }
  QChart& song = window->chart(StatisticsWindow::kSongScore);
  EXPECT_EQ(song.title(), "Score of a.mp3 over time");
  // A change made just now: ten minutes of axis, led in at the old score.
  const QList<QPointF> line = points(song);
  std::vector<qreal> scores_seen;
  for (const QPointF& point : line) scores_seen.push_back(point.y());
  EXPECT_THAT(scores_seen, ElementsAre(4, 4, 5, 5));
  EXPECT_NEAR(line.back().x() - line.front().x(), 10 * 60 * 1000, 2000);
  // The step listening made is marked apart, where the line rises.
  ASSERT_EQ(song.series().size(), 2);
  EXPECT_EQ(static_cast<QScatterSeries*>(song.series()[1])->points(), QList<QPointF>{line[2]});
  EXPECT_TRUE(song.legend()->isVisible());

  // The song's chart follows the selection in the list.
  emit form->MSFlexGrid1().rows_selected(2, 2);
  EXPECT_TRUE(answered([&] { return song.title() == "Score of b.mp3: no change recorded yet"; }));
}

// The history's file damaged before the start, or held by another program
// while the user scores and plays: the list takes every change at once, a
// damaged file is set aside with one word, and the history catches up with
// both score steps and the play.
TEST_F(HistoryWindowsTest, ADamagedOrLockedHistoryNeverStopsScoringOrPlaying) {
  const std::string path = history_path(folders);
  for (const bool damaged : {true, false}) {
    SCOPED_TRACE(damaged ? "damaged" : "locked");
    for (const auto& entry : std::filesystem::directory_iterator(folders.data))
      if (entry.path().filename().string().rfind("history.sqlite", 0) == 0) std::filesystem::remove(entry.path());
    write_songlist({record(music, "a.mp3", 5)});
    QSqlDatabase other;
    std::optional<QSqlQuery> lock;
    if (damaged) {
      write_bytes(path, std::string(8192, 'x'));
    } else {
      start();  // makes the file
      app.reset();
      other = QSqlDatabase::addDatabase("QSQLITE", "other");
      other.setDatabaseName(QString::fromStdString(path));
      ASSERT_TRUE(other.open());
      lock.emplace(other);
      ASSERT_TRUE(lock->exec("BEGIN EXCLUSIVE"));
      ASSERT_TRUE(lock->exec("DELETE FROM events"));
    }
    desktop.notices.clear();
    start();
    app->songlist().SetRow(1);
    for (int key = 0; key < 2; ++key) form->MSFlexGrid1_KeyPress('+');
    EXPECT_NE(saved().find("\"a.mp3\",\"7\""), std::string::npos);
    form->MSFlexGrid1_DblClick();
    EXPECT_EQ(link.starts().size(), damaged ? 1u : 2u);
    if (lock) {
      ASSERT_TRUE(lock->exec("COMMIT"));
      lock.reset();
      other.close();
      other = QSqlDatabase();
      QSqlDatabase::removeDatabase("other");
    }
    choose("History…");
    HistoryWindow* window = app->history().history_window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(answered([&] { return window->list().topLevelItemCount() == 3; }));
    EXPECT_EQ(std::filesystem::exists(path + ".damaged-" + QDate::currentDate().toString(Qt::ISODate).toStdString()),
              damaged);
    ASSERT_EQ(desktop.notices.size(), damaged ? 1u : 0u);
    if (damaged) {
      EXPECT_NE(desktop.notices[0].find("a new one was started"), std::string::npos) << desktop.notices[0];
    }
  }
}

}  // namespace
}  // namespace jukora::testing
