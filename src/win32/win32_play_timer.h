// SPDX-License-Identifier: GPL-3.0-or-later
// A timer of the main window (tmrJukora, and the session's own): SetTimer
// while enabled; the window's WM_TIMER with its id is the tick.
#pragma once

#include <windows.h>

#include "platform/timer.h"

namespace jukora {

class Win32PlayTimer : public Timer {
 public:
  Win32PlayTimer(UINT_PTR id, UINT interval_ms) : id_(id), interval_ms_(interval_ms) {}
  ~Win32PlayTimer() override { set_enabled(false); }
  Win32PlayTimer(const Win32PlayTimer&) = delete;
  Win32PlayTimer& operator=(const Win32PlayTimer&) = delete;

  // The window whose WM_TIMER ticks; a timer enabled before it exists starts then.
  void set_window(HWND window);

  void set_enabled(bool enabled) override;
  bool enabled() const override { return enabled_; }

 private:
  const UINT_PTR id_;
  const UINT interval_ms_;
  HWND window_ = nullptr;
  bool enabled_ = false;
};

}  // namespace jukora
