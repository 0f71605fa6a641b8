// SPDX-License-Identifier: GPL-3.0-or-later
// Window lengths in twips, 1440 to the inch. The stored geometry keeps its
// meaning across screens: the window's place is converted at the system's
// DPI (the one coordinate space all monitors share), its size at the DPI of
// the monitor the window is on, so it keeps its size in inches there.
#pragma once

#include <windows.h>

#include "platform/settings_keys.h"

namespace jukora {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr UINT kDefaultDpi = 96;

int twips_to_px(double twips, UINT dpi);
double px_to_twips(int px, UINT dpi);

// The outer window rectangle of a stored place, and back.
RECT place_to_pixels(const WindowPlace& place, UINT system_dpi, UINT window_dpi);
WindowPlace pixels_to_place(const RECT& rect, UINT system_dpi, UINT window_dpi);

// The DPIs as this system reports them; 96 where it cannot tell (a system
// older than the calls).
UINT system_dpi();
UINT window_dpi(HWND window);
// The DPI of the monitor that holds most of `rect` (in system coordinates).
UINT dpi_at(const RECT& rect);

}  // namespace jukora
