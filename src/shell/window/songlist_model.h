// SPDX-License-Identifier: GPL-3.0-or-later
// The Songlist as a Qt table model: the header row becomes the horizontal
// header, column 0 (the row numbers) is drawn like a fixed column, and the
// columns are aligned by the grid's format string. The session changes the
// Songlist; sync() tells the views afterwards. While the session's search
// is active only the rows it shows are shown; the row of the song the player
// is at is marked.
#pragma once

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

#include "playmodes/chance_cache.h"
#include "session/search_filter.h"
#include "songlist/songlist.h"

namespace jukora {

class PlayModes;

// The grid's tooltip: its whole user manual.
inline constexpr const char* kGridToolTip =
    "Drop files or directories here.  Doubleclick a row to play.  Press + or - to increment or decrement a score.  "
    "Delete to delete an entry.  Right click to view the Mode menu.";

// After the grid's seven: each row's chance at Random's next pick, hidden
// until the person shows it from the header's menu.
inline constexpr int kChanceColumn = kColumns;

// A row's odds line for its tooltips, while the "Chance %" column is shown.
inline constexpr int kOddsRole = Qt::UserRole + 1;

// The alignment of a column as the format string gives it.
Qt::Alignment column_alignment(int column);

class SonglistModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  SonglistModel(Songlist& songlist, SearchFilter& search, QObject* parent = nullptr);

  // Where the "Chance %" column and the tooltips' odds line come from. The
  // odds are worked out only when one of them is asked for.
  void set_odds_source(PlayModes& modes);
  // The tooltips carry the odds line while the "Chance %" column is shown.
  void show_odds(bool shown) { odds_shown_ = shown; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Brings the views up to date with the Songlist and the search after the
  // session ran.
  void sync();

  bool filtered() const { return filtered_; }
  const std::vector<int>& rows_shown() const { return rows_; }
  // Shown rows count from 1, as the Songlist's do. The data row shown at
  // `row`, 0 for none; the shown row of data row `row`, 0 when it is hidden.
  int data_row(int row) const;
  int shown_row(int row) const;

  // The song the player is at (empty: none), marked in bold with an icon
  // wherever it stands.
  void set_playing(const std::string& directory, const std::string& file);
  // Its data row, 0 when it is not listed.
  int playing_row() const;

  Songlist& songlist() { return songlist_; }

 private:
  Songlist& songlist_;
  SearchFilter& search_;
  int shown_rows_ = 0;
  std::uint64_t shown_revision_ = 0;
  std::vector<int> rows_;
  bool filtered_ = false;
  std::string playing_directory_, playing_file_;
  mutable int playing_row_ = 0;
  mutable std::uint64_t playing_revision_ = 0;
  mutable bool playing_found_ = false;
  mutable std::optional<ChanceCache> chances_;
  bool odds_shown_ = false;
};

}  // namespace jukora
