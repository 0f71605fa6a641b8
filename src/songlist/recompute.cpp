// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/recompute.h"

#include <algorithm>
#include <string>
#include <vector>

#include "songlist/numbers.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

// Makes a Score that is no number 0, and a Last Played that is no date a song never played.
void repair(Songlist& songlist, int row) {
  if (!songlist.score(row).numeric()) songlist.set_score(row, Score(0));
  if (!songlist.last_played(row).is_date()) songlist.set_last_played(row, LastPlayed());
}

// Most cells already hold their value after a small change; rewriting only
// the ones that differ keeps a recompute of a large list cheap.
void number(Songlist& songlist, int row, int number) {
  if (songlist.number(row) != number) songlist.set_number(row, number);
}
void rank(Songlist& songlist, int row, std::optional<int> hundredths) {
  if (songlist.rank(row) != hundredths) songlist.set_rank(row, hundredths);
}

int rank_at(int i, int n) { return static_cast<int>(rank_hundredths(static_cast<double>(n - i + 1) / n * 100.0)); }

// Row numbers, Score and Last Played repaired, over rows `first` to `last`.
void number_and_repair(Songlist& songlist, int first, int last) {
  for (int i = first; i <= last; ++i) {
    number(songlist, i, i);
    repair(songlist, i);
  }
}

// Rank % over rows `first` to `last` of `n`, `first` being the first row of
// its run of equal Score texts: a run shares the Rank % of its first row.
void rank_rows(Songlist& songlist, int first, int last, int n) {
  int hundredths = 0;
  for (int i = first; i <= last; ++i) {
    if (i == first || !songlist.same_score_text(i - 1, i)) hundredths = rank_at(i, n);
    rank(songlist, i, hundredths);
  }
}

// The whole table: after a load, rows added or removed, or another list.
void recompute_all(Songlist& songlist) {
  // Rows without a Directory go, but the last data row always stays.
  bool any_listed = false;
  for (int i = 1; i < songlist.Rows() && !any_listed; ++i) any_listed = songlist.is_song(i);
  if (any_listed) {
    songlist.remove_rows_with_empty(col::kDirectory);
  } else {
    while (songlist.Rows() > 2) songlist.RemoveItem(songlist.Rows() - 1);
  }
  const int n = songlist.Rows() - 1;
  // Every row is visited as the rows lie in memory, before they move: a
  // walk in score order over a list that was not in it waits on memory at
  // each row.
  for (int i = 1; i <= n; ++i) repair(songlist, i);
  const std::vector<int> order = songlist.score_order();
  // Where each row goes, and its Rank %: a run of equal Score texts shares
  // the Rank % of its first row.
  std::vector<int> place(static_cast<std::size_t>(n) + 1);
  std::vector<int> rank_of(static_cast<std::size_t>(n) + 1);
  int previous = 0, hundredths = 0;
  for (int k = 1; k <= n; ++k) {
    const int from = order.empty() ? k : order[static_cast<std::size_t>(k - 1)];
    if (previous == 0 || !songlist.same_score_text(previous, from)) hundredths = rank_at(k, n);
    previous = from;
    place[static_cast<std::size_t>(from)] = k;
    rank_of[static_cast<std::size_t>(from)] = hundredths;
  }
  for (int i = 1; i <= n; ++i) {
    number(songlist, i, place[static_cast<std::size_t>(i)]);
    rank(songlist, i, rank_of[static_cast<std::size_t>(i)]);
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
  number_and_repair(songlist, first, last);
  // A row before `first` keeps its place and its run's first row, so its
  // Rank % is right: a run reaching into the changed rows goes on with it.
  if (first > 1 && songlist.same_score_text(first - 1, first)) {
    const std::optional<int> shared = songlist.rank(first - 1);
    for (; first <= last && songlist.same_score_text(first - 1, first); ++first) rank(songlist, first, shared);
  }
  if (first <= last) rank_rows(songlist, first, last, n);
  // The rows after the changed ones had one Rank % in their run: once the
  // first of them shows the run's Rank % now, the rest do too.
  const std::optional<int> shared = songlist.rank(last);
  for (int i = last + 1; i <= n && songlist.same_score_text(i - 1, i); ++i) {
    if (songlist.rank(i) == shared) break;
    songlist.set_rank(i, shared);
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
  for (int i = changed.first; near && i <= changed.last; ++i) near = songlist.is_song(i);
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

void setup_grid(Songlist& songlist) {
  static constexpr const char* kHeaders[] = {"", "Directory", "File", "Score", "Rank %", "Mark", "Last Played"};
  for (int c = 0; c < kColumns; ++c) songlist.SetTextMatrix(0, c, kHeaders[c]);
}

}  // namespace jukora
