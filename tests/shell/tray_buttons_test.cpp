#include "shell/tray_buttons.h"

#include <gmock/gmock.h>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "shell/fake_tray.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;

class TrayButtonsTest : public ::testing::Test {
 protected:
  TrayHandlers record() {
    auto note = [this](const char* what) { return [this, what] { ran.push_back(what); }; };
    return {note("decrement"), note("increment"), note("skip"), note("toggle"), note("menu")};
  }
  FakeTray tray;
  MemorySettingsStore settings;
  std::vector<std::string> ran;
  TrayButtons buttons{tray, record()};
};

TEST_F(TrayButtonsTest, FiveIconsInOrderWithTheirTooltips) {
  buttons.add_tray_icons(settings);
  EXPECT_THAT(tray.calls,
              ElementsAre("add 1 Decrement", "add 2 Increment", "add 3 Skip", "add 4 Show/Hide List", "add 5 Mode"));
}

TEST_F(TrayButtonsTest, ModeIconLeftOutOnlyForExactlyFalse) {
  for (const char* value : {"False", "0", "true", ""}) {
    tray.calls.clear();
    settings.SaveSetting(sections::kMain, keys::kModeButton, value);
    buttons.add_tray_icons(settings);
    EXPECT_EQ(tray.calls.size(), 5u) << value;
  }
  tray.calls.clear();
  settings.SaveSetting(sections::kMain, keys::kModeButton, "false");
  buttons.add_tray_icons(settings);
  EXPECT_EQ(tray.calls.size(), 4u);
  EXPECT_EQ(tray.calls.back(), "add 4 Show/Hide List");

  // Right-clicking any of the four still opens the menu.
  tray.click(TrayIconId::kDecrement, TrayRelease::kRight);
  EXPECT_THAT(ran, ElementsAre("menu"));
}

TEST_F(TrayButtonsTest, RemovingTakesAllFiveInTurn) {
  settings.SaveSetting(sections::kMain, keys::kModeButton, "false");
  buttons.add_tray_icons(settings);
  tray.calls.clear();
  buttons.remove_tray_icons();
  EXPECT_THAT(tray.calls, ElementsAre("remove 1", "remove 2", "remove 3", "remove 4", "remove 5"));
}

TEST_F(TrayButtonsTest, ClicksReachTheirActions) {
  tray.click(TrayIconId::kDecrement, TrayRelease::kLeft);
  tray.click(TrayIconId::kIncrement, TrayRelease::kLeft);
  tray.click(TrayIconId::kIncrement, TrayRelease::kLeft);
  tray.click(TrayIconId::kSkip, TrayRelease::kLeft);
  tray.click(TrayIconId::kShowHideList, TrayRelease::kLeft);
  tray.click(TrayIconId::kMode, TrayRelease::kLeft);
  tray.click(TrayIconId::kSkip, TrayRelease::kRight);
  tray.click(TrayIconId::kIncrement, TrayRelease::kNone);
  EXPECT_THAT(ran, ElementsAre("decrement", "increment", "increment", "skip", "toggle", "menu", "menu"));
}

}  // namespace
}  // namespace jukora::testing
