// SPDX-License-Identifier: GPL-3.0-or-later
// What the windows show and what their events ask for, as the program
// provides them: the rows of the grid, and the intents the window's events
// turn into. The windows keep nothing of the songlist themselves.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "songlist/songlist.h"

namespace jukora {

// After the grid's seven: each row's chance at Random's next pick, hidden
// until the person shows it from the header's menu.
inline constexpr int kChanceColumn = kColumns;

// The rows the grid shows, counted from 1 as shown (a search may hide some).
class GridRows {
 public:
  virtual ~GridRows() = default;
  virtual int rows_shown() const = 0;
  // The text of column 0 .. 6 of shown row `row`, or its chance in the
  // "Chance %" column.
  virtual std::string cell(int row, int column) const = 0;
  // The line a row's tooltip gives its odds in, while the "Chance %" column
  // is shown. The odds are worked out only when one of these is asked for.
  virtual std::string odds_line(int row) const = 0;
  // Whether shown row `row` holds the song the player is at: drawn bold.
  virtual bool playing(int row) const = 0;
  // Whether the list holds no song at all: the grid says how to fill it.
  virtual bool no_songs() const = 0;
  // "N of M songs" while a search narrows the list; empty otherwise.
  virtual std::string search_count() const = 0;
  // The selection as the program holds it: the anchor (Row) and the moving
  // end (RowSel) as shown rows, 0 for none.
  virtual int row() const = 0;
  virtual int row_sel() const = 0;
};

// What the main window's events ask of the program, by role. Rows are shown
// rows; every member is optional.
struct WindowIntents {
  // The user moved the selection: the anchor (Row) and the moving end (RowSel).
  std::function<void(int row, int row_sel)> select;
  // The score of every row Row..RowSel one up (+1) or down (-1).
  std::function<void(int step)> step_scores;
  std::function<void()> delete_rows;
  // The song of row Row played at once.
  std::function<void()> play_row;
  // Files and folders dropped on the grid, as the system names them.
  std::function<void(const std::vector<std::wstring>& paths)> drop;
  // The search field's text changed.
  std::function<void(const std::string& text)> search;
  std::function<void()> undo;
  std::function<void()> redo;
  // Ctrl+J: the song the player is at, selected and in view.
  std::function<void()> show_playing;
  // Every tick of tmrJukora.
  std::function<void()> tick;
};

}  // namespace jukora
