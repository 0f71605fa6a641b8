// SPDX-License-Identifier: GPL-3.0-or-later
// The Preferences' hours box takes digits only. A typed character passes when
// it is a digit; every other one is dropped, Backspace too (Delete, and
// selecting and typing over, still edit the box). The box's own shortcuts,
// which arrive as control characters (Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z,
// Ctrl+A), keep working; what a paste brings in is filtered like typing.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace jukora {

bool hours_char_passes(wchar_t typed);

// `text` with its non-digits taken out; `caret` moves back by those before it.
std::wstring hours_digits(std::wstring_view text, DWORD& caret);

// Makes the edit control `box` filter as above.
void filter_hours_box(HWND box);

}  // namespace jukora
