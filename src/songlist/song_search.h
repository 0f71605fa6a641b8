// SPDX-License-Identifier: GPL-3.0-or-later
// Which songs a search shows: those whose Directory and File together hold
// every word of the query, compared in a folded form (the caller's fold:
// case and accents). It only reads the list, whose rows, order and file
// stay as they are. Each row's folded text is kept until the list changes,
// so a keystroke only compares; a query that grows looks only among the rows
// it showed before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class Songlist;

class SongSearch {
 public:
  // Turns text into the form it is compared in. Text of ASCII characters
  // only is lowered without asking it.
  using Fold = std::function<std::string(std::string_view)>;

  explicit SongSearch(Fold fold);

  // The words of `query`, folded, split at blanks. A query of blanks alone
  // is no search.
  void set_query(std::string_view query);
  bool active() const { return !words_.empty(); }

  // The data rows of `songlist` holding every word, ascending; empty while
  // no search is active. Folds again only what changed since the last call.
  const std::vector<int>& shown(const Songlist& songlist);
  // Folds the rows now unless they are folded already, so that the next
  // keystroke only compares (the field has just been entered).
  void fold_ahead(const Songlist& songlist);

 private:
  bool folded_for(const Songlist& songlist) const;
  void fold_rows(const Songlist& songlist);
  bool matches(std::size_t index) const;
  // Whether every row the new words would show was shown for the old ones:
  // each old word lies inside some new word.
  bool narrows(const std::vector<std::string>& before) const;

  Fold fold_;
  std::vector<std::string> words_;
  // The folded text of data row i + 1 is text_[ends_[i] .. ends_[i + 1]).
  std::string text_;
  std::vector<std::size_t> ends_;
  std::uint64_t folded_revision_ = 0;
  bool folded_ = false;
  // What shown() last answered, and for which words and list.
  std::vector<int> shown_;
  std::vector<std::string> shown_words_;
  std::uint64_t shown_revision_ = 0;
  bool shown_valid_ = false;
};

}  // namespace jukora
