// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/import_preview_model.h"

#include <QBrush>
#include <QPalette>

#include "platform/app_folders.h"

namespace jukora {

namespace {

enum Column { kSong, kInList, kScoreNow, kRating, kScoreAfter, kLastPlayedAfter, kColumnCount };

QString local(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void ImportPreviewModel::set_plan(const ImportPlan* plan, ImportChoice choice) {
  beginResetModel();
  plan_ = plan;
  choice_ = choice;
  endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !plan_ ? 0 : static_cast<int>(plan_->songs.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
  if (!plan_ || !index.isValid() || index.row() >= rowCount()) return {};
  const PlannedSong& song = plan_->songs[static_cast<std::size_t>(index.row())];
  // Songs outside the choice stay in view, greyed: they keep their scores.
  // A later Last Played is taken all the same.
  const bool taken = plan_->applies_to(song, choice_) || index.column() == kLastPlayedAfter;
  if (role == Qt::ForegroundRole && !taken) return QPalette().brush(QPalette::Disabled, QPalette::Text);
  if (role == Qt::TextAlignmentRole && index.column() >= kScoreNow)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kSong:
      return local(join_path(song.directory, song.file));
    case kInList:
      return song.listed ? (song.untouched ? tr("listed, untouched") : tr("listed")) : tr("new");
    case kScoreNow:
      return song.listed ? local(song.score_now) : QString();
    case kRating:
      return QString::fromStdString(stars_text(song.half_stars));
    case kScoreAfter:
      return QString::number(song.score_after);
    case kLastPlayedAfter:
      return local(song.last_played_after);
    default:
      return {};
  }
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeaders[] = {"Song",   "In the list", "Score now",
                                         "Rating", "New score",   "Later Last Played"};
  return section >= 0 && section < kColumnCount ? tr(kHeaders[section]) : QVariant();
}

}  // namespace jukora
