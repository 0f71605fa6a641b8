// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/winamp_folder.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"

namespace jukora {
namespace {

TEST(WinampFolder, TheFolderOf32BitProgramsIsTakenOnlyWhenNothingElseSays) {
  const std::string usual = "C:\\Program Files\\Winamp\\winamp.exe";
  const std::string of_32_bit = "C:\\Program Files (x86)\\Winamp\\winamp.exe";
  struct Case {
    const char* stored;  // nullptr: never set
    std::set<std::string> present;
    std::optional<std::string> saved;
  };
  const Case cases[] = {
      {nullptr, {of_32_bit}, "C:\\Program Files (x86)\\Winamp"},
      {nullptr, {usual, of_32_bit}, std::nullopt},
      {nullptr, {}, std::nullopt},
      {"D:\\Apps\\Winamp", {of_32_bit}, "D:\\Apps\\Winamp"},
      {"C:\\Program Files\\Winamp", {of_32_bit}, "C:\\Program Files\\Winamp"},
  };
  for (const Case& c : cases) {
    MemorySettingsStore settings;
    if (c.stored) save_winamp_dir(settings, c.stored);
    settle_winamp_dir(settings, [&](const std::string& path) { return c.present.contains(path); });
    EXPECT_EQ(settings.read("prefs", "winamp_dir"), c.saved);
  }
}

}  // namespace
}  // namespace jukora
