// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop as the session sees it, on Windows: message boxes titled
// "Jukora" with an OK button only, the system's file dialogs (their wide
// versions), the captions, the Preferences, the hourglass, the main window
// shown and hidden, the mode menu, a word to the user beside the buttons and
// by the tray, and a progress with Cancel.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/desktop.h"

namespace jukora {

class ProgressWindow;

// What a Files dialog of several files can return at most, in characters.
inline constexpr DWORD kAddFilesResultLimit = 32760;
inline constexpr const char* kTooManyFiles =
    "Add Files: too many files chosen at once. Choose fewer, or drop their folder on the list.";

// Where the desktop reaches the program's windows. Each is optional.
struct DesktopHooks {
  std::function<void(const std::string& window_caption, const std::string& menu_caption)> captions;
  std::function<void()> preferences;
  // A word to the user that needs no answer.
  std::function<void(const std::string& text)> notify;
  // The main window shown and brought to the front, or shown when hidden and
  // hidden when shown; the mode menu at the mouse; the line beside the buttons.
  std::function<void()> show_window;
  std::function<void()> toggle_window;
  std::function<void()> mode_menu;
  std::function<void(const std::string& text)> status;
};

class Win32Desktop : public Desktop {
 public:
  explicit Win32Desktop(DesktopHooks hooks);
  ~Win32Desktop() override;

  // The window that owns the boxes and dialogs.
  void set_owner(HWND owner) { owner_ = owner; }

  void message_box(const std::string& text) override;
  std::optional<std::string> choose_file(const FileDialogRequest& request) override;
  std::vector<std::string> choose_files(const FileDialogRequest& request) override;
  void set_captions(const std::string& window_caption, const std::string& menu_caption) override;
  void show_preferences() override;
  void set_busy(bool busy) override;
  void show_window() override;
  void toggle_window() override;
  void open_mode_menu() override;
  void show_status(const std::string& text) override;
  bool showing_modal() const override { return in_modal(); }
  void notify(const std::string& text) override;
  bool show_progress(const std::string& text) override;
  void end_progress() override;

  // Whether the hourglass is up, for the window's cursor.
  bool busy() const { return busy_ > 0; }
  // Whether a box or dialog of this desktop is open, with its own message loop.
  bool in_modal() const { return modal_ > 0; }

 private:
  struct Modal;

  DesktopHooks hooks_;
  HWND owner_ = nullptr;
  int busy_ = 0;
  int modal_ = 0;
  std::unique_ptr<ProgressWindow> progress_;
};

// "A|*.a|B|*.b" as the dialogs take it: NUL between the parts, two at the end.
std::wstring dialog_filter(const std::string& filter);
// The result of a dialog of several files: one full path, or the folder and
// then each name, NUL between them.
std::vector<std::wstring> chosen_paths(std::wstring_view result);

}  // namespace jukora
