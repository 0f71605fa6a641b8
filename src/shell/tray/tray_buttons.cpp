// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray/tray_buttons.h"

#include "platform/settings_keys.h"
#include "session/intents.h"

namespace jukora {

TrayButtons::TrayButtons(TrayHost& host, Intents& intents) : host_(host), intents_(intents) {}

void TrayButtons::add_tray_icons(const SettingsStore& settings) {
  for (int id = 1; id <= kTrayIconCount; ++id) {
    auto icon = static_cast<TrayIconId>(id);
    if (icon == TrayIconId::kMode && !read_mode_button(settings)) continue;
    host_.add_icon(icon, command_of_icon(icon).tooltip);
  }
}

void TrayButtons::remove_tray_icons() {
  for (int id = 1; id <= kTrayIconCount; ++id) host_.remove_icon(static_cast<TrayIconId>(id));
}

void TrayButtons::release(TrayIconId icon, TrayRelease release) {
  if (release == TrayRelease::kRight) return intents_.open_mode_menu();
  if (release == TrayRelease::kLeft)
    run_command(CommandCall(command_of_icon(icon).command, {}, false, ChangeSource::kTray), intents_);
}

}  // namespace jukora
