// SPDX-License-Identifier: GPL-3.0-or-later
// The search field of the button strip and its "N of M songs": what is
// typed goes to the session's search, which decides the rows shown; the
// field and its count show what the session announces.
#pragma once

#include <QObject>
#include <QRect>

class QLabel;
class QLineEdit;
class QWidget;

namespace jukora {

class Session;

class GridSearch : public QObject {
  Q_OBJECT

 public:
  // The field and its count are made children of `window`.
  GridSearch(Session& session, QWidget* window);

  QLineEdit& field() { return *field_; }
  QLabel& count() { return *count_; }

  // Lays the field out at the right end of `strip` and its count before
  // it; answers where the two begin.
  int place(const QRect& strip);

  // The count as the search is now; a search the session ended (a hidden
  // song became current) empties the field.
  void show_count();
  // Ends the search (Esc), leaving the same songs selected.
  void clear();

 signals:
  // Esc, Return or Down in the field: back to the grid.
  void leave_field();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& session_;
  QLineEdit* const field_;
  QLabel* const count_;
};

}  // namespace jukora
