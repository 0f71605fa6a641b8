// SPDX-License-Identifier: GPL-3.0-or-later
// The grid's "Chance %" column: hidden until the person ticks it in the
// header's menu, which remembers it ("chance_column"); its width in twips
// under "fg_col7" like the grid's own columns, stored once it was shown.
#pragma once

#include <windows.h>

namespace jukora {

class SettingsStore;
class SonglistGrid;

class ChanceColumn {
 public:
  ChanceColumn(SonglistGrid& grid, SettingsStore& settings);

  // Shown or hidden as stored, at the stored width (twips at `dpi`).
  void load(UINT dpi);
  // The width, when the column is shown or was once.
  void save(UINT dpi);
  // The header's menu at `at` (screen pixels), owned by `window`: ticking
  // "Chance %" shows or hides the column, and keeps that.
  void menu(HWND window, POINT at);

 private:
  void show(bool shown, UINT dpi);

  SonglistGrid& grid_;
  SettingsStore& settings_;
  // The width while hidden; 0: the header's.
  double twips_;
};

}  // namespace jukora
