// SPDX-License-Identifier: GPL-3.0-or-later
// Where a window may go: onto a monitor that is attached now, whatever the
// settings say (a monitor unplugged since, a size of nothing or of miles).
#pragma once

#include <windows.h>

#include "platform/settings_keys.h"

namespace jukora {

// `inner` grown by the frame of a window of `style` at `dpi`.
void adjust_for_frame(RECT& inner, DWORD style, UINT dpi);

// A window of this size in the middle of the primary monitor's work area.
RECT centred_on_primary(int width, int height);

// The stored place as an outer window rectangle on the monitor that shows
// most of it: no larger than its work area, not smaller than the least
// size, wholly on it. On no monitor at all: `design`'s place, at a
// size that fits.
RECT onto_a_monitor(const WindowPlace& stored, const RECT& design);

}  // namespace jukora
