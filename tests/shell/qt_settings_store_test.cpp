// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt_settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/settings_keys.h"

namespace jukora {
namespace {

// The test run keeps its settings in a folder of its own (qt_test_main).
QString ini_path() { return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Jukora/Jukora.ini"); }

QString ini_text() {
  QFile file(ini_path());
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(QtSettingsStore, TextsGoToTheUsersIniFileAndComeBackAsTheyWere) {
  ASSERT_TRUE(ini_path().startsWith(QDir::tempPath())) << "never the real settings";
  QFile::remove(ini_path());
  const std::pair<std::string_view, std::string> written[] = {
      {keys::kLastSet, "/home/zoë/lists/a, b;c=d \"e\" @f.jk8"}, {keys::kVisible, "True"}, {keys::kModeButton, ""}};
  {
    QtSettingsStore store;
    for (const auto& [key, value] : written) store.SaveSetting(sections::kMain, key, value);
    store.SaveSetting(sections::kWindow, keys::kAppTop, "1500");
    EXPECT_EQ(store.GetSetting(sections::kWindow, keys::kAppTop, "0"), "1500");
  }
  EXPECT_TRUE(ini_text().contains("[main]")) << "one group per section";
  EXPECT_TRUE(ini_text().contains("app_top=1500"));

  QtSettingsStore again;
  for (const auto& [key, value] : written) EXPECT_EQ(again.read(sections::kMain, key), value) << key;
  EXPECT_EQ(again.read(sections::kPrefs, keys::kTimeBlock), std::nullopt) << "never written";
  EXPECT_EQ(again.GetSetting(sections::kPrefs, keys::kWinampDir, "/usr/bin"), "/usr/bin");
  EXPECT_EQ(read_column_width(again, 3), kDefaultColumnWidth);
}

TEST(QtSettingsStore, HandEditedValuesThatAreNoNumbersReadAsTheDefaults) {
  QFile::remove(ini_path());
  ASSERT_TRUE(QDir().mkpath(QFileInfo(ini_path()).path()));
  QFile file(ini_path());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  // Which texts are numbers is the readers' business, tried on the memory store.
  file.write("[window]\napp_width=wide\napp_top=1.5e3\n[prefs]\ntime_block=3, 4\n");
  file.close();

  QtSettingsStore store;
  EXPECT_EQ(setting_number(store, sections::kWindow, keys::kAppWidth, 9000), 9000);
  EXPECT_EQ(setting_number(store, sections::kWindow, keys::kAppTop, 0), 1500);
  // A value with a comma reads as a list in an INI file; it comes back whole.
  EXPECT_EQ(store.read(sections::kPrefs, keys::kTimeBlock), "3, 4");
  EXPECT_EQ(read_time_block(store), 0);
}

}  // namespace
}  // namespace jukora
