// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/registry_settings_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/settings_keys.h"

namespace jukora {
namespace {

class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  ~RegistrySettingsStoreTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str()); }

  const std::wstring root = L"Software\\Jukora tests\\" + std::to_wstring(GetCurrentProcessId());
  RegistrySettingsStore store{root};
};

TEST_F(RegistrySettingsStoreTest, KeepsTheProgramSettingsWhereTheSystemsSettingsFunctionsDo) {
  EXPECT_STREQ(kSettingsRoot, L"Software\\VB and VBA Program Settings\\Jukora");
}

TEST_F(RegistrySettingsStoreTest, AKeyNeverWrittenGivesTheReadersDefault) {
  EXPECT_EQ(store.read("prefs", "winamp_dir"), std::nullopt);
  EXPECT_EQ(store.GetSetting("prefs", "winamp_dir", "C:\\Program Files\\Winamp"), "C:\\Program Files\\Winamp");
  EXPECT_EQ(read_winamp_dir(store), "C:\\Program Files\\Winamp");
  EXPECT_EQ(read_column_width(store, 3), 1000);
  EXPECT_FALSE(read_visible(store));
}

TEST_F(RegistrySettingsStoreTest, EachSettingIsOneStringValueInTheKeyOfItsSection) {
  // "Bj\xf6rk": a letter of the ANSI code page beyond ASCII.
  const std::string values[] = {"C:\\Music\\Bj\xf6rk", "", "True", "1", "7965"};
  for (const std::string& value : values) {
    store.SaveSetting("window", "app_height", value);
    EXPECT_EQ(store.read("window", "app_height"), value);
  }
  wchar_t text[64] = {};
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(
      RegGetValueW(HKEY_CURRENT_USER, (root + L"\\window").c_str(), L"app_height", RRF_RT_ANY, &type, text, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, L"7965");
}

TEST_F(RegistrySettingsStoreTest, AValueOfAnotherTypeCountsAsAbsent) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (root + L"\\main").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const DWORD number = 1;
  RegSetValueExW(key, L"visible", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  RegCloseKey(key);
  EXPECT_EQ(store.read("main", "visible"), std::nullopt);
  store.SaveSetting("main", "visible", "True");
  EXPECT_TRUE(read_visible(store));
}

}  // namespace
}  // namespace jukora
