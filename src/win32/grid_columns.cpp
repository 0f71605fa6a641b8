// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/grid_columns.h"

#include <algorithm>
#include <cmath>

#include "platform/settings_keys.h"
#include "session/column_fit.h"
#include "win32/songlist_grid.h"
#include "win32/twips.h"

namespace jukora {

void GridColumns::load(const SettingsStore& settings, UINT dpi) {
  for (int column = 0; column < kColumns; ++column)
    grid_.set_column_width(column, twips_to_px(read_column_width(settings, column), dpi));
  // A width never stored (or stored as nothing) counts as the default one.
  const auto weight = [&settings](int column) {
    const int twips = read_column_width(settings, column);
    return twips > 0 ? twips : kDefaultColumnWidth;
  };
  weights_ = {weight(col::kDirectory), weight(col::kFile)};
}

std::array<int, kColumns> GridColumns::twips(UINT dpi) const {
  std::array<int, kColumns> widths{};
  for (int column = 0; column < kColumns; ++column)
    widths[column] = static_cast<int>(std::lround(px_to_twips(grid_.column_width(column), dpi)));
  return widths;
}

void GridColumns::sized_by_hand(int column, int px) {
  if (column < 0 || column >= kColumns) return;
  held_[column] = true;
  held_width_[column] = px;
  // The proportion the person chose is the one Directory and File keep.
  if (column == col::kDirectory) weights_.first = px;
  if (column == col::kFile) weights_.second = px;
  fit();
}

void GridColumns::fit() {
  if (fitting_) return;
  fitting_ = true;
  ColumnNeeds needs;
  needs.directory_weight = weights_.first;
  needs.file_weight = weights_.second;
  for (int column = 0; column < kColumns; ++column) {
    needs.header[column] = grid_.header_width(column);
    needs.text[column] = grid_.text_width(column);
    if (column != col::kDirectory && column != col::kFile) {
      grown_[column] = std::max(grown_[column], needs.text[column]);
      needs.text[column] = grown_[column];
    }
    needs.held[column] = held_[column];
    needs.held_width[column] = held_width_[column];
  }
  const std::array<int, kColumns> widths = fit_columns(needs, grid_.room());
  for (int column = 0; column < kColumns; ++column)
    if (grid_.column_width(column) != widths[column]) grid_.set_column_width(column, widths[column]);
  fitting_ = false;
}

}  // namespace jukora
