// SPDX-License-Identifier: GPL-3.0-or-later
// The Songlist's operations on songs named by SongRef, and on many rows at
// once: what changes and their undo steps are applied with.
#include <algorithm>
#include <functional>
#include <utility>

#include "songlist/song_row.h"
#include "songlist/songlist.h"

namespace jukora {

SongRef Songlist::song_at(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return {};
  const SongKey key = key_of(cells);
  SongRef song{std::string(key.directory), std::string(key.file)};
  if (!indexed_) build_index();
  std::uint32_t count = 0;
  index_.find(key, count);
  if (count > 1)
    for (int i = 1; i < row; ++i)
      if (key_of(at(i)) == key) ++song.copy;
  return song;
}

std::vector<int> Songlist::rows_of(std::span<const SongRef> songs) const {
  std::vector<int> rows(songs.size(), 0);
  if (!indexed_) build_index();
  // A song listed once is found by the address of its row, which the index
  // gives: the pass over the rows then compares addresses, not texts.
  std::vector<std::pair<const SongRow*, std::size_t>> once;
  std::vector<std::size_t> repeated;
  for (std::size_t i = 0; i < songs.size(); ++i) {
    std::uint32_t count = 0;
    const SongRow* cells = index_.find(SongKey{songs[i].directory, songs[i].file}, count);
    if (!cells || songs[i].copy < 0 || static_cast<std::uint32_t>(songs[i].copy) >= count) continue;
    if (count == 1) {
      once.emplace_back(cells, i);
    } else {
      repeated.push_back(i);
    }
  }
  const std::less<const SongRow*> before;
  std::sort(once.begin(), once.end(), [&](const auto& a, const auto& b) { return before(a.first, b.first); });
  if (!once.empty()) {
    for (std::size_t r = 0; r < rows_.size(); ++r) {
      const SongRow* cells = rows_[r].get();
      auto it = std::lower_bound(once.begin(), once.end(), cells,
                                 [&](const auto& entry, const SongRow* row) { return before(entry.first, row); });
      for (; it != once.end() && it->first == cells; ++it) rows[it->second] = static_cast<int>(r) + 1;
    }
  }
  for (std::size_t i : repeated) {
    const SongKey key{songs[i].directory, songs[i].file};
    int seen = 0;
    for (std::size_t r = 0; r < rows_.size() && rows[i] == 0; ++r)
      if (key_of(rows_[r].get()) == key && seen++ == songs[i].copy) rows[i] = static_cast<int>(r) + 1;
  }
  return rows;
}

void Songlist::remove_rows(std::span<const int> rows) {
  std::vector<const SongRow*> gone;
  for (int row : rows)
    if (const SongRow* cells = at(row)) gone.push_back(cells);
  if (gone.empty()) return;
  ++revision_;
  ++content_revision_;
  touch_all();
  const std::less<const SongRow*> before;
  std::sort(gone.begin(), gone.end(), before);
  // A few rows leave the index one by one; many make indexing anew cheaper.
  constexpr std::size_t kFewRows = 64;
  if (gone.size() <= kFewRows) {
    for (const SongRow* cells : gone) unindex(cells);
  } else {
    index_.clear();
    indexed_ = false;
  }
  std::erase_if(rows_, [&](const RowOwner& row) {
    return std::binary_search(gone.begin(), gone.end(), static_cast<const SongRow*>(row.get()), before);
  });
}

void Songlist::place_rows(std::span<const std::pair<int, int>> moves) {
  std::vector<std::pair<int, RowOwner>> moved;
  for (const auto& [row, wanted] : moves)
    if (at(row) && rows_[static_cast<std::size_t>(row - 1)]) moved.emplace_back(wanted, std::move(rows_[row - 1]));
  if (moved.empty()) return;
  ++revision_;
  ++content_revision_;
  touch_all();
  std::erase_if(rows_, [](const RowOwner& row) { return !row; });
  std::stable_sort(moved.begin(), moved.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<RowOwner> placed;
  placed.reserve(rows_.size() + moved.size());
  auto next = moved.begin();
  auto rest = rows_.begin();
  while (next != moved.end() || rest != rows_.end()) {
    const bool take_moved =
        next != moved.end() && (rest == rows_.end() || next->first <= static_cast<int>(placed.size()) + 1);
    placed.push_back(take_moved ? std::move((next++)->second) : std::move(*rest++));
  }
  rows_ = std::move(placed);
}

void Songlist::swap_rows(Songlist& other) {
  rows_.swap(other.rows_);
  std::swap(index_, other.index_);
  std::swap(indexed_, other.indexed_);
  for (Songlist* table : {this, &other}) {
    // Ids come from each table's own count: the rows that came over get
    // ones no row of this table ever had.
    for (const RowOwner& row : table->rows_) row->id = table->next_id_++;
    ++table->revision_;
    ++table->content_revision_;
    table->touch_all();
  }
}

}  // namespace jukora
