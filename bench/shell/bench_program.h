// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the window benchmarks build it: settings in memory, an idle
// player, no tray and a clock that is never asked.
#pragma once

#include <memory>
#include <string>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "shell/app.h"
#include "shell/player_links.h"
#include "shell/tray/tray_buttons.h"

namespace jukora {

class NoTray : public TrayHost {
 public:
  void add_icon(TrayIconId, const char*) override {}
  void remove_icon(TrayIconId) override {}
  bool show_message(const std::string&) override { return false; }
};

struct BenchProgram {
  BenchProgram(SettingsStore& settings, PlayerLink& link, QtDesktop& desktop, const AppFolders& folders)
      : app(settings, desktop, std::make_unique<OnePlayerLink>(link), tray, clock, folders) {}
  NoTray tray;
  SystemClock clock;
  App app;
};

}  // namespace jukora
