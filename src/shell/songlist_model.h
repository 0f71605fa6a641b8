// The Songlist as a Qt table model: row 0 is the header, data rows follow.
// Behaviour changes the Songlist directly; sync() tells the views afterwards.
#pragma once

#include <QAbstractTableModel>

#include "songlist/songlist.h"

namespace jukora {

class SonglistModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SonglistModel(Songlist& songlist, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Brings the views up to date with the Songlist after behaviour ran.
  void sync();

  Songlist& songlist() { return songlist_; }

 private:
  Songlist& songlist_;
  int shown_rows_ = 0;
  std::uint64_t shown_revision_ = 0;
};

}  // namespace jukora
