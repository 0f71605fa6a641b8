// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's rows read from the session: every data row, or those its
// search shows; the selection kept as the Songlist's Row and RowSel.
#pragma once

#include <string>

#include "playmodes/chance_cache.h"
#include "win32/grid_rows.h"

namespace jukora {

class Session;

class SonglistRows : public GridRows {
 public:
  explicit SonglistRows(Session& session);

  int rows_shown() const override;
  std::string cell(int row, int column) const override;
  std::string odds_line(int row) const override;
  bool playing(int row) const override;
  bool no_songs() const override;
  std::string search_count() const override;
  int row() const override;
  int row_sel() const override;

  // The user chose shown rows `row` to `row_sel`.
  void select(int row, int row_sel);

 private:
  int data_row(int row) const;
  int shown_row(int data_row) const;
  bool searching() const;
  Session& session_;
  mutable ChanceCache chances_;
};

}  // namespace jukora
