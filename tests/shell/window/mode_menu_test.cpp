// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/mode_menu.h"

#include <gmock/gmock.h>

#include <QAction>
#include <string>
#include <vector>

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> captions(const QMenu& menu) {
  std::vector<std::string> out;
  for (const QAction* action : menu.actions()) out.push_back(action->text().toStdString());
  return out;
}

TEST(ModeMenu, ItemsInOrderEnabledUnlessNothingToTakeBackNoneCheckedAndEachRunsItsHandlerWhateverItShows) {
  std::vector<std::string> ran;
  auto scope = [](Scope scope) { return std::string(scope == Scope::kAll ? "All" : "Top 20"); };
  auto count = [&](const char* group) {
    return [&, group](PlayChoice choice) {
      ran.push_back(group + std::string(choice.playlist ? " Playlist " : " ") + scope(choice.scope));
    };
  };
  auto plain = [&](const char* what) { return [&ran, what] { ran.push_back(what); }; };
  auto songlist = [&](SonglistCommand command) {
    static constexpr const char* kNames[] = {"New", "Save As", "Open"};
    ran.push_back("songlist " + std::string(kNames[static_cast<int>(command)]));
  };
  ModeMenu menu({[&](Scope chosen) { ran.push_back("random " + scope(chosen)); }, count("countdown"), count("countup"),
                 songlist, plain("add files"), plain("preferences"), plain("stop winamp"), plain("exit"),
                 plain("show playing"), plain("import ratings"), plain("undo"), plain("redo"), plain("history"),
                 plain("statistics")});
  auto item = [&](int top, int sub = -1) {
    QAction* action = menu.menu().actions()[top];
    return sub < 0 ? action : action->menu()->actions()[sub];
  };

  EXPECT_THAT(
      captions(menu.menu()),
      ElementsAre("Random", "Countdown", "Countup", "Songlist ()", "Add Files", "Import Ratings\u2026", "", "Undo",
                  "Redo", "Show Playing", "History\u2026", "Statistics", "", "Preferences", "Stop Winamp", "Exit"));
  EXPECT_THAT(captions(*item(0)->menu()), ElementsAre("All", "Top 20"));
  for (int cycle : {1, 2})
    EXPECT_THAT(captions(*item(cycle)->menu()), ElementsAre("All", "Top 20", "Playlist All", "Playlist Top 20"));
  EXPECT_THAT(captions(*item(3)->menu()), ElementsAre("New", "Save As", "Open"));
  for (int top = 0; top < 16; ++top) {
    QMenu* submenu = item(top)->menu();
    for (const QAction* action : submenu ? submenu->actions() : QList<QAction*>{item(top)})
      EXPECT_TRUE(action->isEnabled() == (top != 7 && top != 8) && !action->isCheckable())
          << action->text().toStdString();
  }
  // Undo and Redo name their steps, and are there only when there is one.
  menu.set_undo_steps("Increment of b.mp3", "Delete of R&B.mp3");
  EXPECT_EQ(item(7)->text(), "Undo Increment of b.mp3");
  EXPECT_EQ(item(8)->text(), "Redo Delete of R&&B.mp3");
  EXPECT_TRUE(item(7)->isEnabled() && item(8)->isEnabled());
  menu.set_undo_steps("", "Increment of b.mp3");
  EXPECT_EQ(item(7)->text(), "Undo");
  EXPECT_FALSE(item(7)->isEnabled());

  // A long name is cut in its middle, so that the menu keeps a sensible
  // width; the Songlist caption is never cut.
  const QString name = QString("Sigur Ros - Hoppipolla ").repeated(8) + "(live).ogg";
  menu.set_undo_steps("Increment of " + name, "");
  const QString undo = item(7)->text();
  EXPECT_TRUE(undo.startsWith("Undo Increment of Sigur") && undo.endsWith("(live).ogg") && undo.contains(QChar(0x2026)))
      << undo.toStdString();
  EXPECT_LE(menu.menu().fontMetrics().horizontalAdvance(undo),
            menu.menu().fontMetrics().averageCharWidth() * (ModeMenu::kStepChars + 10));
  menu.set_songlist_caption("Songlist (" + name + ")");
  EXPECT_EQ(item(3)->text(), "Songlist (" + name + ")");
  menu.set_songlist_caption("Songlist (rock & roll.jk8)");
  EXPECT_EQ(item(3)->text(), "Songlist (rock && roll.jk8)");
  // The Stop item names the player in use and still stops it.
  menu.set_stop_caption("Stop mpv");
  EXPECT_EQ(item(14)->text(), "Stop mpv");
  menu.set_history_enabled(false);
  EXPECT_FALSE(item(10)->isEnabled());
  for (auto [top, sub] : {std::pair{0, 1}, {1, 2}, {2, 0}, {3, 1}}) menu.run(*item(top, sub));
  // The items that open Countdown and the songlist, and the separators, run nothing.
  for (int top = 1; top < 16; ++top)
    if (top != 2) menu.run(*item(top));
  EXPECT_THAT(ran, ElementsAre("random Top 20", "countdown Playlist All", "countup All", "songlist Save As",
                               "add files", "import ratings", "undo", "redo", "show playing", "history", "statistics",
                               "preferences", "stop winamp", "exit"));
}

}  // namespace
}  // namespace jukora::testing
