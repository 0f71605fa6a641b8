// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <string>
#include <utility>

#include "platform/clock.h"
#include "songlist/song_row.h"

namespace jukora {

Songlist::Songlist() = default;
Songlist::~Songlist() = default;

SongKey Songlist::key_of(const SongRow* row) { return {row->directory(), row->file()}; }

void Songlist::append(RowOwner row) {
  ++revision_;
  ++content_revision_;
  touch_all();
  if (indexed_) index_.insert(row.get());
  rows_.push_back(std::move(row));
}

void Songlist::AddItem(std::string_view text) {
  std::array<std::string_view, kColumns> parts;
  for (std::string_view& part : parts) {
    auto tab = text.find('\t');
    part = text.substr(0, tab);
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  append(make_row(parts, current_year()));
}

void Songlist::add_cells(std::initializer_list<std::string_view> texts) {
  append(make_row(std::span<const std::string_view>(texts.begin(), texts.size()), current_year()));
}

void Songlist::add_record(std::string_view directory, std::string_view file, std::string_view score,
                          std::string_view last_played, int year) {
  const std::string_view cells[kColumns] = {"", directory, file, score, "", "", last_played};
  append(make_row(cells, year));
}

void Songlist::add_song(std::string_view directory, std::string_view file, const Score& score,
                        const LastPlayed& last_played) {
  const std::string_view texts[SongRow::kParts] = {
      directory, file, score.raw_ ? std::string_view(*score.raw_) : std::string_view(),
      last_played.raw_ ? std::string_view(*last_played.raw_) : std::string_view()};
  RowOwner row = SongRow::make(next_id_++, texts);
  row->score = score.whole_;
  row->set(SongRow::kScoreRaw, score.raw_.has_value());
  row->set(SongRow::kScoreNoNumber, !score.numeric());
  row->played = last_played.key_;
  row->set(SongRow::kPlayedRaw, last_played.raw_.has_value());
  row->set(SongRow::kPlayedNoDate, !last_played.date_);
  append(std::move(row));
}

void Songlist::RemoveItem(int row) {
  SongRow* cells = at(row);
  if (!cells) return;
  ++revision_;
  ++content_revision_;
  touch_all();
  unindex(cells);
  rows_.erase(rows_.begin() + (row - 1));
}

void Songlist::Clear() {
  ++revision_;
  ++content_revision_;
  touch_all();
  rows_.clear();
  // A load follows, and nothing asks whether a song is listed while it
  // runs: the index is built when first asked, once, instead of row by row.
  index_.clear();
  indexed_ = false;
}

void Songlist::sort_by_score() { reorder(score_order()); }

std::vector<int> Songlist::score_order() const {
  std::vector<double> scores;
  scores.reserve(rows_.size());
  for (int i = 1; i <= static_cast<int>(rows_.size()); ++i) scores.push_back(sort_value(i));
  // A list as saved is in order already, and a score change moves one row.
  if (std::is_sorted(scores.begin(), scores.end(), std::greater<>())) return {};
  const int n = static_cast<int>(rows_.size());
  std::vector<int> order(rows_.size());
  // Scores are nearly always whole numbers in a narrow range: counting them
  // orders the rows, stably, in two passes instead of a comparison sort.
  const auto [low, high] = std::minmax_element(scores.begin(), scores.end());
  const bool whole = std::all_of(scores.begin(), scores.end(), [](double s) { return s == std::floor(s); });
  if (whole && *high - *low <= 4.0 * n) {
    std::vector<int> place(static_cast<std::size_t>(*high - *low) + 2, 0);
    auto bucket = [&, top = *high](double score) { return static_cast<std::size_t>(top - score); };
    for (double score : scores) ++place[bucket(score) + 1];
    std::partial_sum(place.begin(), place.end(), place.begin());
    for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(place[bucket(scores[i])]++)] = i + 1;
    return order;
  }
  std::iota(order.begin(), order.end(), 1);
  std::stable_sort(order.begin(), order.end(), [&scores](int a, int b) {
    return scores[static_cast<std::size_t>(a - 1)] > scores[static_cast<std::size_t>(b - 1)];
  });
  return order;
}

void Songlist::reorder(const std::vector<int>& order) {
  ++revision_;
  if (order.empty()) return;
  ++content_revision_;
  std::vector<RowOwner> placed;
  placed.reserve(rows_.size());
  for (int row : order) placed.push_back(std::move(rows_[static_cast<std::size_t>(row - 1)]));
  rows_ = std::move(placed);
  touch_all();
}

std::pair<int, int> Songlist::sort_by_score(int first_row, int last_row) {
  ++revision_;
  const auto n = static_cast<std::ptrdiff_t>(rows_.size());
  constexpr std::pair<int, int> kNone{1, 0};
  if (n < 2 || first_row > last_row) return kNone;
  // Rows outside the changed ones are in order among themselves, so only
  // the changed ones and their neighbours can break the order.
  const std::ptrdiff_t from = std::clamp<std::ptrdiff_t>(first_row - 2, 0, n - 1);
  const std::ptrdiff_t to = std::clamp<std::ptrdiff_t>(last_row, 0, n - 1);
  std::vector<double> near;
  near.reserve(static_cast<std::size_t>(to - from + 1));
  for (std::ptrdiff_t i = from; i <= to; ++i) near.push_back(sort_value(static_cast<int>(i) + 1));
  auto value = [&](std::ptrdiff_t i) {
    return i >= from && i <= to ? near[static_cast<std::size_t>(i - from)] : sort_value(static_cast<int>(i) + 1);
  };
  const auto broken = std::is_sorted_until(near.begin(), near.end(), std::greater<>());
  if (broken == near.end()) return kNone;
  ++content_revision_;
  // The shortest stretch whose sorting orders the whole list: every row
  // outside it is in its place already, ties included, so sorting it
  // stably is the stable sort of the whole list.
  std::ptrdiff_t first = from + (broken - near.begin()) - 1, last = to;
  while (value(last) <= value(last - 1)) --last;
  double top = value(first), bottom = top;
  for (std::ptrdiff_t i = first; i <= last; ++i) {
    top = std::max(top, value(i));
    bottom = std::min(bottom, value(i));
  }
  while (first > 0 && value(first - 1) < top) --first;
  while (last + 1 < n && value(last + 1) > bottom) ++last;
  std::vector<std::pair<double, RowOwner>> keyed;
  keyed.reserve(static_cast<std::size_t>(last - first + 1));
  for (std::ptrdiff_t i = first; i <= last; ++i) keyed.emplace_back(value(i), std::move(rows_[i]));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (std::ptrdiff_t i = first; i <= last; ++i)
    rows_[i] = std::move(keyed[static_cast<std::size_t>(i - first)].second);
  touch(static_cast<int>(first) + 1, static_cast<int>(last) + 1);
  return {static_cast<int>(first) + 1, static_cast<int>(last) + 1};
}

void Songlist::remove_rows_with_empty(int col) {
  ++revision_;
  const SongRow::Part part = col == col::kFile ? SongRow::kFileText : SongRow::kDirectoryText;
  auto gone =
      std::stable_partition(rows_.begin(), rows_.end(), [part](const auto& row) { return !row->text(part).empty(); });
  if (gone == rows_.end()) return;
  ++content_revision_;
  touch_all();
  rows_.erase(gone, rows_.end());
  // Gone rows may share keys with rows that stay; indexing what stays anew
  // is simpler than finding each shared key's next row.
  index_.clear();
  indexed_ = false;
}

void Songlist::build_index() const {
  index_.clear();
  index_.reserve(rows_.size());
  for (const auto& row : rows_) index_.insert(row.get());
  indexed_ = true;
}

void Songlist::unindex(const SongRow* cells) {
  if (!indexed_) return;
  index_.erase(cells, [this, cells] {
    const SongKey key = key_of(cells);
    for (const auto& row : rows_)
      if (row.get() != cells && key_of(row.get()) == key) return static_cast<const SongRow*>(row.get());
    return static_cast<const SongRow*>(nullptr);
  });
}

bool Songlist::contains(std::string_view directory, std::string_view file) const {
  if (!indexed_) build_index();
  return index_.contains(SongKey{directory, file});
}

int Songlist::find(std::string_view directory, std::string_view file, int from, int to) const {
  if (!contains(directory, file)) return 0;
  int step = to >= from ? 1 : -1;
  for (int i = from;; i += step) {
    const SongRow* cells = at(i);
    if (cells && key_of(cells) == SongKey{directory, file}) return i;
    if (i == to) return 0;
  }
}

int Songlist::row_of_id(SongId id) const {
  if (id == 0) return 0;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i]->id == id) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace jukora
