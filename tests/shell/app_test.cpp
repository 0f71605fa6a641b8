// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/app.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "shell/preferences/dialog.h"
#include "shell/window/songlist_view.h"
#include "window_fixture.h"

namespace jukora::testing {
namespace {

const auto kAllRemoved = ElementsAre("remove 1", "remove 2", "remove 3", "remove 4", "remove 5");

class AppTest : public WindowTest {
 protected:
  // Real files: only songs that exist are handed to a player.
  AppTest() {
    set(sections::kPrefs, keys::kWinampDir, player_dir());
    write_songs({{"a.mp3", 5}, {"b.mp3", 3}});
  }
  std::vector<std::string> link_calls_since(std::size_t from) const {
    return {link.calls.begin() + static_cast<std::ptrdiff_t>(from), link.calls.end()};
  }
};

TEST_F(AppTest, IconsComeWithTheWindowWhichStaysHiddenOnlyWhenTheTrayCanBeSeen) {
  start();
  EXPECT_THAT(tray.calls,
              ElementsAre("add 1 Decrement", "add 2 Increment", "add 3 Skip", "add 4 Show/Hide List", "add 5 Mode"));
  EXPECT_FALSE(form->isVisible());
  // The menu names the songlist in use as it opens.
  QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
  form->hooks.show_mode_menu(QPoint(5, 5));
  EXPECT_EQ(app->mode_menu().menu().actions()[3]->text(), "Songlist (default.jk8)");
  tray.calls.clear();
  form->close();
  EXPECT_THAT(tray.calls, kAllRemoved);
  // A desktop without a notification area would leave no way in at all.
  tray.has_area = false;
  start();
  EXPECT_TRUE(form->isVisible());
}

TEST_F(AppTest, IncrementTwiceRaisesThePlayingSongAndShowHideToggles) {
  start();
  link.song = join_path(music, "b.mp3");
  tray.click(TrayIconId::kIncrement);
  tray.click(TrayIconId::kIncrement);
  tray.click(TrayIconId::kDecrement, TrayRelease::kNone);
  EXPECT_THAT(saved(), HasSubstr("\"b.mp3\",\"5\""));
  EXPECT_EQ(app->songlist().TextMatrix(app->songlist().Row(), col::kFile), "b.mp3");
  tray.click(TrayIconId::kShowHideList);
  EXPECT_TRUE(form->isVisible());
  tray.click(TrayIconId::kShowHideList);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(AppTest, CommandsWaitForStartUpAndRunWhatTheTrayIconsRun) {
  create();
  link.song = join_path(music, "b.mp3");
  for (Command command : {Command::kIncrement, Command::kSkip, Command::kShow}) app->receive(command);
  EXPECT_THAT(saved(), HasSubstr("\"b.mp3\",\"3\""));
  app->start();
  EXPECT_THAT(saved(), HasSubstr("\"b.mp3\",\"4\""));
  EXPECT_EQ(app->play_modes().cycle(), (PlayCycle{PlayMode::kRandomAll, 3}));
  EXPECT_TRUE(form->isVisible());
  app->receive(Command::kShow);
  EXPECT_TRUE(form->isVisible()) << "show toggles nothing";
}

TEST_F(AppTest, AClickThatMeetsABusyPlayerGoesThroughWhenThePlayerSpeaksOrOnTheRetryTimer) {
  start();
  link.song = join_path(music, "b.mp3");
  auto score_is = [&](const char* score) {
    return saved().find("\"b.mp3\",\"" + std::string(score)) != std::string::npos;
  };
  link.busy = true;
  tray.click(TrayIconId::kIncrement);
  EXPECT_TRUE(score_is("3"));
  link.busy = false;
  link.on_change();
  QCoreApplication::processEvents();
  EXPECT_TRUE(score_is("4"));
  link.busy = true;
  tray.click(TrayIconId::kIncrement);
  link.busy = false;
  EXPECT_TRUE(QTest::qWaitFor([&] { return score_is("5"); }, 5000));
  EXPECT_EQ(app->songlist().TextMatrix(app->songlist().Row(), col::kFile), "b.mp3");
}

TEST_F(AppTest, StopWinampEndsTheCycleSoSkipStartsRandomAllKeepingTheMarksThenOnlySkipsSongs) {
  start();
  choose("Countdown", "All");
  ASSERT_TRUE(form->tmrJukora().isActive());
  // A player that tells of a change moves a running cycle on at once.
  auto from = link.calls.size();
  link.on_change();
  QCoreApplication::processEvents();
  EXPECT_THAT(link_calls_since(from), Contains(HasSubstr("play_file")));
  link.running = false;
  from = link.calls.size();
  choose("Stop Winamp");
  EXPECT_FALSE(form->tmrJukora().isActive());
  EXPECT_EQ(app->play_modes().cycle(), PlayCycle{});
  EXPECT_THAT(link_calls_since(from), ElementsAre("reach", "cycle_ended"));
  link.on_change();
  QCoreApplication::processEvents();
  EXPECT_THAT(link_calls_since(from), ElementsAre("reach", "cycle_ended"));

  link.running = true;
  app->songlist().SetTextMatrix(2, col::kMark, "*");
  from = link.calls.size();
  tray.click(TrayIconId::kSkip);
  EXPECT_EQ(app->play_modes().cycle(), (PlayCycle{PlayMode::kRandomAll, 3}));
  EXPECT_TRUE(form->tmrJukora().isActive());
  EXPECT_EQ(app->songlist().TextMatrix(2, col::kMark), "*");
  EXPECT_THAT(link_calls_since(from), Contains("stop"));

  // During a cycle Skip only stops the song, and without a player does nothing.
  link.running = false;
  from = link.calls.size();
  tray.click(TrayIconId::kSkip);
  link.running = true;
  tray.click(TrayIconId::kSkip);
  EXPECT_THAT(link_calls_since(from), ElementsAre("reach", "reach", "stop"));
  EXPECT_EQ(app->play_modes().cycle(), (PlayCycle{PlayMode::kRandomAll, 3}));
}

TEST_F(AppTest, MenuItemsDroppedFilesAndExit) {
  std::filesystem::create_directories(dir.path() / "music" / "x");
  write_bytes(dir.file("music/x/d.wav"), "");
  start();
  choose("Preferences");
  EXPECT_TRUE(app->preferences().isVisible());
  choose("Add Files");  // answered as cancelled
  EXPECT_EQ(app->songlist().Rows(), 3);
  // Files dropped on the grid are added.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("music")))});
  QWidget* viewport = form->MSFlexGrid1().viewport();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  QApplication::processEvents();
  EXPECT_EQ(form->MSFlexGrid1().model()->rowCount(), 3);
  EXPECT_THAT(saved(), HasSubstr("\"d.wav\""));

  // What Exit saves, and that the tray icons go, is checked on the real
  // program under Xvfb; here the hidden window stays hidden next time.
  choose("Exit");
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(setting(sections::kMain, keys::kVisible), "<absent>");
}

TEST_F(AppTest, KeysMenuAndCommandTakeADeleteBackWholeAndTheWatchShowsAFileRenamedOverTheList) {
  set(sections::kMain, keys::kVisible, "True");
  start();
  QApplication::setActiveWindow(form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  Songlist& songlist = app->songlist();
  const std::string list = default_songlist_path(folders);
  const std::string before = read_bytes(list);
  auto undo_caption = [&] {
    QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
    form->hooks.show_mode_menu(QPoint(5, 5));
    // The window has the keys again once the menu is gone.
    QApplication::setActiveWindow(form);
    for (QAction* action : app->mode_menu().menu().actions())
      if (action->text().startsWith("Undo")) return (action->isEnabled() ? "" : "greyed ") + action->text();
    return QString("none");
  };
  EXPECT_EQ(undo_caption(), "greyed Undo");

  songlist.SetRow(2);
  songlist.SetRowSel(1);
  form->show_songlist();
  QTest::keyClick(&form->MSFlexGrid1(), Qt::Key_Delete);
  ASSERT_EQ(songlist.Rows(), 2) << "the placeholder row";
  EXPECT_EQ(undo_caption(), "Undo Delete of 2 songs");
  QTest::keyClick(form, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(read_bytes(list), before);
  EXPECT_EQ(songlist.Row(), 2);
  EXPECT_EQ(songlist.RowSel(), 1);
  QTest::keyClick(form, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(songlist.Rows(), 2);
  QTest::keyClick(form, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(songlist.Rows(), 2);
  // What the command line, the remote and D-Bus ask runs the same Undo.
  run_command(Command::kUndo, app->session());
  EXPECT_EQ(read_bytes(list), before);
  EXPECT_EQ(form->MSFlexGrid1().model()->rowCount(), 2);

  // A sync tool renames its copy over the list: shown within a second, the
  // selected song still selected.
  songlist.SetRow(2);
  songlist.SetRowSel(2);
  form->show_songlist();
  write_bytes(list + ".tmp", "\"" + music + "\",\"c.wav\",\"9\",\"00:00 1/1/71\"\r\n" + before);
  std::filesystem::rename(list + ".tmp", list);
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->MSFlexGrid1().model()->rowCount() == 3; }, 1000));
  EXPECT_EQ(songlist.TextMatrix(1, col::kFile), "c.wav");
  EXPECT_EQ(songlist.TextMatrix(songlist.Row(), col::kFile), "b.mp3");
}

}  // namespace
}  // namespace jukora::testing
