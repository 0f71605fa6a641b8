// SPDX-License-Identifier: GPL-3.0-or-later
// The Desktop on Qt widgets: message boxes and file dialogs over a parent
// window (the main window, which it also shows and hides), and hooks the
// program fills in for the menu's caption, Preferences, the mode menu, the
// status line and notifications.
#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QWidget>
#include <functional>

#include "platform/desktop.h"

namespace jukora {

class QtDesktop : public Desktop {
 public:
  explicit QtDesktop(QWidget* parent = nullptr);
  ~QtDesktop() override;

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
  bool showing_modal() const override;
  void notify(const std::string& text) override;
  void notify_undoable(const std::string& text) override;
  bool show_progress(const std::string& text) override;
  void end_progress() override;

  void set_parent(QWidget* parent) { parent_ = parent; }
  // The program is ending: nothing waits for the user from now on. Boxes
  // and dialogs asked for later are passed over (cancelled), and long work
  // is told to stop.
  void end_waiting() { ending_ = true; }
  std::function<void(const QString&)> on_menu_caption;
  std::function<void()> on_show_preferences;
  std::function<void()> on_mode_menu;
  std::function<void(const QString&)> on_status;
  // Where notify() sends its text, and whether it may offer an Undo;
  // without it the text goes to the log.
  std::function<void(const QString&, bool undoable)> on_notify;

 private:
  QPointer<QWidget> parent_;
  QPointer<QProgressDialog> progress_;
  bool ending_ = false;
};

// "Label|*.a;*.b|Label2|*.c" as Qt's "Label (*.a *.b);;Label2 (*.c)".
QString qt_filter(const std::string& filter);

}  // namespace jukora
