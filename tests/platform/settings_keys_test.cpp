// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_keys.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <utility>

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
  bad.SaveSetting("prefs", "listen_scores", "yes");
  bad.SaveSetting("prefs", "end_share", "51");
  bad.SaveSetting("prefs", "grace_secs", "-1");
  bad.SaveSetting("prefs", "skip_share", "half");
  bad.SaveSetting("prefs", "floor_on", "maybe");
  bad.SaveSetting("prefs", "floor_score", "1e20");
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
    EXPECT_FALSE(read_listen_scores(*store));
    EXPECT_FALSE(read_listen_notify(*store));
    EXPECT_EQ(std::tuple(read_end_share(*store), read_grace_secs(*store), read_skip_share(*store)),
              std::tuple(10, 5, 50));
    EXPECT_EQ(read_score_floor(*store), std::nullopt);
    EXPECT_EQ(read_floor_score(*store), 0);
  }
  EXPECT_TRUE(empty.values().empty()) << "reading writes nothing";
}

TEST(SettingsKeys, StoredValuesAreReadAsTheProgramWritesThem) {
  MemorySettingsStore store;
  store.SaveSetting("main", "visible", "True");
  store.SaveSetting("main", "mode_button", "False");  // only exactly "false" hides the icon
  store.SaveSetting("prefs", "time_block", "12");
  store.SaveSetting("window", "fg_col3", "2500");
  EXPECT_TRUE(read_visible(store));
  EXPECT_TRUE(read_mode_button(store));
  EXPECT_EQ(read_time_block(store), 12);
  EXPECT_EQ(read_column_width(store, 3), 2500);
  store.SaveSetting("main", "mode_button", "false");
  EXPECT_FALSE(read_mode_button(store));
  // The listening numbers at the ends of their ranges, and the floor.
  save_end_share(store, 50);
  save_grace_secs(store, 0);
  save_skip_share(store, 90);
  EXPECT_EQ(std::tuple(read_end_share(store), read_grace_secs(store), read_skip_share(store)), std::tuple(50, 0, 90));
  save_floor_score(store, -5);
  EXPECT_EQ(read_score_floor(store), std::nullopt);
  save_floor_on(store, true);
  EXPECT_EQ(read_score_floor(store), -5);
}

TEST(SettingsKeys, TheHoursTextMeansTheSameLimitStoredAndStillInTheBox) {
  // The Preferences' note reads the box before it is saved: it must take
  // every text as the play cycle will once it is stored.
  const std::pair<const char*, std::int32_t> cases[] = {
      {"", 0},
      {"12", 12},
      {" 7 ", 7},
      {"2.5", 2},
      {"3.5", 4},
      {"-3", -3},
      {"abc", 0},
      {"1e3", 1000},
      {"nan", 0},
      {"99999999999", INT32_MAX},
      {"1e999", INT32_MAX},
      {"-1e999", INT32_MIN},
  };
  for (const auto& [text, hours] : cases) {
    MemorySettingsStore store;
    store.SaveSetting("prefs", "time_block", text);
    EXPECT_EQ(time_block_of_text(text), hours) << text;
    EXPECT_EQ(read_time_block(store), hours) << text;
  }
}

TEST(SettingsKeys, AddingIsOnForAnyNumberAboveZeroWhileTheBoxIsCheckedOnlyForOne) {
  // The stored text, then whether Increment and Decrement add a song and
  // whether the Preferences show the box checked.
  const std::tuple<const char*, bool, bool> cases[] = {
      {"0", false, false},    {"1", true, true},    {"2", true, false},   {"0.5", true, false},
      {"70000", true, false}, {"-1", false, false}, {"on", false, false},
  };
  for (const auto& [text, adds, checked] : cases) {
    SCOPED_TRACE(text);
    MemorySettingsStore store;
    store.SaveSetting("prefs", "add_on_plus", text);
    store.SaveSetting("prefs", "add_on_minus", text);
    EXPECT_EQ(read_add_on_plus(store), adds);
    EXPECT_EQ(read_add_on_minus(store), adds);
    EXPECT_EQ(add_on_plus_checked(store), checked);
    EXPECT_EQ(add_on_minus_checked(store), checked);
  }
  // What the box writes, both readers read alike.
  MemorySettingsStore store;
  for (bool on : {true, false}) {
    save_add_on_plus(store, on);
    save_add_on_minus(store, !on);
    EXPECT_EQ(store.GetSetting("prefs", "add_on_plus", ""), on ? "1" : "0");
    EXPECT_EQ(read_add_on_plus(store), on);
    EXPECT_EQ(add_on_plus_checked(store), on);
    EXPECT_EQ(read_add_on_minus(store), !on);
    EXPECT_EQ(add_on_minus_checked(store), !on);
  }
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
