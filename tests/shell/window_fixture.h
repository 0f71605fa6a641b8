// SPDX-License-Identifier: GPL-3.0-or-later
// The program on the offscreen platform with its settings in memory, its
// data folder in a temporary directory, a fake player and tray, and message
// boxes recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "shell/app.h"
#include "shell/fake_tray.h"
#include "shell/form1.h"
#include "shell/player_links.h"
#include "shell/qt_desktop.h"
#include "support/fakes.h"

namespace jukora::testing {

class RecordingQtDesktop : public QtDesktop {
 public:
  void message_box(const std::string& text) override { messages.push_back(text); }
  void notify(const std::string& text) override {
    notices.push_back(text);
    QtDesktop::notify(text);
  }
  std::optional<std::string> choose_file(const FileDialogRequest&) override { return std::nullopt; }
  std::vector<std::string> choose_files(const FileDialogRequest&) override { return {}; }
  std::vector<std::string> messages, notices;
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
  // A program on `store`, not started yet.
  std::unique_ptr<App> program(SettingsStore& store) {
    auto made = std::make_unique<App>(store, desktop, std::make_unique<OnePlayerLink>(link), tray, clock, folders);
    made->quit = [this] { ++quits; };
    return made;
  }
  Form1& create() {
    app.reset();
    tray.calls.clear();
    app = program(settings);
    form = &app->window();
    return *form;
  }
  Form1& start() {
    create();
    app->start();
    return *form;
  }

  TempDir dir;
  AppFolders folders{dir.path().string()};
  MemorySettingsStore settings;
  FakePlayerLink link;
  RecordingQtDesktop desktop;
  FakeTray tray;
  FakeClock clock;
  std::unique_ptr<App> app;
  Form1* form = nullptr;
  int quits = 0;
};

}  // namespace jukora::testing
