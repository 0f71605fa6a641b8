// SPDX-License-Identifier: GPL-3.0-or-later
// What behaviour needs from the screen: message boxes with their fixed texts,
// notifications, the file dialogs' answers, the captions that name the
// songlist, showing and hiding the window, the Preferences dialog, the
// hourglass.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jukora {

inline constexpr const char* kAppTitle = "Jukora";

// One use of the shared file dialog.
struct FileDialogRequest {
  std::string title;
  // Label|pattern pairs separated by "|", e.g. "Jukora Files (*.jk8)|*.jk8".
  std::string filter;
  std::string initial_dir;  // empty: the dialog's own choice
  std::string file_name;    // proposed name, may be a full path
  // Save As: a file that exists is only chosen once the user agreed to
  // replace it.
  bool asks_to_replace = false;
};

// The folder and file name the file dialog starts from; kept for the run
// and shared by the songlist commands and Add Files.
struct DialogMemory {
  std::string initial_dir;
  std::string file_name;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // A modal box titled "Jukora" with an OK button only.
  virtual void message_box(const std::string& text) = 0;

  // An open-file dialog that lets the user type a new name. Nothing when
  // cancelled.
  virtual std::optional<std::string> choose_file(const FileDialogRequest& request) = 0;

  // An open-file dialog for several existing files, full paths in the order
  // chosen. Empty when cancelled.
  virtual std::vector<std::string> choose_files(const FileDialogRequest& request) = 0;

  // The window caption and the mode menu's Songlist item.
  virtual void set_captions(const std::string& window_caption, const std::string& menu_caption) = 0;

  // Shows the Preferences dialog without waiting for it.
  virtual void show_preferences() = 0;

  // The hourglass over the main window during long work.
  virtual void set_busy(bool busy) = 0;

  // The main window shown and brought to the front; shown when hidden and
  // hidden when shown; the mode menu opened at the mouse.
  virtual void show_window() {}
  virtual void toggle_window() {}
  virtual void open_mode_menu() {}
  // The line beside the score buttons (empty: cleared).
  virtual void show_status(const std::string& text) { (void)text; }
  // Whether a message box or another modal dialog is open: work that must
  // not run under one waits.
  virtual bool showing_modal() const { return false; }

  // A short word to the user that needs no answer and must not stand in the
  // way of the work (a desktop notification, or a line in the window).
  virtual void notify(const std::string& text) = 0;
  // The same after a change the user may want to take back at once (a score
  // from the tray): where the desktop's notifications offer actions, the word
  // carries an "Undo".
  virtual void notify_undoable(const std::string& text) { notify(text); }

  // Long work the user may stop: `text` tells how far it has come. Shown once
  // the work has lasted a moment, with a Cancel button; answers false once
  // the user has cancelled. A desktop that shows nothing never cancels.
  virtual bool show_progress(const std::string& text) {
    (void)text;
    return true;
  }
  // The long work has ended; its progress goes away.
  virtual void end_progress() {}
};

// The desktop of a process without a window: nothing is shown, nothing is
// ever chosen, and nothing waits. The import from the command line builds on
// it, and tells on the terminal.
class HeadlessDesktop : public Desktop {
 public:
  void message_box(const std::string&) override {}
  std::optional<std::string> choose_file(const FileDialogRequest&) override { return std::nullopt; }
  std::vector<std::string> choose_files(const FileDialogRequest&) override { return {}; }
  void set_captions(const std::string&, const std::string&) override {}
  void show_preferences() override {}
  void set_busy(bool) override {}
  void notify(const std::string&) override {}
};

}  // namespace jukora
