// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/window_font.h"

#include <map>
#include <utility>

namespace jukora {

namespace {

LOGFONTW system_message_font(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  using ForDpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static const auto for_dpi = reinterpret_cast<ForDpiCall>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  if (for_dpi && for_dpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return metrics.lfMessageFont;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  // Given at the system's DPI: scaled to the monitor's.
  HDC screen = GetDC(nullptr);
  const int system = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), system);
  return metrics.lfMessageFont;
}

}  // namespace

HFONT message_font(UINT dpi, bool bold) {
  static std::map<std::pair<UINT, bool>, HFONT> fonts;
  HFONT& font = fonts[{dpi, bold}];
  if (!font) {
    LOGFONTW description = system_message_font(dpi);
    if (bold) description.lfWeight = FW_BOLD;
    font = CreateFontIndirectW(&description);
  }
  return font;
}

void use_message_font(HWND control, UINT dpi) {
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(message_font(dpi)), TRUE);
}

}  // namespace jukora
