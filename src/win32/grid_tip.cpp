// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/grid_tip.h"

#include <commctrl.h>

#include <utility>

namespace jukora {

namespace {

TTTOOLINFOW tool_of(HWND parent, HWND list, std::wstring& text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = text.data();
  return tool;
}

}  // namespace

GridTip::GridTip(HWND parent, HWND list, std::wstring text)
    : parent_(parent),
      list_(list),
      tip_(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, parent,
                           nullptr, nullptr, nullptr)),
      text_(std::move(text)) {
  TTTOOLINFOW tool = tool_of(parent_, list_, text_);
  SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void GridTip::dpi_changed(UINT dpi) {
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, static_cast<int>(dpi), 96));
}

bool GridTip::moved_to(POINT cell) {
  if (cell.x == cell_.x && cell.y == cell_.y) return false;
  cell_ = cell;
  return true;
}

void GridTip::say(std::wstring text) {
  if (text == text_) return;
  text_ = std::move(text);
  TTTOOLINFOW tool = tool_of(parent_, list_, text_);
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace jukora
