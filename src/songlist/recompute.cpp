// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/recompute.h"

#include <string>
#include <vector>

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
  const int row = songlist.Row(), row_sel = songlist.RowSel();

  const int n = songlist.Rows() - 1;
  const int year = current_year();
  // Every row is visited as the rows lie in memory, before they move: a
  // walk in score order over a list that was not in it waits on memory at
  // each row. The Score texts are kept to find the runs of equal scores.
  std::vector<std::string> scores(static_cast<std::size_t>(n));
  for (int i = 1; i <= n; ++i) {
    if (!is_numeric(songlist.TextMatrix(i, col::kScore))) songlist.SetTextMatrix(i, col::kScore, "0");
    if (!parse_hour_number(songlist.TextMatrix(i, col::kLastPlayed), year))
      songlist.SetTextMatrix(i, col::kLastPlayed, kNeverPlayed);
    scores[static_cast<std::size_t>(i - 1)].assign(songlist.TextMatrix(i, col::kScore));
  }
  const std::vector<int> order = songlist.score_order();
  // Where each row goes, and its Rank %: a run of equal Score texts shares
  // the Rank % of its first row.
  std::vector<int> place(static_cast<std::size_t>(n) + 1);
  std::vector<std::size_t> rank_of(static_cast<std::size_t>(n) + 1);
  std::vector<std::string> ranks;
  const std::string* previous_score = nullptr;
  for (int k = 1; k <= n; ++k) {
    const int from = order.empty() ? k : order[static_cast<std::size_t>(k - 1)];
    const std::string& score = scores[static_cast<std::size_t>(from - 1)];
    if (!previous_score || score != *previous_score)
      ranks.push_back(rank_text(static_cast<double>(n - k + 1) / n * 100.0));
    previous_score = &score;
    place[static_cast<std::size_t>(from)] = k;
    rank_of[static_cast<std::size_t>(from)] = ranks.size() - 1;
  }
  // Most cells already hold their value after a small change; rewriting
  // only the ones that differ keeps a recompute of a large list cheap.
  auto assign = [&songlist](int row, int col, std::string_view text) {
    if (songlist.TextMatrix(row, col) != text) songlist.SetTextMatrix(row, col, text);
  };
  for (int i = 1; i <= n; ++i) {
    assign(i, col::kNumber, std::to_string(place[static_cast<std::size_t>(i)]));
    assign(i, col::kRank, ranks[rank_of[static_cast<std::size_t>(i)]]);
  }
  songlist.reorder(order);
  songlist.SetRow(row);
  songlist.SetRowSel(row_sel);
}

void setup_grid(Songlist& songlist, const SettingsStore& settings) {
  for (int c = 0; c < kColumns; ++c) songlist.SetColWidth(c, read_column_width(settings, c));
  static constexpr const char* kHeaders[] = {"", "Directory", "File", "Score", "Rank %", "Mark", "Last Played"};
  for (int c = 0; c < kColumns; ++c) songlist.SetTextMatrix(0, c, kHeaders[c]);
}

}  // namespace jukora
