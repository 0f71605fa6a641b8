// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/monitors.h"

#include <algorithm>

#include "win32/twips.h"

namespace jukora {

namespace {

// A restored window is never smaller than this: both buttons and a strip of
// the grid show.
constexpr double kLeastWidth = 3000;
constexpr double kLeastHeight = 1500;

RECT work_area(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(monitor, &info);
  return info.rcWork;
}

}  // namespace

void adjust_for_frame(RECT& inner, DWORD style, UINT dpi) {
  using ForDpiCall = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto for_dpi = reinterpret_cast<ForDpiCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  if (!for_dpi || !for_dpi(&inner, style, FALSE, 0, dpi)) AdjustWindowRectEx(&inner, style, FALSE, 0);
}

RECT centred_on_primary(int width, int height) {
  const POINT origin{0, 0};
  const RECT area = work_area(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY));
  const int left = area.left + std::max(0L, (area.right - area.left - width) / 2);
  const int top = area.top + std::max(0L, (area.bottom - area.top - height) / 2);
  return {left, top, left + width, top + height};
}

RECT onto_a_monitor(const WindowPlace& stored, const RECT& design) {
  // Hand-edited or damaged settings can hold any number; far beyond every
  // monitor is as good as the edge of the range.
  auto clamp = [](double twips) { return std::clamp(twips, -1e7, 1e7); };
  const WindowPlace place{clamp(stored.top), clamp(stored.left), clamp(stored.height), clamp(stored.width)};
  const UINT system = system_dpi();
  const RECT at = place_to_pixels({place.top, place.left, 1, 1}, system, system);
  RECT wanted = place_to_pixels(place, system, dpi_at(at));
  HMONITOR monitor = MonitorFromRect(&wanted, MONITOR_DEFAULTTONULL);
  const bool seen = monitor != nullptr;
  if (!seen) monitor = MonitorFromRect(&design, MONITOR_DEFAULTTOPRIMARY);
  const RECT area = work_area(monitor);
  const UINT dpi = dpi_at(area);
  const int least_width = twips_to_px(kLeastWidth, dpi), least_height = twips_to_px(kLeastHeight, dpi);
  int width =
      std::min(std::max<int>(wanted.right - wanted.left, least_width), static_cast<int>(area.right - area.left));
  int height =
      std::min(std::max<int>(wanted.bottom - wanted.top, least_height), static_cast<int>(area.bottom - area.top));
  // The whole window on the monitor, its size kept where it fits.
  const int left = std::clamp<int>(seen ? wanted.left : design.left, area.left, area.right - width);
  const int top = std::clamp<int>(seen ? wanted.top : design.top, area.top, area.bottom - height);
  return {left, top, left + width, top + height};
}

}  // namespace jukora
