// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/songlist_rows.h"

#include <algorithm>

#include "session/session.h"
#include "songlist/paths.h"

namespace jukora {

SonglistRows::SonglistRows(Session& session) : session_(session), chances_(session.play_modes(), session.songlist()) {}

bool SonglistRows::searching() const { return session_.search_filter().active(); }

int SonglistRows::rows_shown() const {
  return searching() ? static_cast<int>(session_.search_filter().shown().size())
                     : std::max(0, session_.songlist().Rows() - 1);
}

int SonglistRows::data_row(int row) const {
  if (!searching()) return row;
  const auto& rows = session_.search_filter().shown();
  return row >= 1 && row <= static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row - 1)] : 0;
}

int SonglistRows::shown_row(int data_row) const {
  if (!searching() || data_row < 1) return data_row;
  const auto& rows = session_.search_filter().shown();
  const auto at = std::lower_bound(rows.begin(), rows.end(), data_row);
  return at != rows.end() && *at == data_row ? static_cast<int>(at - rows.begin()) + 1 : 0;
}

std::string SonglistRows::cell(int row, int column) const {
  if (column != kChanceColumn) return session_.songlist().TextMatrix(data_row(row), column);
  return chances_.chance_text(data_row(row));
}

std::string SonglistRows::odds_line(int row) const { return chances_.odds_line(data_row(row)); }

bool SonglistRows::playing(int row) const {
  const std::string& path = session_.playing().path();
  const int at = data_row(row);
  return !path.empty() && at >= 1 && session_.songlist().directory(at) == song_directory(path) &&
         session_.songlist().file(at) == get_file_name(path);
}

bool SonglistRows::no_songs() const { return session_.songlist().holds_no_song(); }

std::string SonglistRows::search_count() const {
  return searching() ? session_.search_filter().count_text() : std::string();
}

int SonglistRows::row() const { return shown_row(session_.songlist().Row()); }

int SonglistRows::row_sel() const { return shown_row(session_.songlist().RowSel()); }

void SonglistRows::select(int row, int row_sel) { session_.select(data_row(row), data_row(row_sel)); }

}  // namespace jukora
