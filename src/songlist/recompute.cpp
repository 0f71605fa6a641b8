// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/recompute.h"

#include <string>

#include "platform/settings_keys.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/songlist.h"

namespace jukora {

void recompute_songlist(Songlist& songlist) {
  if (songlist.Rows() < 2) return;

  // Rows without a Directory go, but the last data row always stays.
  bool any_listed = false;
  for (int i = 1; i < songlist.Rows() && !any_listed; ++i)
    any_listed = !songlist.TextMatrix(i, col::kDirectory).empty();
  if (any_listed) {
    songlist.remove_rows_with_empty(col::kDirectory);
  } else {
    while (songlist.Rows() > 2) songlist.RemoveItem(songlist.Rows() - 1);
  }

  songlist.SetCol(col::kScore);
  songlist.SetColSel(col::kScore);
  int row = songlist.Row(), row_sel = songlist.RowSel();
  songlist.sort_by_score();
  songlist.SetRow(row);
  songlist.SetRowSel(row_sel);

  const int n = songlist.Rows() - 1;
  const int year = current_year();
  // Most cells already hold their value after a small change; rewriting
  // only the ones that differ keeps a recompute of a large list cheap.
  auto assign = [&songlist](int row, int col, std::string_view text) {
    if (songlist.TextMatrix(row, col) != text) songlist.SetTextMatrix(row, col, text);
  };
  std::string previous_score, rank;
  for (int i = 1; i <= n; ++i) {
    assign(i, col::kNumber, std::to_string(i));
    if (!is_numeric(songlist.TextMatrix(i, col::kScore))) songlist.SetTextMatrix(i, col::kScore, "0");
    if (!parse_hour_number(songlist.TextMatrix(i, col::kLastPlayed), year))
      songlist.SetTextMatrix(i, col::kLastPlayed, kNeverPlayed);
    std::string_view score = songlist.TextMatrix(i, col::kScore);
    // A run of equal Score texts shares the Rank % of its first row.
    if (i == 1 || score != previous_score) rank = rank_text(static_cast<double>(n - i + 1) / n * 100.0);
    previous_score.assign(score);
    assign(i, col::kRank, rank);
  }
}

void setup_grid(Songlist& songlist, const SettingsStore& settings) {
  for (int c = 0; c < kColumns; ++c) songlist.SetColWidth(c, read_column_width(settings, c));
  static constexpr const char* kHeaders[] = {"", "Directory", "File", "Score", "Rank %", "Mark", "Last Played"};
  for (int c = 0; c < kColumns; ++c) songlist.SetTextMatrix(0, c, kHeaders[c]);
}

}  // namespace jukora
