// SPDX-License-Identifier: GPL-3.0-or-later
// The search over the songlist: the rows shown narrowed to the songs holding
// every word of the query, "N of M songs", and the selection kept in step.
// The songlist, its order and its file never change for it. While it
// narrows the list, the keys act on the shown rows of the selection; a
// change that makes a hidden song current ends it; ending it leaves the same
// songs selected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "songlist/chosen_rows.h"
#include "songlist/song_search.h"

namespace jukora {

class Songlist;

class SearchFilter {
 public:
  SearchFilter(Songlist& songlist, SongSearch::Fold fold);

  bool active() const { return search_.active(); }
  // The query as the user typed it; empty once a search has ended.
  const std::string& query() const { return query_; }
  // A new query: the rows shown follow it; the cursor stays on its song
  // while the song is shown, else it goes to the first found.
  void set_query(std::string_view query);
  // The rows are folded ahead, so that the first keystroke only compares.
  void fold_ahead();

  // Before the list is shown: the shown rows follow the list, and a change
  // that made a hidden song current ends the search.
  void follow();
  // The data rows shown (ascending) while a search is active, as the list
  // is now.
  const std::vector<int>& shown();
  // "N of M songs".
  std::string count_text() const;

  // The songs the keys and buttons act on when they are not the range
  // Row..RowSel: the shown rows between its ends, or the songs a cleared
  // search left selected.
  std::optional<ChosenRows> chosen();
  // The songs a cleared search left selected, while they are; else null.
  const ChosenRows* picked() const { return picked_ ? &picked_->chosen : nullptr; }
  // The user chose other rows.
  void forget_picked() { picked_.reset(); }

  // After shown rows were deleted: the cursor on the row now shown at
  // `row` (counted from 1), or on the last.
  void keep_cursor_at(int row);
  // Data row `row` is about to be made current: a search that hides it ends.
  void reveal(int row);

  // Bumped whenever the rows shown or the count may have changed.
  std::uint64_t revision() const { return revision_; }

 private:
  // The search is over: every row is shown again, and shown rows that were
  // `selected` stay so.
  void end(const std::optional<ChosenRows>& selected);
  void refresh_shown();

  struct Picked {
    ChosenRows chosen;
    std::uint64_t revision;
  };

  Songlist& songlist_;
  SongSearch search_;
  std::string query_;
  std::vector<int> shown_;
  std::optional<Picked> picked_;
  // The list's rows when the shown rows were last counted.
  int counted_rows_ = 0;
  std::uint64_t revision_ = 0;
};

}  // namespace jukora
