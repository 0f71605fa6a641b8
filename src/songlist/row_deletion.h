// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting rows from the list: one change, however many rows, saved once
// and undone as one step.
#pragma once

#include <vector>

namespace jukora {

class Songlist;
class SonglistFiles;

// Deletes data rows `rows` (the only data row is blanked instead),
// recomputes and saves; the list ends as it would after deleting them one
// by one from the bottom up, each followed by a recompute. Rows outside the
// data rows are ignored; with none left nothing happens.
void delete_rows(Songlist& songlist, SonglistFiles& files, const std::vector<int>& rows);

}  // namespace jukora
