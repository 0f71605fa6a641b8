// SPDX-License-Identifier: GPL-3.0-or-later
// The songlist table: header row 0 and data rows 1 .. Rows() - 1, under the
// grid's operations and names. A row is typed (Directory and File text, a
// whole Score, a Last Played time, the Mark, its number and Rank %) and has
// a stable id that follows it through every sort. TextMatrix makes a cell's
// text for whoever shows it; SetTextMatrix reads text into a cell. The
// cursor and selection (Row, Col, RowSel, ColSel) are the table's, which
// the views mirror. An index of (Directory, File) makes "is this song
// listed?" cost O(1) at any size.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "songlist/song_cells.h"
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

// Names one song's row for as long as it is in the list, whatever sort or
// change moves it; 0 names none.
using SongId = std::uint32_t;

class Songlist {
 public:
  Songlist();
  ~Songlist();
  Songlist(const Songlist&) = delete;
  Songlist& operator=(const Songlist&) = delete;

  // Rows including the header row.
  int Rows() const { return static_cast<int>(rows_.size()) + 1; }

  // A cell's text as the grid shows it and the file keeps it. Out-of-range
  // cells read as empty and ignore writes; a write reads the text as its
  // column expects it (a Score keeps text that is not its value's own).
  std::string TextMatrix(int row, int col) const;
  void SetTextMatrix(int row, int col, std::string_view text);

  // The cells of data row `row`; outside the data rows an empty row.
  std::string_view directory(int row) const;
  std::string_view file(int row) const;
  Score score(int row) const;
  LastPlayed last_played(int row) const;
  // The hour number (see date_text.h) of the Last Played; a Last Played
  // that is no date (a row a drop appended, not recomputed yet) counts as
  // never played, as the recompute will make it.
  std::int64_t last_played_hour(int row) const;
  bool marked(int row) const;
  SongId song_id(int row) const;
  // Whether the row holds a song: the placeholder row of an empty list
  // has no Directory.
  bool is_song(int row) const { return !directory(row).empty(); }
  // No song at all: the header alone, or the placeholder row alone.
  bool holds_no_song() const { return Rows() < 2 || (Rows() == 2 && !is_song(1)); }
  // The value a row sorts by, and whether two rows show the same Score
  // text (the rank's ties and Random's widening compare texts, not values).
  double sort_value(int row) const;
  bool same_score_text(int a, int b) const;

  void set_score(int row, const Score& score);
  void set_last_played(int row, const LastPlayed& last_played);
  void set_marked(int row, bool marked);
  // The row number and Rank % (in hundredths of a percent) a recompute
  // writes; nothing for an empty cell.
  int number(int row) const;
  void set_number(int row, int number);
  std::optional<int> rank(int row) const;
  void set_rank(int row, std::optional<int> hundredths);

  // The cells a songlist file keeps of data row `row`, read at once, and
  // whether any holds a double quote: the save reads every row this way. A
  // raw text stands where the cell was read from text not its value's own.
  // Plain views and flags, no optionals: the save's loop over every row
  // stays short (song_row.h defines it, inline).
  struct StoredCells {
    std::string_view directory, file;
    std::int64_t score = 0;
    std::uint64_t played = 0;
    std::string_view score_raw, played_raw;
    bool has_score_raw = false, has_played_raw = false;
    bool quoted = false;
  };
  inline StoredCells stored_cells(int row) const;
  // Asks the memory for data row `row` ahead of its use: a loop over every
  // row reads rows scattered over the heap once sorted, and waiting on each
  // in turn costs more than formatting them.
  inline void prefetch(int row) const;

  // Appends a row from tab-separated cells, column 0 first.
  void AddItem(std::string_view text);
  // Appends a row from its cells, which may hold tabs; missing cells stay empty.
  void add_cells(std::initializer_list<std::string_view> cells);
  // Appends a row from a songlist file's record, its two-digit years read
  // around `year`.
  void add_record(std::string_view directory, std::string_view file, std::string_view score,
                  std::string_view last_played, int year);
  // Appends a song with these cells; its Mark, number and Rank % are empty.
  void add_song(std::string_view directory, std::string_view file, const Score& score, const LastPlayed& last_played);
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

  // Removes every data row whose Directory (or File) is empty, in one pass.
  void remove_rows_with_empty(int col);

  // A song is the same song under either spelling of a drive root (folder_key).
  bool contains(std::string_view directory, std::string_view file) const;
  // The first row in [from, to] (stepping up or down) holding the song; 0 if none.
  int find(std::string_view directory, std::string_view file, int from, int to) const;
  // The data row of the song with this id; 0 when it is no longer listed.
  int row_of_id(SongId id) const;

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
  // Exchanges the data rows with `other`'s; the header and the cursor stay
  // with each table.
  void swap_rows(Songlist& other);

  // Bumped by every change, so a view can tell whether it must refresh.
  std::uint64_t revision() const { return revision_; }
  // Bumped only by changes a save would write: a stored cell (Directory,
  // File, Score, Last Played), rows added, removed or put in another order.
  std::uint64_t content_revision() const { return content_revision_; }

 private:
  class SongRow;
  struct FreeRow {
    void operator()(SongRow* row) const;
  };
  using RowOwner = std::unique_ptr<SongRow, FreeRow>;

  static SongKey key_of(const SongRow* row);

  SongRow* at(int row) const {
    if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
    return rows_[static_cast<std::size_t>(row - 1)].get();
  }
  RowOwner make_row(std::span<const std::string_view> cells, int year);
  void append(RowOwner row);
  void touch(int first, int last) {
    changed_.first = std::min(changed_.first, first);
    changed_.last = std::max(changed_.last, last);
  }
  void touch_all() { changed_.all = true; }
  // A stored cell of `row` changed.
  void touch_content(int row) {
    ++revision_;
    ++content_revision_;
    touch(row, row);
  }
  // Takes a row out of the index before its key changes or it goes.
  void unindex(const SongRow* row);
  void build_index() const;

  std::array<std::string, kColumns> header_;
  std::vector<RowOwner> rows_;
  // Built on first use after a load; kept up to date from then on.
  mutable SongIndex<SongRow, &Songlist::key_of> index_;
  mutable bool indexed_ = false;
  SongId next_id_ = 1;
  int row_ = 0, col_ = 0, row_sel_ = 0, col_sel_ = 0;
  std::uint64_t revision_ = 0;
  std::uint64_t content_revision_ = 0;
  Changed changed_;
};

}  // namespace jukora
