// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/placement.h"

#include <algorithm>

namespace jukora {

void centre_on_owner(HWND dialog, HWND owner) {
  RECT own{}, area{};
  GetWindowRect(dialog, &own);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY), &monitor);
  if (!owner || !IsWindowVisible(owner) || IsIconic(owner) || !GetWindowRect(owner, &area)) area = monitor.rcWork;
  const int width = own.right - own.left, height = own.bottom - own.top;
  const RECT& work = monitor.rcWork;
  const int left = std::clamp<int>(area.left + (area.right - area.left - width) / 2, work.left,
                                   std::max<int>(work.left, work.right - width));
  const int top = std::clamp<int>(area.top + (area.bottom - area.top - height) / 2, work.top,
                                  std::max<int>(work.top, work.bottom - height));
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace jukora
