// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's rows read from the Songlist: every data row, or those a search
// shows; the selection kept as the Songlist's Row and RowSel.
#pragma once

#include <optional>
#include <string>

#include "songlist/chosen_rows.h"
#include "songlist/song_search.h"
#include "win32/grid_rows.h"

namespace jukora {

class Songlist;

class SonglistRows : public GridRows {
 public:
  explicit SonglistRows(Songlist& songlist);

  int rows_shown() const override;
  std::string cell(int row, int column) const override;
  bool playing(int) const override { return false; }
  bool no_songs() const override;
  std::string search_count() const override;
  int row() const override;
  int row_sel() const override;

  // The user chose shown rows `row` to `row_sel`.
  void select(int row, int row_sel);
  void set_query(const std::string& text) { search_.set_query(text); }
  // While a search narrows the list: the shown rows between the ends of the
  // selection, which the keys act on.
  std::optional<ChosenRows> chosen() const;

 private:
  int data_row(int row) const;
  int shown_row(int data_row) const;
  const std::vector<int>& shown() const;

  Songlist& songlist_;
  mutable SongSearch search_;
};

}  // namespace jukora
