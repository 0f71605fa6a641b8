// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/hours_box.h"

#include <commctrl.h>

namespace jukora {

namespace {

bool is_digit(wchar_t c) { return c >= L'0' && c <= L'9'; }

LRESULT CALLBACK hours_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_CHAR:
      if (!hours_char_passes(static_cast<wchar_t>(wparam))) return 0;
      break;
    case WM_PASTE: {
      const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
      std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
      text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
      DWORD caret = 0;
      SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
      const std::wstring digits = hours_digits(text, caret);
      if (digits != text) {
        SetWindowTextW(box, digits.c_str());
        SendMessageW(box, EM_SETSEL, caret, caret);
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, hours_proc, id);
      break;
  }
  return DefSubclassProc(box, message, wparam, lparam);
}

}  // namespace

bool hours_char_passes(wchar_t typed) {
  if (is_digit(typed)) return true;
  // Backspace (and Ctrl+Backspace, which types DEL) is a character like any
  // other non-digit; the rest below a space are the box's shortcuts.
  return typed < L' ' && typed != L'\b';
}

std::wstring hours_digits(std::wstring_view text, DWORD& caret) {
  std::wstring digits;
  const DWORD before = caret;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (is_digit(text[i]))
      digits += text[i];
    else if (i < before)
      --caret;
  }
  return digits;
}

void filter_hours_box(HWND box) { SetWindowSubclass(box, hours_proc, 1, 0); }

}  // namespace jukora
