// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/hotkeys.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/memory_settings_store.h"

namespace jukora {
namespace {

TEST(Hotkeys, TextsNameTheKeysBothWays) {
  const std::pair<Hotkey, const char*> keys[] = {
      {{MOD_CONTROL | MOD_ALT, VK_PRIOR}, "Ctrl+Alt+PageUp"},
      {{MOD_CONTROL | MOD_ALT, VK_NEXT}, "Ctrl+Alt+PageDown"},
      {{MOD_CONTROL | MOD_ALT, VK_END}, "Ctrl+Alt+End"},
      {{MOD_CONTROL | MOD_ALT, 'J'}, "Ctrl+Alt+J"},
      {{MOD_CONTROL | MOD_SHIFT, VK_F12}, "Ctrl+Shift+F12"},
      {{MOD_ALT | MOD_WIN, '7'}, "Alt+Win+7"},
      {{MOD_CONTROL, VK_ADD}, "Ctrl+NumPlus"},
      {{MOD_CONTROL, VK_NUMPAD3}, "Ctrl+Num3"},
  };
  for (const auto& [hotkey, text] : keys) {
    EXPECT_EQ(hotkey_text(hotkey), text);
    EXPECT_EQ(parse_hotkey(text), hotkey) << text;
  }
  EXPECT_EQ(hotkey_text(std::nullopt), "");
  for (const char* text : {"", "Ctrl+", "Ctrl+Alt+Banana", "Hyper+J", "j", "Ctrl+Alt+J+K"})
    EXPECT_EQ(parse_hotkey(text), std::nullopt) << text;
}

TEST(Hotkeys, TheHotkeyControlSpeaksItsOwnFlags) {
  const Hotkey page_up{MOD_CONTROL | MOD_ALT, VK_PRIOR};
  const WORD value = to_hotkey_control(page_up);
  EXPECT_EQ(LOBYTE(value), VK_PRIOR);
  EXPECT_EQ(HIBYTE(value), HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT);
  EXPECT_EQ(from_hotkey_control(value), page_up);
  EXPECT_EQ(from_hotkey_control(MAKEWORD('J', HOTKEYF_SHIFT | HOTKEYF_ALT)), (Hotkey{MOD_SHIFT | MOD_ALT, 'J'}));
  EXPECT_EQ(from_hotkey_control(0), std::nullopt);
  EXPECT_EQ(to_hotkey_control(std::nullopt), 0);
}

TEST(Hotkeys, DefaultsUntilSetAnEmptyTextSwitchesOffNonsenseGivesTheDefault) {
  MemorySettingsStore settings;
  EXPECT_EQ(hotkey_text(read_hotkey(settings, HotkeyAction::kIncrement)), "Ctrl+Alt+PageUp");
  EXPECT_EQ(hotkey_text(read_hotkey(settings, HotkeyAction::kDecrement)), "Ctrl+Alt+PageDown");
  EXPECT_EQ(hotkey_text(read_hotkey(settings, HotkeyAction::kSkip)), "Ctrl+Alt+End");
  EXPECT_EQ(hotkey_text(read_hotkey(settings, HotkeyAction::kShowHide)), "Ctrl+Alt+J");

  save_hotkey(settings, HotkeyAction::kSkip, std::nullopt);
  EXPECT_EQ(settings.read("prefs", "hotkey_skip"), "");
  EXPECT_EQ(read_hotkey(settings, HotkeyAction::kSkip), std::nullopt);
  save_hotkey(settings, HotkeyAction::kShowHide, Hotkey{MOD_CONTROL | MOD_SHIFT, 'K'});
  EXPECT_EQ(settings.read("prefs", "hotkey_show_hide"), "Ctrl+Shift+K");
  settings.write("prefs", "hotkey_increment", "Ctrl+Alt+Banana");
  EXPECT_EQ(hotkey_text(read_hotkey(settings, HotkeyAction::kIncrement)), "Ctrl+Alt+PageUp");
}

TEST(Hotkeys, AKeyAnotherProgramHoldsIsNamedOnce) {
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  HWND ours = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'J'));
  MemorySettingsStore settings;
  {
    GlobalHotkeys hotkeys(ours);
    EXPECT_EQ(hotkeys.register_all(settings), "Ctrl+Alt+J is taken by another program.");
    EXPECT_EQ(hotkeys.register_all(settings), "");
    // The keys it holds are its own: another window cannot take them.
    EXPECT_FALSE(RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, VK_PRIOR));
  }
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, VK_PRIOR));
  UnregisterHotKey(other, 1);
  UnregisterHotKey(other, 2);
  DestroyWindow(other);
  DestroyWindow(ours);
}

}  // namespace
}  // namespace jukora
