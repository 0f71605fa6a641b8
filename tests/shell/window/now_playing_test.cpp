// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/now_playing.h"

#include <signal.h>
#include <sys/stat.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "player/mpv/mpv_link.h"
#include "shell/window/grid_search.h"
#include "shell/window/songlist_view.h"
#include "support/players_posix.h"
#include "shell/window_fixture.h"

namespace jukora::testing {
namespace {

class NowPlayingTest : public WindowTest {
 protected:
  NowPlayingTest() {
    write_songs({{"a.wav", 9}, {"b.wav", 7}, {"c.wav", 5}});
    set(sections::kMain, keys::kVisible, "True");
  }
  // The rows shown in bold with the icon, by their File.
  std::vector<std::string> marked() const {
    std::vector<std::string> files;
    const QAbstractItemModel& model = *grid().model();
    for (int row = 0; row < model.rowCount(); ++row) {
      const bool bold = model.index(row, col::kFile).data(Qt::FontRole).value<QFont>().bold();
      const bool icon = model.index(row, col::kNumber).data(Qt::DecorationRole).isValid();
      EXPECT_EQ(bold, icon) << row;
      if (bold) files.push_back(model.index(row, col::kFile).data().toString().toStdString());
    }
    return files;
  }
  std::string status() const { return form->lblStatus().toolTip().toStdString(); }
  void press_ctrl_j() { QTest::keyClick(form, Qt::Key_J, Qt::ControlModifier); }
};

TEST_F(NowPlayingTest, ShowPlayingSaysWhyThereIsNoRowAndABusyPlayerKeepsTheMark) {
  set(sections::kPrefs, keys::kWinampDir, player_dir());
  link.running = false;
  start();
  // From the mode menu while the window is hidden; Ctrl+J once it shows.
  form->hide();
  app->now_playing().show_playing();
  EXPECT_EQ(status(), "Nothing is playing.");
  ASSERT_TRUE(form->isVisible());
  QApplication::setActiveWindow(form);
  link.running = true;
  link.song = join_path(music, "x.wav");
  press_ctrl_j();
  EXPECT_EQ(status(), "x.wav is not in the songlist.");
  EXPECT_THAT(marked(), ElementsAre());

  link.song = join_path(music, "c.wav");
  app->now_playing().playing().look_up();
  EXPECT_THAT(marked(), ElementsAre("c.wav"));
  link.busy = true;
  app->now_playing().playing().look_up();
  EXPECT_THAT(marked(), ElementsAre("c.wav"));
  // Whatever the player says is never shown by the quiet lookup.
  link.busy = false;
  link.running = false;
  app->now_playing().playing().look_up();
  EXPECT_THAT(marked(), ElementsAre());
  EXPECT_TRUE(desktop.messages.empty());
}

// The song a real mpv plays, found by the lookups every two seconds.
class NowPlayingMpvTest : public NowPlayingTest {
 protected:
  NowPlayingMpvTest() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR")) runtime_before = old;
    use_runtime_dir(dir.file("run"));
    // The song plays on until the test ends it.
    std::filesystem::create_directories(dir.path() / "bin");
    write_bytes(dir.file("bin/mpv"), "#!/bin/sh\nexec /usr/bin/mpv --ao=null --vo=null --loop-file=inf \"$@\"\n");
    chmod(dir.file("bin/mpv").c_str(), 0755);
    set(sections::kPrefs, keys::kWinampDir, dir.file("bin"));
  }
  ~NowPlayingMpvTest() override {
    // The program goes before the link it was lent.
    app.reset();
    for (pid_t pid : players_on(mpv->socket_path())) kill(pid, SIGKILL);
    if (runtime_before.empty())
      unsetenv("XDG_RUNTIME_DIR");
    else
      setenv("XDG_RUNTIME_DIR", runtime_before.c_str(), 1);
  }
  void start_on_mpv() {
    app = std::make_unique<App>(settings, desktop, std::make_unique<OnePlayerLink>(*mpv), tray, clock, folders);
    form = &app->window();
    app->start();
  }

  std::string runtime_before;
  std::unique_ptr<MpvLink> mpv = make_mpv_link(AppFolders{dir.file("data")});
};

TEST_F(NowPlayingMpvTest, TheRowOfTheSongMpvPlaysIsMarkedAndCtrlJShowsItThroughASearch) {
  if (!std::filesystem::exists("/usr/bin/mpv")) GTEST_SKIP() << "needs mpv";
  start_on_mpv();
  QApplication::setActiveWindow(form);
  EXPECT_THAT(marked(), ElementsAre());
  app->songlist().SetRow(2);
  form->show_songlist();
  QTest::keyClick(&grid(), Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return marked() == std::vector<std::string>{"b.wav"}; }, 10000))
      << ::testing::PrintToString(desktop.messages) << app->now_playing().playing().path();

  // A search that hides the row is cleared for it.
  form->search().field().setText("a.wav");
  ASSERT_EQ(grid().model()->rowCount(), 1);
  press_ctrl_j();
  EXPECT_EQ(form->search().field().text(), "");
  EXPECT_EQ(grid().model()->rowCount(), 3);
  EXPECT_EQ(app->songlist().Row(), 2);
  EXPECT_EQ(grid().shown_selection(), std::pair(2, 2));

  // A stopped mpv does not answer: the mark stays; once mpv is gone it goes.
  const pid_t player = players_on(mpv->socket_path()).front();
  ASSERT_EQ(kill(player, SIGSTOP), 0);
  app->now_playing().playing().look_up();
  EXPECT_THAT(marked(), ElementsAre("b.wav"));
  ASSERT_EQ(kill(player, SIGKILL), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return marked().empty(); }, 10000));
  EXPECT_TRUE(desktop.messages.empty());
}

}  // namespace
}  // namespace jukora::testing
