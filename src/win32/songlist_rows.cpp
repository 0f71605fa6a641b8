// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/songlist_rows.h"

#include <algorithm>

#include "songlist/songlist.h"
#include "win32/search_fold.h"

namespace jukora {

SonglistRows::SonglistRows(Songlist& songlist) : songlist_(songlist), search_(fold_for_search) {}

const std::vector<int>& SonglistRows::shown() const { return search_.shown(songlist_); }

int SonglistRows::rows_shown() const {
  return search_.active() ? static_cast<int>(shown().size()) : std::max(0, songlist_.Rows() - 1);
}

int SonglistRows::data_row(int row) const {
  if (!search_.active()) return row;
  const auto& rows = shown();
  return row >= 1 && row <= static_cast<int>(rows.size()) ? rows[row - 1] : 0;
}

int SonglistRows::shown_row(int data_row) const {
  if (!search_.active() || data_row < 1) return data_row;
  const auto& rows = shown();
  const auto at = std::lower_bound(rows.begin(), rows.end(), data_row);
  return at != rows.end() && *at == data_row ? static_cast<int>(at - rows.begin()) + 1 : 0;
}

std::string SonglistRows::cell(int row, int column) const {
  return std::string(songlist_.TextMatrix(data_row(row), column));
}

bool SonglistRows::no_songs() const {
  return songlist_.Rows() < 2 || (songlist_.Rows() == 2 && songlist_.TextMatrix(1, col::kDirectory).empty());
}

std::string SonglistRows::search_count() const {
  if (!search_.active()) return {};
  return std::to_string(shown().size()) + " of " + std::to_string(std::max(0, songlist_.Rows() - 1)) + " songs";
}

int SonglistRows::row() const { return shown_row(songlist_.Row()); }

int SonglistRows::row_sel() const { return shown_row(songlist_.RowSel()); }

void SonglistRows::select(int row, int row_sel) {
  songlist_.SetRow(data_row(row));
  songlist_.SetRowSel(data_row(row_sel));
}

std::optional<ChosenRows> SonglistRows::chosen() const {
  if (!search_.active()) return std::nullopt;
  const int first = std::min(row(), row_sel()), last = std::max(row(), row_sel());
  ChosenRows chosen{{}, songlist_.Row()};
  for (int shown_at = std::max(first, 1); shown_at <= last; ++shown_at) chosen.rows.push_back(data_row(shown_at));
  return chosen;
}

}  // namespace jukora
