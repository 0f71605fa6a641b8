// SPDX-License-Identifier: GPL-3.0-or-later
// How far long work has come, with a Cancel button: a small modeless window
// over the main window that shows itself only once the work has lasted half
// a second, so that quick work shows nothing.
#pragma once

#include <windows.h>

#include <string>

namespace jukora {

class ProgressWindow {
 public:
  explicit ProgressWindow(HWND owner);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  // Shows `text`; false once the user has cancelled.
  bool update(const std::string& text);

 private:
  static LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  const HWND owner_;
  const ULONGLONG started_;
  HWND window_ = nullptr;
  HWND label_ = nullptr;
  bool cancelled_ = false;
};

}  // namespace jukora
