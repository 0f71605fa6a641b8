// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/win32_play_timer.h"

namespace jukora {

void Win32PlayTimer::set_window(HWND window) {
  window_ = window;
  if (enabled_) SetTimer(window_, id_, interval_ms_, nullptr);
}

void Win32PlayTimer::set_enabled(bool enabled) {
  // Setting a running timer again restarts its interval, as enabling does.
  enabled_ = enabled;
  if (!window_) return;
  if (enabled)
    SetTimer(window_, id_, interval_ms_, nullptr);
  else
    KillTimer(window_, id_);
}

}  // namespace jukora
