// SPDX-License-Identifier: GPL-3.0-or-later
// Tooltip controls: one per window that has tips, and a tool in it for each
// control that shows one.
#pragma once

#include <windows.h>

#include <string>

namespace jukora {

// A tooltip control owned by `owner`; `style` adds to the popup's own.
HWND make_tooltip(HWND owner, DWORD style);
// `control`, a child of `parent`, says `text` in `tip`.
void add_tip(HWND tip, HWND parent, HWND control, std::wstring text);
// What `control` says in `tip` from now on.
void set_tip(HWND tip, HWND parent, HWND control, std::wstring text);

}  // namespace jukora
