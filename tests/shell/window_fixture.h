// SPDX-License-Identifier: GPL-3.0-or-later
// The program on the offscreen platform with its settings in memory, its
// data folder in a temporary directory, a fake player and tray, and message
// boxes recorded.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "shell/app.h"
#include "shell/fake_tray.h"
#include "shell/window/form1.h"
#include "shell/player_links.h"
#include "shell/qt_desktop.h"
#include "shell/window/songlist_view.h"
#include "support/fakes.h"

namespace jukora::testing {

// The matchers the window tests read best with.
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

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
  // A .jk8 line of a song never played.
  static std::string record(const std::string& directory, const std::string& file, int score) {
    return "\"" + directory + "\",\"" + file + "\",\"" + std::to_string(score) + "\",\"00:00 1/1/71\"";
  }
  // Songs (file, score) that exist in `music`, as the whole songlist.
  void write_songs(const std::vector<std::pair<std::string, int>>& songs) {
    std::vector<std::string> records;
    for (const auto& [file, score] : songs) {
      write_wav(join_path(music, file));
      records.push_back(record(music, file, score));
    }
    write_songlist(records);
  }
  std::string saved() const { return read_bytes(default_songlist_path(folders)); }
  // The mode menu's item `caption` of the top-level item `top` (itself when no caption).
  void choose(const QString& top, const QString& caption = {}) {
    for (QAction* action : app->mode_menu().menu().actions()) {
      if (action->text() != top) continue;
      if (caption.isEmpty()) return app->mode_menu().run(*action);
      for (QAction* item : action->menu()->actions())
        if (item->text() == caption) return app->mode_menu().run(*item);
    }
    FAIL() << top.toStdString();
  }
  SonglistView& grid() const { return form->MSFlexGrid1(); }
  void click_row(int shown_row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, modifiers,
                      grid().visualRect(grid().model()->index(shown_row - 1, col::kFile)).center());
  }
  void key(int k, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&grid(), Qt::Key(k), modifiers); }
  // The grid's rows shown as selected, from the top, counted from 1.
  std::vector<int> highlighted_rows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : grid().selectionModel()->selectedRows(col::kFile)) rows.push_back(index.row() + 1);
    std::sort(rows.begin(), rows.end());
    return rows;
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
  const std::string music = dir.file("music");
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
