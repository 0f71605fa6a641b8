// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/recompute.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/settings_keys.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// Row numbers, Score and Last Played repaired, over rows `first` to `last`.
void number_and_repair(Songlist& songlist, int first, int last, int year) {
  for (int i = first; i <= last; ++i) {
    // Most cells already hold their value after a small change; rewriting
    // only the ones that differ keeps a recompute of a large list cheap.
    const std::string number = std::to_string(i);
    if (songlist.TextMatrix(i, col::kNumber) != number) songlist.SetTextMatrix(i, col::kNumber, number);
    if (!is_numeric(songlist.TextMatrix(i, col::kScore))) songlist.SetTextMatrix(i, col::kScore, "0");
    if (!parse_hour_number(songlist.TextMatrix(i, col::kLastPlayed), year))
      songlist.SetTextMatrix(i, col::kLastPlayed, kNeverPlayed);
  }
}

// Rank % over rows `first` to `last` of `n`, `first` being the first row of
// its run of equal Score texts: a run shares the Rank % of its first row.
void rank(Songlist& songlist, int first, int last, int n) {
  std::string previous_score, text;
  for (int i = first; i <= last; ++i) {
    std::string_view score = songlist.TextMatrix(i, col::kScore);
    if (i == first || score != previous_score) text = rank_text(static_cast<double>(n - i + 1) / n * 100.0);
    previous_score.assign(score);
    if (songlist.TextMatrix(i, col::kRank) != text) songlist.SetTextMatrix(i, col::kRank, text);
  }
}

bool same_score(const Songlist& songlist, int a, int b) {
  return songlist.TextMatrix(a, col::kScore) == songlist.TextMatrix(b, col::kScore);
}

// The whole table: after a load, rows added or removed, or another list.
void recompute_all(Songlist& songlist) {
  // Rows without a Directory go, but the last data row always stays.
  bool any_listed = false;
  for (int i = 1; i < songlist.Rows() && !any_listed; ++i)
    any_listed = !songlist.TextMatrix(i, col::kDirectory).empty();
  if (any_listed) {
    songlist.remove_rows_with_empty(col::kDirectory);
  } else {
    while (songlist.Rows() > 2) songlist.RemoveItem(songlist.Rows() - 1);
  }
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
}

// Rows `first` to `last` changed and no row came or went: only they, the
// rows the sort moves, and the rows after them whose run of equal scores
// now starts elsewhere need work.
void recompute_near(Songlist& songlist, int first, int last) {
  const int n = songlist.Rows() - 1;
  const auto [moved_first, moved_last] = songlist.sort_by_score(first, last);
  if (moved_first <= moved_last) {
    first = std::min(first, moved_first);
    last = std::max(last, moved_last);
  }
  number_and_repair(songlist, first, last, current_year());
  // A row before `first` keeps its place and its run's first row, so its
  // Rank % is right: a run reaching into the changed rows goes on with it.
  if (first > 1 && same_score(songlist, first - 1, first)) {
    const std::string text(songlist.TextMatrix(first - 1, col::kRank));
    for (; first <= last && same_score(songlist, first - 1, first); ++first)
      if (songlist.TextMatrix(first, col::kRank) != text) songlist.SetTextMatrix(first, col::kRank, text);
  }
  if (first <= last) rank(songlist, first, last, n);
  // The rows after the changed ones had one Rank % in their run: once the
  // first of them shows the run's Rank % now, the rest do too.
  const std::string text(songlist.TextMatrix(last, col::kRank));
  for (int i = last + 1; i <= n && same_score(songlist, i - 1, i); ++i) {
    if (songlist.TextMatrix(i, col::kRank) == text) break;
    songlist.SetTextMatrix(i, col::kRank, text);
  }
}

}  // namespace

void recompute_songlist(Songlist& songlist) {
  if (songlist.Rows() < 2) return;
  songlist.SetCol(col::kScore);
  songlist.SetColSel(col::kScore);
  // The sort leaves the cursor's index as it is, so it may show another song.
  const int row = songlist.Row(), row_sel = songlist.RowSel();
  const Songlist::Changed changed = songlist.changed_since_recompute();
  bool near = !changed.all;
  for (int i = changed.first; near && i <= changed.last; ++i) near = !songlist.TextMatrix(i, col::kDirectory).empty();
  if (near) {
    if (changed.first <= changed.last)
      recompute_near(songlist, changed.first, std::min(changed.last, songlist.Rows() - 1));
  } else {
    recompute_all(songlist);
  }
  songlist.SetRow(row);
  songlist.SetRowSel(row_sel);
  songlist.recomputed();
}

void setup_grid(Songlist& songlist, const SettingsStore& settings) {
  for (int c = 0; c < kColumns; ++c) songlist.SetColWidth(c, read_column_width(settings, c));
  static constexpr const char* kHeaders[] = {"", "Directory", "File", "Score", "Rank %", "Mark", "Last Played"};
  for (int c = 0; c < kColumns; ++c) songlist.SetTextMatrix(0, c, kHeaders[c]);
}

}  // namespace jukora
