// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/tooltips.h"

#include <commctrl.h>

namespace jukora {

namespace {

// The tool is found by the control's window, and the tip follows the mouse
// over it without the parent relaying its messages. The control copies the
// text.
void send_tool(HWND tip, UINT message, HWND parent, HWND control, std::wstring& text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(tip, message, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

HWND make_tooltip(HWND owner, DWORD style) {
  return CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | style, 0, 0, 0, 0, owner, nullptr,
                         nullptr, nullptr);
}

void add_tip(HWND tip, HWND parent, HWND control, std::wstring text) {
  send_tool(tip, TTM_ADDTOOLW, parent, control, text);
}

void set_tip(HWND tip, HWND parent, HWND control, std::wstring text) {
  send_tool(tip, TTM_UPDATETIPTEXTW, parent, control, text);
}

}  // namespace jukora
