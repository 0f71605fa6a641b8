// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/tray_buttons.h"

#include <utility>

#include "platform/settings_keys.h"

namespace jukora {

TrayButtons::TrayButtons(TrayHost& host, TrayHandlers handlers) : host_(host), handlers_(std::move(handlers)) {
  host_.on_release = [this](TrayIconId icon, TrayRelease release) { this->release(icon, release); };
}

void TrayButtons::add_tray_icons(const SettingsStore& settings) {
  for (int id = 1; id <= kTrayIconCount; ++id) {
    auto icon = static_cast<TrayIconId>(id);
    if (icon == TrayIconId::kMode && !read_mode_button(settings)) continue;
    host_.add_icon(icon, tray_tooltip(icon));
  }
}

void TrayButtons::remove_tray_icons() {
  for (int id = 1; id <= kTrayIconCount; ++id) host_.remove_icon(static_cast<TrayIconId>(id));
}

void TrayButtons::release(TrayIconId icon, TrayRelease release) {
  const std::function<void()>* handler = nullptr;
  switch (tray_action(icon, release)) {
    case TrayAction::kNone:
      return;
    case TrayAction::kDecrement:
      handler = &handlers_.decrement;
      break;
    case TrayAction::kIncrement:
      handler = &handlers_.increment;
      break;
    case TrayAction::kSkip:
      handler = &handlers_.skip;
      break;
    case TrayAction::kToggleList:
      handler = &handlers_.toggle_list;
      break;
    case TrayAction::kModeMenu:
      handler = &handlers_.mode_menu;
      break;
  }
  if (handler && *handler) (*handler)();
}

}  // namespace jukora
