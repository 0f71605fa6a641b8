// SPDX-License-Identifier: GPL-3.0-or-later
// The songlist table: header row 0 and data rows 1 .. Rows() - 1 of seven
// text cells, with the grid's cursor and column widths. It keeps an index of
// (Directory, File) so that "is this song listed?" costs O(1) at any size.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "songlist/song_index.h"
#include "songlist/song_ref.h"

namespace jukora {

namespace col {
inline constexpr int kNumber = 0;
inline constexpr int kDirectory = 1;
inline constexpr int kFile = 2;
inline constexpr int kScore = 3;
inline constexpr int kRank = 4;
inline constexpr int kMark = 5;
inline constexpr int kLastPlayed = 6;
}  // namespace col

inline constexpr int kColumns = 7;

class Songlist {
 public:
  Songlist();
  ~Songlist();
  Songlist(const Songlist&) = delete;
  Songlist& operator=(const Songlist&) = delete;

  // Rows including the header row.
  int Rows() const { return static_cast<int>(rows_.size()) + 1; }

  // Out-of-range cells read as empty and ignore writes. A view is valid until
  // the next change of that row.
  std::string_view TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, std::string_view text);

  // The cells a songlist file keeps of data row `row`, read at once, and
  // whether any cell of the row holds a double quote: the save reads every
  // row this way.
  struct StoredCells {
    std::string_view directory, file, score, last_played;
    bool quoted = false;
  };
  StoredCells stored_cells(int row) const;

  // Appends a row from tab-separated cells, column 0 first.
  void AddItem(std::string_view text);
  // Appends a row from its cells, which may hold tabs; missing cells stay empty.
  void add_cells(std::initializer_list<std::string_view> cells);
  // Removes data row `row`; the rows below move up.
  void RemoveItem(int row);
  // Removes every data row (back to the header row alone).
  void Clear();

  // The current cell and the other corner of the selection. Setting Row or
  // Col makes the selection that single row or column.
  int Row() const { return row_; }
  int Col() const { return col_; }
  int RowSel() const { return row_sel_; }
  int ColSel() const { return col_sel_; }
  void SetRow(int row) { row_ = row_sel_ = row; }
  void SetCol(int col) { col_ = col_sel_ = col; }
  void SetRowSel(int row) { row_sel_ = row; }
  void SetColSel(int col) { col_sel_ = col; }

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);

  // Stable sort of the data rows by Score, numerically descending; text that
  // is not a number sorts as 0.
  void sort_by_score();
  // The order sort_by_score would put the data rows in: entry k holds the
  // row that comes (k + 1)-th. Empty when they are in that order already.
  std::vector<int> score_order() const;
  // Puts the data rows in `order`, a permutation of 1 .. Rows() - 1, as
  // score_order gives it; an empty order leaves them as they are.
  void reorder(const std::vector<int>& order);
  // The same when only rows `first` to `last` may be out of order, as after
  // a change of their scores: the work is near them. Gives the rows that
  // moved (first > last: none).
  std::pair<int, int> sort_by_score(int first, int last);

  // The rows changed since the last recompute (a Mark aside): all of them
  // when rows came or went or another list took their place, else rows
  // `first` to `last` (none when first > last).
  struct Changed {
    bool all = true;
    int first = std::numeric_limits<int>::max();
    int last = 0;
  };
  Changed changed_since_recompute() const { return changed_; }
  // The recompute has made every row what it must be.
  void recomputed() { changed_ = {false}; }

  // Removes every data row whose cell `col` is empty, in one pass.
  void remove_rows_with_empty(int col);

  // A song is the same song under either spelling of a drive root (folder_key).
  bool contains(std::string_view directory, std::string_view file) const;
  // The first row in [from, to] (stepping up or down) holding the song; 0 if none.
  int find(std::string_view directory, std::string_view file, int from, int to) const;

  // The song at data row `row` (an empty one outside the data rows).
  SongRef song_at(int row) const;
  // The data row holding each song, 0 for a song not listed: one pass over
  // the rows, however many songs are asked for.
  std::vector<int> rows_of(std::span<const SongRef> songs) const;
  // Removes these data rows at once; rows outside are ignored.
  void remove_rows(std::span<const int> rows);
  // Moves each (row, wanted row) pair's row to its wanted place; the other
  // rows keep their order around them. Wanted places past the end go last.
  void place_rows(std::span<const std::pair<int, int>> moves);
  // Exchanges the data rows with `other`'s; the header, the column widths
  // and the cursor stay with each table.
  void swap_rows(Songlist& other);

  // Bumped by every change, so a view can tell whether it must refresh.
  std::uint64_t revision() const { return revision_; }
  // Bumped only by changes a save would write: a stored cell (Directory,
  // File, Score, Last Played), rows added, removed or put in another order.
  std::uint64_t content_revision() const { return content_revision_; }

 private:
  // The seven cells of one data row packed into one buffer, which lives in
  // the same allocation as the row unless the row has outgrown it.
  class RowCells {
   public:
    struct Free {
      void operator()(RowCells* row) const;
    };
    using Owner = std::unique_ptr<RowCells, Free>;

    // A row of these cells, the missing ones empty, with room to grow.
    static Owner make(std::span<const std::string_view> cells);
    RowCells(const RowCells&) = delete;
    RowCells& operator=(const RowCells&) = delete;

    std::string_view get(int col) const;
    void set(int col, std::string_view text);
    // Whether a cell holds a double quote, which the file text doubles.
    bool quoted() const { return quoted_; }

   private:
    RowCells() = default;
    ~RowCells();
    char* room() { return reinterpret_cast<char*>(this + 1); }

    char* text_ = nullptr;
    std::uint32_t capacity_ = 0;
    std::array<std::uint32_t, kColumns> end_{};
    bool quoted_ = false;
  };

  static SongKey key_of(const RowCells* row) { return {row->get(col::kDirectory), row->get(col::kFile)}; }

  RowCells* at(int row) const;
  void touch(int first, int last) {
    changed_.first = std::min(changed_.first, first);
    changed_.last = std::max(changed_.last, last);
  }
  void touch_all() { changed_.all = true; }
  // Takes a row out of the index before its key changes or it goes.
  void unindex(const RowCells* cells);
  void build_index() const;

  std::array<std::string, kColumns> header_;
  std::vector<RowCells::Owner> rows_;
  // Built on first use after a load; kept up to date from then on.
  mutable SongIndex<RowCells, &Songlist::key_of> index_;
  mutable bool indexed_ = false;
  std::array<int, kColumns> widths_{};
  int row_ = 0, col_ = 0, row_sel_ = 0, col_sel_ = 0;
  std::uint64_t revision_ = 0;
  std::uint64_t content_revision_ = 0;
  Changed changed_;
};

}  // namespace jukora
