// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the window benchmarks build it: settings in memory, an idle
// player, no tray and a clock that is never asked.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "bench_support.h"
#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "shell/app.h"
#include "shell/player_links.h"
#include "shell/qt_desktop.h"
#include "shell/tray/tray_buttons.h"

namespace jukora {

class NoTray : public TrayHost {
 public:
  void add_icon(TrayIconId, const char*) override {}
  void remove_icon(TrayIconId) override {}
  bool show_message(const std::string&) override { return false; }
};

class QuietQtDesktop : public QtDesktop {
 public:
  void message_box(const std::string&) override {}
};

struct BenchProgram {
  BenchProgram(SettingsStore& settings, PlayerLink& link, QtDesktop& desktop, const AppFolders& folders)
      : app(settings, desktop, std::make_unique<OnePlayerLink>(link), tray, clock, folders) {}
  NoTray tray;
  SystemClock clock;
  App app;
};

// What a window benchmark starts from, in the folder `name`: a saved
// collection of `rows` songs (no songlist file without), the player's
// folder set and the window shown at start when `visible`.
struct WindowBench {
  WindowBench(const std::string& name, std::optional<int> rows, bool visible = true) : folder(name) {
    if (rows) write_collection(default_songlist_path(folders), *rows);
    if (visible) settings.SaveSetting(sections::kMain, keys::kVisible, "True");
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, "/bin");
  }
  // A program on all this, started.
  std::unique_ptr<BenchProgram> start() {
    auto program = std::make_unique<BenchProgram>(settings, link, desktop, folders);
    program->app.start();
    return program;
  }

  BenchFolder folder;
  const AppFolders folders{folder.path.string()};
  MemorySettingsStore settings;
  IdlePlayer link{false, "sh"};
  QuietQtDesktop desktop;
};

}  // namespace jukora
