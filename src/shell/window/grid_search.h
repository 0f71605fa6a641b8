// SPDX-License-Identifier: GPL-3.0-or-later
// The search field of the button strip and what it does to the grid: the
// rows shown narrowed to the songs holding every word typed, "N of M songs"
// beside it, and the selection kept in step. The songlist, its order and
// its file never change for it. While it narrows the grid, the keys act on
// the shown rows of the selection; a change that makes a hidden song current
// ends it; ending it leaves the same songs selected.
#pragma once

#include <QObject>
#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "songlist/chosen_rows.h"
#include "songlist/song_search.h"

class QLabel;
class QLineEdit;
class QWidget;

namespace jukora {

class Songlist;
class SonglistModel;

class GridSearch : public QObject {
  Q_OBJECT

 public:
  // The field and its count are made children of `window`.
  GridSearch(Songlist& songlist, SonglistModel& model, QWidget* window);

  QLineEdit& field() { return *field_; }
  QLabel& count() { return *count_; }
  bool active() const { return search_.active(); }

  // Lays the field out at the right end of `strip` and its count before
  // it; answers where the two begin.
  int place(const QRect& strip);

  // Before the grid is shown: the shown rows follow the list, and a change
  // that made a hidden song current ends the search.
  void follow();
  // The songs the keys and buttons act on when they are not the range
  // Row..RowSel: the shown rows between its ends, or the songs a cleared
  // search left selected.
  std::optional<ChosenRows> chosen();
  // The data rows shown while a search narrows the grid; null while the
  // whole list is shown.
  const std::vector<int>* shown_rows();
  // The songs a cleared search left selected, while they are; else null.
  const ChosenRows* picked() const { return picked_ ? &picked_->chosen : nullptr; }
  // The user chose other rows.
  void forget_picked() { picked_.reset(); }

  // After shown rows were deleted: the cursor on the row now shown at
  // `row` (counted from 1), or on the last.
  void keep_cursor_at(int row);
  // Data row `row` is about to be made current: a search that hides it ends.
  void reveal(int row);
  // Ends the search (Esc), leaving the same songs selected.
  void clear();

 signals:
  // The rows shown changed with the query: show them, the cursor in view.
  void refiltered();
  // Esc, Return or Down in the field: back to the grid.
  void leave_field();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Reads the field and shows what it finds.
  void refilter();
  // The search is over: every row is shown again, and shown rows that were
  // `selected` stay so.
  void end(const std::optional<ChosenRows>& selected);
  void show_count();

  struct Picked {
    ChosenRows chosen;
    std::uint64_t revision;
  };

  Songlist& songlist_;
  SonglistModel& model_;
  SongSearch search_;
  QLineEdit* const field_;
  QLabel* const count_;
  std::optional<Picked> picked_;
};

}  // namespace jukora
