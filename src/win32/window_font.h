// SPDX-License-Identifier: GPL-3.0-or-later
// The system's font for windows made in code (the dialogs take theirs from
// their templates): the message font the user chose, at a monitor's DPI.
#pragma once

#include <windows.h>

namespace jukora {

// Kept for the life of the program, one per DPI; never deleted by callers.
HFONT message_font(UINT dpi, bool bold = false);
void use_message_font(HWND control, UINT dpi);

}  // namespace jukora
