// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/grid_tip.h"

#include <commctrl.h>

#include <utility>

#include "win32/tooltips.h"

namespace jukora {

GridTip::GridTip(HWND parent, HWND list, std::wstring text)
    : parent_(parent), list_(list), tip_(make_tooltip(parent, TTS_NOPREFIX)), text_(std::move(text)) {
  add_tip(tip_, parent_, list_, text_);
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
  set_tip(tip_, parent_, list_, text_);
}

}  // namespace jukora
