// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's column widths: fitted to the rows on screen and the grid's
// width each time either changes, Directory and File sharing what the other
// columns leave in proportion to their stored widths; a column the person
// sized keeps that width. The settings keep twips, as before.
#pragma once

#include <windows.h>

#include <array>
#include <utility>

#include "songlist/songlist.h"

namespace jukora {

class SettingsStore;
class SonglistGrid;

class GridColumns {
 public:
  explicit GridColumns(SonglistGrid& grid) : grid_(grid) {}

  // The stored widths (twips at `dpi`), and Directory's and File's shares.
  void load(const SettingsStore& settings, UINT dpi);
  // The widths to store, in twips at `dpi`.
  std::array<int, kColumns> twips(UINT dpi) const;
  // The person sized `column` to `px`: it keeps that width from now on.
  void sized_by_hand(int column, int px);
  // Fits the columns to the rows on screen and the grid's width.
  void fit();

 private:
  SonglistGrid& grid_;
  std::pair<int, int> weights_{1, 1};
  std::array<bool, kColumns> held_{};
  std::array<int, kColumns> held_width_{};
  // The number columns only grow while the program runs, so that they do
  // not jump about as the list scrolls.
  std::array<int, kColumns> grown_{};
  bool fitting_ = false;
};

}  // namespace jukora
