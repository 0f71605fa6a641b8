// SPDX-License-Identifier: GPL-3.0-or-later
// The five tray buttons: which icons go into the tray, in which order, and
// what their clicks run. A left click runs the command its icon stands for
// (see commands.h); a right click on any icon opens the mode menu. The tray
// itself sits behind TrayHost.
#pragma once

#include <functional>
#include <string>

#include "session/commands.h"
#include "shell/tray/tray_events.h"

namespace jukora {

class Intents;
class SettingsStore;

// Where the icons live: the desktop's notification area, or a test's fake.
class TrayHost {
 public:
  virtual ~TrayHost() = default;
  // Not reported when it fails: an icon that cannot be shown is simply missing.
  virtual void add_icon(TrayIconId icon, const char* tooltip) = 0;
  virtual void remove_icon(TrayIconId icon) = 0;
  // Whether the desktop has a notification area to show the icons in.
  virtual bool available() const { return true; }
  // A balloon by the icons, for a word to the user; false where none can be shown.
  virtual bool show_message(const std::string& text) = 0;

  // The host reports every click it sees here (the main window's
  // Form_MouseUp).
  std::function<void(TrayIconId, TrayRelease)> on_release;
};

class TrayButtons {
 public:
  TrayButtons(TrayHost& host, Intents& intents);

  // Decrement, Increment, Skip, Show/Hide List, then Mode unless
  // "mode_button" is exactly "false" (read now: a change shows at the next start).
  void add_tray_icons(const SettingsStore& settings);
  // Icons 1 to 5 in turn; an icon that was never added is passed over.
  void remove_tray_icons();

  // A click on an icon, as the main window passes it on.
  void release(TrayIconId icon, TrayRelease release);

 private:
  TrayHost& host_;
  Intents& intents_;
};

}  // namespace jukora
