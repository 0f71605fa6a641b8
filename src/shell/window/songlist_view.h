// SPDX-License-Identifier: GPL-3.0-or-later
// The grid of the main window: a table view of whole rows
// with one contiguous selection, reporting it as the Songlist's Row (the
// anchor) and RowSel (the moving end), and turning keys and mouse buttons
// into the grid's events. What it highlights is always the rows the keys act
// on: a click past the last row or column lands on the last one. Rows are
// counted from 1 as shown, which are the Songlist's rows unless a search
// hides some.
#pragma once

#include <QTableView>
#include <vector>

namespace jukora {

// The grid's key-down code of the Delete key.
inline constexpr int kGridKeyDelete = 46;

// Painted over a list that holds no song yet.
inline constexpr const char* kEmptyListHint = "Drop songs or folders here — right-click for the menu";

class SonglistView : public QTableView {
  Q_OBJECT

 public:
  explicit SonglistView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  // Ctrl+A: the rows are chosen by the window (every row shown, anchored at
  // the first), not by the view, whose cursor would stay inside the range.
  void selectAll() override;

  // Selects Songlist rows `row` (the anchor) to `row_sel`; row 0 or a row
  // past the end selects nothing. Reports nothing back.
  void show_selection(int row, int row_sel);
  // Selects the shown rows `rows` (ascending), the cursor on `row_sel` and
  // the anchor on `row`: the songs a cleared search leaves selected.
  void show_rows(const std::vector<int>& rows, int row, int row_sel);
  // The anchor and moving end as highlighted, in Songlist rows; 0 for none.
  std::pair<int, int> shown_selection() const;
  void scroll_to_row(int row);
  // Whether the list holds no song, so that the hint is painted over it.
  void set_empty(bool empty);
  // The width `column` needs for its widest text in the shown rows `first`
  // to `last`, as resizeColumnToContents measures it, and for its header.
  int text_width(int column, int first, int last);
  // How many rows the grid shows at its present height.
  int rows_per_page() const;
  // The width inside the grid that its columns may fill.
  int room() const;
  // The shown rows in view, first and last; {1, 0} for none.
  std::pair<int, int> rows_in_view() const;
  // The tooltip over the cell `index`: the cell's whole text when the
  // column cuts it, else the grid's own hint; then the row's odds line
  // while the "Chance %" column is shown.
  QString tooltip_at(const QModelIndex& index) const;

 signals:
  void rows_selected(int row, int row_sel);
  void select_all_requested();
  // Key codes as the grid knew them; only Delete is passed on.
  void key_down(int key_code, int shift);
  // A typed character, Enter as 13.
  void key_press(int key_ascii);
  void double_clicked();
  // The right button released over the grid, the Menu key or Shift+F10:
  // at the mouse, or below the selected row.
  void mode_menu_requested(const QPoint& global_position);

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event = nullptr) const override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  void report_selection();
  // Whether the column shows less than the whole text of `index`.
  bool cut(const QModelIndex& index) const;
  // Below the selected row, brought into view; the top left without one.
  QPoint menu_position();
  // Runs the view's own handler with the position moved onto the last row or
  // column when it lies past them.
  template <typename Handler>
  void within_cells(QMouseEvent* event, Handler handler);

  bool placing_ = false;
  bool empty_ = false;
};

}  // namespace jukora
