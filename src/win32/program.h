// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows program: it builds the Win32 pieces (the settings in the
// registry, Form1, the tray icons, the mode menu, the Preferences and the
// folder chooser, the keys from anywhere, Winamp's window) and binds them to
// the session, which is the program itself (session/session.h). What the
// tray, the keys and the pipe ask for goes to the session as its intents.
#pragma once

#include <memory>
#include <optional>

#include "platform/app_folders.h"
#include "platform/clock.h"
#include "player/player_link.h"
#include "player/winamp/win32_winamp_window.h"
#include "session/session.h"
#include "session/session_watcher.h"
#include "win32/dir_dialog.h"
#include "win32/form1.h"
#include "win32/hotkeys.h"
#include "win32/mode_menu.h"
#include "win32/preferences_dialog.h"
#include "win32/registry_settings_store.h"
#include "win32/songlist_rows.h"
#include "win32/start_command.h"
#include "win32/tray_icons.h"
#include "win32/win32_desktop.h"
#include "win32/win32_event_loop.h"
#include "win32/win32_play_timer.h"

namespace jukora {

class Program : private SessionWatcher {
 public:
  explicit Program(AppFolders folders);
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Start-up: the window comes up and loads the songlist, then `word` (the
  // program's own command) runs.
  void start(std::optional<RemoteWord> word);
  // A word from a copy started later.
  void receive(RemoteWord word);
  HWND window() const { return form_.hwnd(); }

 private:
  void session_changed(const SessionNews& news) override;
  WindowIntents window_intents();
  ModeMenuIntents menu_intents();
  void wire_window();
  void tray_click(TrayClick click);
  void show_mode_menu(POINT at);
  void register_hotkeys();
  void redo();
  // Exit: the tray icons go, what changed is saved, and the program ends,
  // at once when a box or dialog holds its own message loop.
  void exit_now();
  void notify(const std::string& text);

  const AppFolders folders_;
  RegistrySettingsStore settings_;
  Win32Desktop desktop_;
  Win32EventLoop loop_;
  Win32PlayTimer play_timer_{kPlayTimerId, 1000};
  Win32WinampWindow winamp_window_;
  std::unique_ptr<PlayerLink> link_;
  SystemClock clock_;
  Session session_;
  SonglistRows rows_;
  Form1 form_;
  TrayIcons tray_;
  ModeMenu menu_;
  Dialog preferences_;
  DirDialog dir_dialog_;
  GlobalHotkeys hotkeys_;
};

}  // namespace jukora
