// SPDX-License-Identifier: GPL-3.0-or-later
// A main window on the offscreen platform with its settings in memory, its
// data folder in a temporary directory and message boxes recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "shell/form1.h"
#include "shell/qt_desktop.h"
#include "support/fakes.h"

namespace jukora::testing {

class RecordingQtDesktop : public QtDesktop {
 public:
  void message_box(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> choose_file(const FileDialogRequest&) override { return std::nullopt; }
  std::vector<std::string> choose_files(const FileDialogRequest&) override { return {}; }
  std::vector<std::string> messages;
};

class WindowTest : public ::testing::Test {
 protected:
  // A folder holding the fake player's executable.
  std::string player_dir() {
    write_bytes(dir.file("player.exe"), "");
    return dir.path().string();
  }
  void set(std::string_view section, std::string_view key, const std::string& value) {
    settings.SaveSetting(section, key, value);
  }
  std::string setting(std::string_view section, std::string_view key) const {
    return settings.GetSetting(section, key, "<absent>");
  }
  // A songlist file at the default place holding `records` (.jk8 lines).
  void write_songlist(const std::vector<std::string>& records) {
    std::string text;
    for (const auto& record : records) text += record + "\r\n";
    write_bytes(default_songlist_path(folders), text);
  }
  Form1& create() { return *(form = std::make_unique<Form1>(settings, link, desktop, folders)); }
  Form1& start() {
    create().Form_Load();
    return *form;
  }

  TempDir dir;
  AppFolders folders{dir.path().string()};
  MemorySettingsStore settings;
  FakePlayerLink link;
  RecordingQtDesktop desktop;
  std::unique_ptr<Form1> form;
};

}  // namespace jukora::testing
