// SPDX-License-Identifier: GPL-3.0-or-later
// The grid of the main window (MSFlexGrid1): a report-view ListView in
// virtual mode, so that 100,000 rows cost nothing, with the songlist's seven
// columns. It keeps one contiguous selection, from the anchor (Row) to the
// moving end (RowSel): a click makes it one row (Ctrl too: never a second
// range), Shift with a click or the arrows extends it, Ctrl+A takes every
// row shown. It turns keys and the mouse into the grid's events. The
// "Chance %" column comes after the seven while it is shown.
#pragma once

#include <windows.h>
// The other system headers build on windows.h.
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "win32/grid_tip.h"

namespace jukora {

class GridRows;

// The grid's key-down code of the Delete key, and its shift argument (1
// Shift, 2 Ctrl, 4 Alt).
inline constexpr int kGridKeyDelete = 46;

inline constexpr const char* kGridToolTip =
    "Drop files or directories here.  Doubleclick a row to play.  Press + or - to increment or decrement a score.  "
    "Delete to delete an entry.  Right click to view the Mode menu.";
// Drawn over a list that holds no song yet.
inline constexpr const wchar_t* kEmptyListHint = L"Drop songs or folders here \x2014 right-click for the menu";

struct GridEvents {
  std::function<void(int row, int row_sel)> selected;
  // A typed character; Enter as 13.
  std::function<void(int key_ascii)> key_press;
  std::function<void(int key_code, int shift)> key_down;
  std::function<void()> double_click;
  // The right button released over the grid, the Menu key or Shift+F10: at
  // the mouse, or below the selected row (screen pixels).
  std::function<void(POINT at)> mode_menu;
  // The person sized a column (its divider dragged or double-clicked).
  std::function<void(int column, int px)> column_sized;
  // Other rows came into view.
  std::function<void()> scrolled;
  // The right button released over the header, or the Menu key there (screen pixels).
  std::function<void(POINT at)> header_menu;
};

class SonglistGrid {
 public:
  SonglistGrid(HWND parent, int id, const GridRows& rows, GridEvents events);
  SonglistGrid(const SonglistGrid&) = delete;
  SonglistGrid& operator=(const SonglistGrid&) = delete;

  HWND hwnd() const { return list_; }

  // The rows changed: their number, their texts, the playing row.
  void refresh();
  // Shows the selection Row..RowSel (shown rows; 0 for none), and brings the
  // moving end into view when `scroll`.
  void show_selection(int row, int row_sel, bool scroll);
  int row() const { return row_; }
  int row_sel() const { return row_sel_; }

  int column_width(int column) const;
  void set_column_width(int column, int px);
  // The width that shows the widest text of `column` in the rows on screen
  // whole; 0 with none.
  int text_width(int column) const;
  // The width that shows the header's text whole.
  int header_width(int column) const;
  // The width inside the grid that the seven columns share.
  int room() const;
  // The "Chance %" column shown `px` wide (0: as wide as its header), or hidden.
  void show_chance(bool shown, int px);
  bool chance_shown() const { return chance_shown_; }

  // The window's DPI changed: fonts and row heights follow.
  void dpi_changed(UINT dpi);

  // The ListView's notifications, as the parent receives them.
  LRESULT notify(NMHDR& header);

 private:
  static LRESULT CALLBACK subclass_proc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                        DWORD_PTR self);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam, bool& done);
  bool key_down(WPARAM key);
  // A click or a drag over `y` (client pixels) sets or extends the selection.
  void press_at(int y, bool extend);
  int row_at(int y) const;
  // The user chose rows `row` to `row_sel`.
  void choose(int row, int row_sel);
  // The item the ListView moved its focus to by itself (type-ahead).
  void adopt_focus();
  void apply_selection();
  void paint_hint();
  LRESULT custom_draw(NMLVCUSTOMDRAW& draw);
  int find_item(const NMLVFINDITEMW& find) const;
  POINT below_selection() const;
  // Over a cell cut short the tip is its whole text; elsewhere the manual;
  // the row's odds line after either while the "Chance %" column is shown.
  void tip_for(POINT at);
  int cell_width(const std::wstring& text) const;

  const GridRows& rows_;
  const GridEvents events_;
  HWND list_;
  std::unique_ptr<GridTip> tip_;
  int row_ = 0, row_sel_ = 0;
  // The rows shown selected now: none while top > bottom.
  int shown_top_ = 0, shown_bottom_ = -1;
  int count_ = 0;
  UINT dpi_ = 0;
  bool dragging_ = false;
  bool chance_shown_ = false;
};

}  // namespace jukora
