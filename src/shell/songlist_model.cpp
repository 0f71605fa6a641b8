// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/songlist_model.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>
#include <string_view>

#include "shell/local_text.h"
#include "songlist/recompute.h"

namespace jukora {

namespace {

QString text_of(std::string_view text) { return qt_text(text); }

// More characters than the widest screen holds in a column. Qt measures the
// whole text of a cell to elide it, so a field of megabytes is cut here first.
constexpr std::size_t kMostShownBytes = 512;

QString shown_text(std::string_view text) {
  if (text.size() <= kMostShownBytes) return text_of(text);
  std::size_t cut = kMostShownBytes;
  // Never in the middle of a character's bytes.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text_of(text.substr(0, cut)) + QChar(0x2026);
}

std::array<Qt::Alignment, kColumns> parse_format(std::string_view format) {
  std::array<Qt::Alignment, kColumns> alignments;
  alignments.fill(Qt::AlignLeft);
  int column = 0;
  for (char c : format) {
    if (c == '|') {
      if (++column == kColumns) break;
    } else if (c == '>') {
      alignments[static_cast<std::size_t>(column)] = Qt::AlignRight;
    } else if (c == '^') {
      alignments[static_cast<std::size_t>(column)] = Qt::AlignHCenter;
    }
  }
  return alignments;
}

}  // namespace

Qt::Alignment column_alignment(int column) {
  static const std::array<Qt::Alignment, kColumns> alignments = parse_format(kGridFormat);
  if (column < 0 || column >= kColumns) return Qt::AlignLeft;
  return alignments[static_cast<std::size_t>(column)];
}

SonglistModel::SonglistModel(Songlist& songlist, QObject* parent)
    : QAbstractTableModel(parent), songlist_(songlist), shown_rows_(songlist.Rows() - 1) {}

int SonglistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_rows_; }

int SonglistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant SonglistModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const bool fixed = index.column() == col::kNumber;
  switch (role) {
    case Qt::DisplayRole:
      return shown_text(songlist_.TextMatrix(index.row() + 1, index.column()));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(column_alignment(index.column()) | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      return QString::fromLatin1(kGridToolTip);
    case Qt::BackgroundRole:
      if (fixed) return QGuiApplication::palette().button();
      return {};
    case Qt::ForegroundRole:
      if (fixed) return QGuiApplication::palette().buttonText();
      return {};
    default:
      return {};
  }
}

QVariant SonglistModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole) return text_of(songlist_.TextMatrix(0, section));
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column_alignment(section) | Qt::AlignVCenter);
  if (role == Qt::ToolTipRole) return QString::fromLatin1(kGridToolTip);
  return {};
}

Qt::ItemFlags SonglistModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // The row numbers are part of the frame, never of the selection.
  if (index.column() == col::kNumber) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
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
