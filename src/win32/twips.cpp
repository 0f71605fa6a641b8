// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/twips.h"

#include <cmath>

namespace jukora {

namespace {

// Looked up at run time: the program still starts where a call is missing.
template <typename Function>
Function system_call(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

int twips_to_px(double twips, UINT dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch)); }

double px_to_twips(int px, UINT dpi) { return px * kTwipsPerInch / dpi; }

RECT place_to_pixels(const WindowPlace& place, UINT system_dpi, UINT window_dpi) {
  const int left = twips_to_px(place.left, system_dpi), top = twips_to_px(place.top, system_dpi);
  return {left, top, left + twips_to_px(place.width, window_dpi), top + twips_to_px(place.height, window_dpi)};
}

WindowPlace pixels_to_place(const RECT& rect, UINT system_dpi, UINT window_dpi) {
  return {px_to_twips(rect.top, system_dpi), px_to_twips(rect.left, system_dpi),
          px_to_twips(rect.bottom - rect.top, window_dpi), px_to_twips(rect.right - rect.left, window_dpi)};
}

UINT system_dpi() {
  using GetDpiForSystemCall = UINT(WINAPI*)();
  static const auto call = system_call<GetDpiForSystemCall>(L"user32.dll", "GetDpiForSystem");
  if (call) return call();
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT window_dpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto call = system_call<GetDpiForWindowCall>(L"user32.dll", "GetDpiForWindow");
  const UINT dpi = call && window ? call(window) : 0;
  return dpi ? dpi : system_dpi();
}

UINT dpi_at(const RECT& rect) {
  using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto call = system_call<GetDpiForMonitorCall>(L"shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  // 0: the effective DPI, the one windows are scaled by.
  if (call && SUCCEEDED(call(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && x) return x;
  return system_dpi();
}

}  // namespace jukora
