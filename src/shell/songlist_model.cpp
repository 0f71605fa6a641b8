#include "shell/songlist_model.h"

namespace jukora {

SonglistModel::SonglistModel(Songlist& songlist, QObject* parent)
    : QAbstractTableModel(parent), songlist_(songlist), shown_rows_(songlist.Rows() - 1) {}

int SonglistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_rows_; }

int SonglistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant SonglistModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) {
    std::string_view text = songlist_.TextMatrix(index.row() + 1, index.column());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  if (role == Qt::TextAlignmentRole) {
    bool right = index.column() >= col::kScore && index.column() <= col::kMark;
    return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  return {};
}

QVariant SonglistModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  std::string_view text = songlist_.TextMatrix(0, section);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SonglistModel::sync() {
  if (songlist_.revision() == shown_revision_) return;
  shown_revision_ = songlist_.revision();
  int rows = songlist_.Rows() - 1;
  // The Songlist has already changed; announce the difference in row count
  // and then repaint every cell.
  if (rows > shown_rows_) {
    beginInsertRows({}, shown_rows_, rows - 1);
    shown_rows_ = rows;
    endInsertRows();
  } else if (rows < shown_rows_) {
    beginRemoveRows({}, rows, shown_rows_ - 1);
    shown_rows_ = rows;
    endRemoveRows();
  }
  if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, kColumns - 1));
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

}  // namespace jukora
