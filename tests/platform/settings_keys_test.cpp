// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_keys.h"

#include <gtest/gtest.h>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"

namespace jukora {
namespace {

TEST(SettingsKeys, AnEmptyStoreAndUnconvertibleValuesGiveTheDefaults) {
  MemorySettingsStore empty, bad;
  bad.SaveSetting("main", "visible", "maybe");
  bad.SaveSetting("prefs", "time_block", "");
  bad.SaveSetting("prefs", "add_on_plus", "on");
  bad.SaveSetting("window", "fg_col0", "wide");
  bad.SaveSetting("window", "fg_col1", "70000");  // beyond 16 bits
  bad.SaveSetting("window", "app_top", "1e999");
  bad.SaveSetting("main", "last_set", "");
  for (MemorySettingsStore* store : {&empty, &bad}) {
    EXPECT_FALSE(read_visible(*store));
    EXPECT_TRUE(read_mode_button(*store));
    EXPECT_EQ(read_last_set(*store, AppFolders{"data"}), join_path("data", "default.jk8"));
    EXPECT_EQ(read_winamp_dir(*store), std::string(default_winamp_dir()));
    EXPECT_FALSE(read_add_on_plus(*store));
    EXPECT_FALSE(read_add_on_minus(*store));
    EXPECT_EQ(read_time_block(*store), 0);
    for (int c = 0; c < 7; ++c) EXPECT_EQ(read_column_width(*store, c), 1000);
    EXPECT_EQ(setting_number(*store, "window", "app_top", 42.0), 42.0);
  }
  EXPECT_TRUE(empty.values().empty()) << "reading writes nothing";
}

TEST(SettingsKeys, StoredValuesAreReadAsTheProgramWritesThem) {
  MemorySettingsStore store;
  store.SaveSetting("main", "visible", "True");
  store.SaveSetting("main", "mode_button", "False");  // only exactly "false" hides the icon
  store.SaveSetting("prefs", "add_on_plus", "2");
  store.SaveSetting("prefs", "add_on_minus", "0");
  store.SaveSetting("prefs", "time_block", "12");
  store.SaveSetting("window", "fg_col3", "2500");
  EXPECT_TRUE(read_visible(store));
  EXPECT_TRUE(read_mode_button(store));
  EXPECT_TRUE(read_add_on_plus(store));
  EXPECT_FALSE(read_add_on_minus(store));
  EXPECT_EQ(read_time_block(store), 12);
  EXPECT_EQ(read_column_width(store, 3), 2500);
  store.SaveSetting("main", "mode_button", "false");
  EXPECT_FALSE(read_mode_button(store));
  // Any number above 0 switches adding on, whole or not, small or large.
  store.SaveSetting("prefs", "add_on_plus", "0.5");
  store.SaveSetting("prefs", "add_on_minus", "70000");
  EXPECT_TRUE(read_add_on_plus(store));
  EXPECT_TRUE(read_add_on_minus(store));
  store.SaveSetting("prefs", "add_on_minus", "-1");
  EXPECT_FALSE(read_add_on_minus(store));
}

TEST(SettingsKeys, NumberTexts) {
  EXPECT_EQ(to_whole(" 2.5 "), 2);  // halves go to the even neighbour
  EXPECT_EQ(to_whole("3.5"), 4);
  EXPECT_EQ(to_whole("-7"), -7);
  for (const char* text : {"", "1.2.3", "inf", "0x10"}) EXPECT_FALSE(to_number(text)) << text;
  EXPECT_EQ(to_bool("TRUE"), true);
  EXPECT_EQ(to_bool("0"), false);
  EXPECT_EQ(single_text(1200.0f), "1200");
  EXPECT_EQ(single_text(1234567.0f), "1234567");
  EXPECT_EQ(single_text(0.5f), "0.5");
}

}  // namespace
}  // namespace jukora
