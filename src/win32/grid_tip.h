// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's tooltip: over a cell cut short, the cell's whole text;
// elsewhere the grid's whole manual. While the "Chance %" column is shown a
// row's odds line follows.
#pragma once

#include <windows.h>

#include <string>

namespace jukora {

class GridTip {
 public:
  // The tip of `list`, a child of `parent`, saying `text` at first.
  GridTip(HWND parent, HWND list, std::wstring text);

  void dpi_changed(UINT dpi);
  // The mouse is over `cell` (item, column; -1 for none), and this is what
  // the tip says there. Nothing changes while the mouse stays in the cell.
  bool moved_to(POINT cell);
  void say(std::wstring text);

 private:
  HWND parent_, list_, tip_;
  std::wstring text_;
  POINT cell_{-1, -1};
};

}  // namespace jukora
