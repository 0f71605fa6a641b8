// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/search_filter.h"

#include <algorithm>
#include <utility>

#include "songlist/row_selection.h"
#include "songlist/songlist.h"

namespace jukora {

namespace {

bool holds(const std::vector<int>& rows, int row) { return std::binary_search(rows.begin(), rows.end(), row); }

}  // namespace

SearchFilter::SearchFilter(Songlist& songlist, SongSearch::Fold fold) : songlist_(songlist), search_(std::move(fold)) {}

void SearchFilter::fold_ahead() { search_.fold_ahead(songlist_); }

void SearchFilter::refresh_shown() {
  const std::vector<int>& shown = search_.shown(songlist_);
  if (shown == shown_ && counted_rows_ == songlist_.Rows()) return;
  shown_ = shown;
  counted_rows_ = songlist_.Rows();
  ++revision_;
}

void SearchFilter::set_query(std::string_view query) {
  // What was selected among the rows shown until now.
  const std::optional<ChosenRows> before = search_.active() ? chosen() : std::nullopt;
  query_ = query;
  search_.set_query(query);
  if (!search_.active()) return end(before);
  picked_.reset();
  refresh_shown();
  // The cursor stays on its song while the song is shown; else on the first found.
  if (!holds(shown_, songlist_.Row()))
    songlist_.SetRow(shown_.empty() ? 0 : shown_.front());
  else if (!holds(shown_, songlist_.RowSel()))
    songlist_.SetRowSel(songlist_.Row());
}

void SearchFilter::follow() {
  // The songs stay picked while the list and the cursor do.
  if (picked_ && (picked_->revision != songlist_.revision() || picked_->chosen.anchor != songlist_.Row()))
    picked_.reset();
  if (!search_.active()) return;
  const int row = songlist_.Row();
  if (row != 0 && !holds(search_.shown(songlist_), row)) {
    // The list is shown whole around the song that became current.
    reveal(row);
    return;
  }
  refresh_shown();
  if (!holds(shown_, songlist_.RowSel())) songlist_.SetRowSel(row);
}

const std::vector<int>& SearchFilter::shown() {
  if (search_.active()) refresh_shown();
  return shown_;
}

std::string SearchFilter::count_text() const {
  const int songs = songlist_.holds_no_song() ? 0 : songlist_.Rows() - 1;
  return std::to_string(shown_.size()) + " of " + std::to_string(songs) + " songs";
}

std::optional<ChosenRows> SearchFilter::chosen() {
  if (search_.active()) return shown_rows_in_range(songlist_, search_.shown(songlist_));
  if (picked_ && picked_->revision == songlist_.revision() && picked_->chosen.anchor == songlist_.Row())
    return picked_->chosen;
  return std::nullopt;
}

void SearchFilter::keep_cursor_at(int row) {
  if (!search_.active()) return;
  const std::vector<int>& shown = search_.shown(songlist_);
  const int count = static_cast<int>(shown.size());
  songlist_.SetRow(count == 0 ? 0 : shown[static_cast<std::size_t>(std::clamp(row, 1, count) - 1)]);
}

void SearchFilter::reveal(int row) {
  if (!search_.active() || holds(search_.shown(songlist_), row)) return;
  query_.clear();
  search_.set_query({});
  end(std::nullopt);
}

void SearchFilter::end(const std::optional<ChosenRows>& selected) {
  shown_.clear();
  counted_rows_ = 0;
  picked_.reset();
  ++revision_;
  // Shown rows that were not neighbours in the whole list stay selected as
  // they were; neighbours are the range Row..RowSel itself.
  if (selected && !selected->rows.empty() &&
      selected->rows.back() - selected->rows.front() + 1 != static_cast<int>(selected->rows.size()))
    picked_ = Picked{*selected, songlist_.revision()};
}

}  // namespace jukora
