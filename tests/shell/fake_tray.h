// SPDX-License-Identifier: GPL-3.0-or-later
// A tray that records what goes in and out ("add 2 Increment", "remove 5")
// and lets a test click its icons.
#pragma once

#include <string>
#include <vector>

#include "shell/tray/tray_buttons.h"

namespace jukora::testing {

class FakeTray : public TrayHost {
 public:
  void add_icon(TrayIconId icon, const char* tooltip) override { calls.push_back("add " + id(icon) + " " + tooltip); }
  void remove_icon(TrayIconId icon) override { calls.push_back("remove " + id(icon)); }
  bool available() const override { return has_area; }
  bool show_message(const std::string& text) override {
    if (has_area) calls.push_back("message " + text);
    return has_area;
  }
  void click(TrayIconId icon, TrayRelease release = TrayRelease::kLeft) { on_release(icon, release); }
  std::vector<std::string> calls;
  bool has_area = true;

 private:
  static std::string id(TrayIconId icon) { return std::to_string(static_cast<int>(icon)); }
};

}  // namespace jukora::testing
