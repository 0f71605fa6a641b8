#include "shell/mode_menu.h"

#include <gmock/gmock.h>

#include <QAction>
#include <string>
#include <vector>

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> captions(const QMenu& menu) {
  std::vector<std::string> out;
  for (const QAction* action : menu.actions()) out.push_back(action->text().toStdString());
  return out;
}

QAction* item(const QMenu& menu, const char* caption) {
  for (QAction* action : menu.actions())
    if (action->text() == caption) return action;
  return nullptr;
}

class ModeMenuTest : public ::testing::Test {
 protected:
  ModeMenuHandlers record() {
    auto with = [this](const char* group) {
      return
          [this, group](std::string_view caption) { ran.push_back(std::string(group) + " " + std::string(caption)); };
    };
    auto plain = [this](const char* what) { return [this, what] { ran.push_back(what); }; };
    return {with("random"),     with("countdown"),    with("countup"),      with("songlist"),
            plain("add files"), plain("preferences"), plain("stop winamp"), plain("exit")};
  }

  void choose(const char* submenu, const char* caption) {
    QAction* parent = item(menu.menu(), submenu);
    ASSERT_TRUE(parent && parent->menu()) << submenu;
    QAction* action = item(*parent->menu(), caption);
    ASSERT_TRUE(action) << caption;
    menu.run(*action);
  }

  std::vector<std::string> ran;
  ModeMenu menu{record()};
};

TEST_F(ModeMenuTest, ItemsAndSubmenusInOrderAllEnabledNoneChecked) {
  EXPECT_THAT(captions(menu.menu()), ElementsAre("Random", "Countdown", "Countup", "Songlist ()", "Add Files",
                                                 "Preferences", "Stop Winamp", "Exit"));
  const QMenu* random = item(menu.menu(), "Random")->menu();
  EXPECT_THAT(captions(*random), ElementsAre("All", "Top 20"));
  for (const char* cycle : {"Countdown", "Countup"})
    EXPECT_THAT(captions(*item(menu.menu(), cycle)->menu()),
                ElementsAre("All", "Top 20", "Playlist All", "Playlist Top 20"));
  EXPECT_THAT(captions(*item(menu.menu(), "Songlist ()")->menu()), ElementsAre("New", "Save As", "Open"));

  std::vector<const QMenu*> menus{&menu.menu()};
  for (std::size_t i = 0; i < menus.size(); ++i)
    for (const QAction* action : menus[i]->actions()) {
      EXPECT_TRUE(action->isEnabled()) << action->text().toStdString();
      EXPECT_FALSE(action->isCheckable()) << action->text().toStdString();
      if (action->menu()) menus.push_back(action->menu());
    }
  EXPECT_EQ(menus.size(), 5u);
}

TEST_F(ModeMenuTest, SubmenuItemsGoToTheirGroupsHandlerWithTheCaption) {
  choose("Random", "Top 20");
  choose("Countdown", "Playlist All");
  choose("Countup", "All");
  choose("Songlist ()", "Save As");
  EXPECT_THAT(ran, ElementsAre("random Top 20", "countdown Playlist All", "countup All", "songlist Save As"));
}

TEST_F(ModeMenuTest, TopLevelItemsAndSubmenuEntriesThemselves) {
  for (const char* caption : {"Add Files", "Preferences", "Stop Winamp", "Exit", "Countdown", "Random"})
    menu.run(*item(menu.menu(), caption));
  EXPECT_THAT(ran, ElementsAre("add files", "preferences", "stop winamp", "exit"));
}

TEST_F(ModeMenuTest, SonglistCaptionShowsTheNameAsWritten) {
  menu.set_songlist_caption("Songlist (rock & roll.jk8)");
  QAction* songlist = item(menu.menu(), "Songlist (rock && roll.jk8)");
  ASSERT_TRUE(songlist);
  menu.run(*songlist);
  EXPECT_THAT(ran, IsEmpty());
  choose("Songlist (rock && roll.jk8)", "Open");
  EXPECT_THAT(ran, ElementsAre("songlist Open"));
}

TEST(ModeMenuDispatch, UnknownGroupsAndCaptionsDoNothing) {
  bool ran = false;
  ModeMenuHandlers handlers;
  handlers.exit = [&] { ran = true; };
  dispatch_mode_menu("mnuPopup", "exit", handlers);
  dispatch_mode_menu("mnuOther", "Exit", handlers);
  dispatch_mode_menu("mnuRandom", "All", handlers);  // no handler set
  EXPECT_FALSE(ran);
  dispatch_mode_menu("mnuPopup", "Exit", handlers);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace jukora::testing
