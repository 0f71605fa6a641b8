// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/row_deletion.h"

#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

void delete_rows(Songlist& songlist, SonglistFiles& files, const std::vector<int>& rows) {
  std::vector<int> data_rows;
  for (int row : rows)
    if (row >= 1 && row < songlist.Rows()) data_rows.push_back(row);
  if (!data_rows.empty()) files.apply(deletion_of_rows(songlist, data_rows));
}

}  // namespace jukora
