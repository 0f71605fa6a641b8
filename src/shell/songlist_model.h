// SPDX-License-Identifier: GPL-3.0-or-later
// The Songlist as a Qt table model: the header row becomes the horizontal
// header, column 0 (the row numbers) is drawn like a fixed column, and the
// columns are aligned by the grid's format string. Behaviour changes the
// Songlist directly; sync() tells the views afterwards.
#pragma once

#include <QAbstractTableModel>

#include "songlist/songlist.h"

namespace jukora {

// The grid's tooltip: its whole user manual.
inline constexpr const char* kGridToolTip =
    "Drop files or directories here.  Doubleclick a row to play.  Press + or - to increment or decrement a score.  "
    "Delete to delete an entry.  Right click to view the Mode menu.";

// The alignment of a column as the format string gives it.
Qt::Alignment column_alignment(int column);

class SonglistModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SonglistModel(Songlist& songlist, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Brings the views up to date with the Songlist after behaviour ran.
  void sync();

  Songlist& songlist() { return songlist_; }

 private:
  Songlist& songlist_;
  int shown_rows_ = 0;
  std::uint64_t shown_revision_ = 0;
};

}  // namespace jukora
