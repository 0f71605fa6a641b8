// SPDX-License-Identifier: GPL-3.0-or-later
// The five tray icons: Decrement, Increment, Skip, Show/Hide List and Mode,
// put into the notification area in that order through Shell_NotifyIconA
// with the first version of its record. All five report to the main window
// with one callback message: the icon's id in wParam, the mouse message in
// the low word of lParam. Only a button released over an icon counts.
#pragma once

#include <windows.h>
// The other system headers build on windows.h.
#include <shellapi.h>

#include <span>
#include <string>

// The icons' ids (TrayIconId), as the command table names them.
#include "session/commands.h"

namespace jukora {

struct TrayIconEntry {
  TrayIconId id;
  int resource;  // the icon resource of its image
  const char* tooltip;
};

std::span<const TrayIconEntry> tray_icon_entries();

// The message each icon sends the main window.
inline constexpr UINT kTrayCallback = WM_APP + 1;

// The record that adds an icon: size NOTIFYICONDATAA_V1_SIZE, the window, the
// id, message, icon and tip valid, the tooltip followed by a NUL and spaces.
NOTIFYICONDATAA tray_add_record(HWND window, const TrayIconEntry& entry, HICON icon);
// The record that removes one: only its size, the window and the id.
NOTIFYICONDATAA tray_delete_record(HWND window, TrayIconId id);

// A left or right button released over an icon; everything else (presses,
// moves, double-click notices, the middle button) is no click.
enum class TrayRelease { kNone, kLeft, kRight };
struct TrayClick {
  TrayIconId icon = TrayIconId::kDecrement;
  TrayRelease release = TrayRelease::kNone;
};
TrayClick decode_tray_callback(WPARAM wparam, LPARAM lparam);

class TrayIcons {
 public:
  explicit TrayIcons(HWND window);
  ~TrayIcons();
  TrayIcons(const TrayIcons&) = delete;
  TrayIcons& operator=(const TrayIcons&) = delete;

  // Icons 1 to 4, then Mode unless `mode_button` is false. Failures are not
  // reported: an icon that cannot be added is missing.
  void add_tray_icons(bool mode_button);
  // Whether any icon made it into the tray.
  bool shown_any() const { return added_ > 0; }
  // Icons 1 to 5 in turn.
  void remove_tray_icons();
  // Explorer started again (its "TaskbarCreated" message): the icons that
  // were there go back.
  void put_back();
  // The message that announces a new taskbar.
  static UINT taskbar_created();

  // A balloon by the Increment icon; false where none can be shown.
  bool show_balloon(const std::string& text);

 private:
  HICON icon_for(const TrayIconEntry& entry);

  const HWND window_;
  HICON icons_[5] = {};
  bool shown_ = false;
  int added_ = 0;
  bool mode_button_ = true;
};

}  // namespace jukora
