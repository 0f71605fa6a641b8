// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window/songlist_model.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <algorithm>
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
  if (column == kChanceColumn) return Qt::AlignRight;
  static const std::array<Qt::Alignment, kColumns> alignments = parse_format(kGridFormat);
  if (column < 0 || column >= kColumns) return Qt::AlignLeft;
  return alignments[static_cast<std::size_t>(column)];
}

SonglistModel::SonglistModel(Songlist& songlist, SearchFilter& search, QObject* parent)
    : QAbstractTableModel(parent), songlist_(songlist), search_(search), shown_rows_(songlist.Rows() - 1) {}

int SonglistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shown_rows_; }

int SonglistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns + 1; }

void SonglistModel::set_odds_source(PlayModes& modes) { chances_.emplace(modes, songlist_); }

QVariant SonglistModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const bool fixed = index.column() == col::kNumber;
  const int row = data_row(index.row() + 1);
  if (row < 1) return {};
  if (index.column() == kChanceColumn && role == Qt::DisplayRole) {
    // A hidden column is asked for nothing, and works nothing out.
    if (!chances_ || !odds_shown_) return {};
    return text_of(chances_->chance_text(row));
  }
  switch (role) {
    case Qt::DisplayRole:
      // Folders and names are shown from the row itself: a field may hold megabytes.
      if (index.column() == col::kDirectory) return shown_text(songlist_.directory(row));
      if (index.column() == col::kFile) return shown_text(songlist_.file(row));
      return text_of(songlist_.TextMatrix(row, index.column()));
    case Qt::FontRole:
      if (row != playing_row()) return {};
      {
        QFont bold = QApplication::font();
        bold.setBold(true);
        return bold;
      }
    case Qt::DecorationRole:
      if (fixed && row == playing_row()) return QApplication::style()->standardIcon(QStyle::SP_MediaPlay);
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(column_alignment(index.column()) | Qt::AlignVCenter);
    case Qt::ToolTipRole:
      return QString::fromLatin1(kGridToolTip);
    case kOddsRole:
      if (chances_ && odds_shown_) return text_of(chances_->odds_line(row));
      return {};
    case Qt::BackgroundRole:
      if (fixed) return QApplication::palette().button();
      return {};
    case Qt::ForegroundRole:
      if (fixed) return QApplication::palette().buttonText();
      return {};
    default:
      return {};
  }
}

QVariant SonglistModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::DisplayRole)
    return section == kChanceColumn ? QStringLiteral("Chance %") : text_of(songlist_.TextMatrix(0, section));
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
  const bool filtered = search_.active();
  bool rows_changed = filtered != filtered_;
  if (filtered && (rows_changed || search_.shown() != rows_)) {
    rows_ = search_.shown();
    rows_changed = true;
  } else if (!filtered) {
    rows_.clear();
  }
  filtered_ = filtered;
  if (songlist_.revision() == shown_revision_ && !rows_changed) return;
  shown_revision_ = songlist_.revision();
  const int rows = filtered_ ? static_cast<int>(rows_.size()) : songlist_.Rows() - 1;
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
  if (rows > 0) emit dataChanged(index(0, 0), index(rows - 1, kColumns));
  emit headerDataChanged(Qt::Horizontal, 0, kColumns);
}

int SonglistModel::data_row(int row) const {
  if (!filtered_) return row;
  return row >= 1 && row <= static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row - 1)] : 0;
}

int SonglistModel::shown_row(int row) const {
  if (!filtered_) return row;
  const auto at = std::lower_bound(rows_.begin(), rows_.end(), row);
  return at != rows_.end() && *at == row ? static_cast<int>(at - rows_.begin()) + 1 : 0;
}

void SonglistModel::set_playing(const std::string& directory, const std::string& file) {
  if (directory == playing_directory_ && file == playing_file_) return;
  const int before = playing_row();
  playing_directory_ = directory;
  playing_file_ = file;
  playing_found_ = false;
  // Only the two rows change; a search may hide either.
  for (int row : {shown_row(before), shown_row(playing_row())})
    if (row >= 1 && row <= shown_rows_) emit dataChanged(index(row - 1, 0), index(row - 1, kColumns));
}

int SonglistModel::playing_row() const {
  if (playing_found_ && playing_revision_ == songlist_.revision()) return playing_row_;
  const int last = songlist_.Rows() - 1;
  playing_row_ =
      playing_directory_.empty() || last < 1 ? 0 : songlist_.find(playing_directory_, playing_file_, 1, last);
  playing_revision_ = songlist_.revision();
  playing_found_ = true;
  return playing_row_;
}

}  // namespace jukora
