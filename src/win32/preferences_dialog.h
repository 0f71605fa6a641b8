// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences dialog ("Jukora Preferences", Dialog): Winamp's folder, the
// replay limit in hours, the two auto-add switches, desktop notifications,
// the keys that work from any program, and what listening does to scores. Modeless, without a taskbar entry; it
// is closed, filled but hidden (the folder chooser read or wrote its folder
// box), or shown. OK saves and closes, Apply saves and stays, Cancel and the
// close box close without saving.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win32/listening_box.h"

namespace jukora {

class SettingsStore;

struct DialogHooks {
  // After a save: the keys from anywhere are registered anew.
  std::function<void()> saved;
  // Browse, on a filled dialog: the folder chooser.
  std::function<void()> browse;
  // The dialog closed; the chooser, which writes into it, goes with it.
  std::function<void()> closed;
};

class Dialog {
 public:
  Dialog(SettingsStore& settings, HWND owner, DialogHooks hooks);
  ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Shows the dialog, filling it from the settings first when it is closed;
  // a filled dialog keeps its pending edits and its Apply state.
  void show_dialog();
  // Fills the dialog without showing it, unless it is filled already.
  void ensure_loaded();
  // Closes it without saving.
  void close_dialog();

  // The folder box, as the folder chooser reads and writes it.
  std::wstring winamp_dir_text() const;
  void set_winamp_dir_text(const std::wstring& text);

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  void prepare_controls();
  void Form_Load();
  void load_prefs();
  void save_prefs();
  // Every change by the user (and by the chooser) enables Apply; filling does not.
  void control_changed();
  // Under the hours box: when a song played now may play again.
  void show_hours_note();
  void OKButton_Click();
  void ApplyButton_Click();
  void CancelButton_Click();
  void BrowseButton_Click();

  SettingsStore& settings_;
  const HWND owner_;
  const DialogHooks hooks_;
  HWND window_ = nullptr;
  HWND tips_ = nullptr;
  std::optional<ListeningBox> listening_;
  bool dialog_loaded_ = false;
};

}  // namespace jukora
