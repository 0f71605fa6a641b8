// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32/chance_column.h"

#include <algorithm>
#include <cmath>

#include "platform/settings_keys.h"
#include "win32/grid_rows.h"
#include "win32/songlist_grid.h"
#include "win32/twips.h"

namespace jukora {

ChanceColumn::ChanceColumn(SonglistGrid& grid, SettingsStore& settings) : grid_(grid), settings_(settings), twips_(0) {}

void ChanceColumn::load(UINT dpi) {
  // Never sized, the column is as wide as its header.
  twips_ =
      column_width_stored(settings_, kChanceColumn) ? std::max(0, +read_column_width(settings_, kChanceColumn)) : 0;
  show(read_chance_column(settings_), dpi);
}

void ChanceColumn::save(UINT dpi) {
  if (grid_.chance_shown()) twips_ = px_to_twips(grid_.column_width(kChanceColumn), dpi);
  const int twips = static_cast<int>(std::lround(twips_));
  if ((grid_.chance_shown() || column_width_stored(settings_, kChanceColumn)) &&
      twips != read_column_width(settings_, kChanceColumn))
    save_column_width(settings_, kChanceColumn, twips);
}

void ChanceColumn::show(bool shown, UINT dpi) {
  // A width the person dragged to nothing is not kept.
  if (grid_.chance_shown() && grid_.column_width(kChanceColumn) > 0)
    twips_ = px_to_twips(grid_.column_width(kChanceColumn), dpi);
  grid_.show_chance(shown, twips_to_px(twips_, dpi));
}

void ChanceColumn::menu(HWND window, POINT at) {
  constexpr UINT kChanceItem = 1;
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING | (grid_.chance_shown() ? MF_CHECKED : MF_UNCHECKED), kChanceItem, L"Chance %");
  const UINT chosen =
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr);
  DestroyMenu(popup);
  if (chosen != kChanceItem) return;
  show(!grid_.chance_shown(), window_dpi(window));
  save_chance_column(settings_, grid_.chance_shown());
}

}  // namespace jukora
