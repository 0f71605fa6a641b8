// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <numeric>
#include <string>
#include <utility>

#include "songlist/numbers.h"

namespace jukora {

namespace {

// Room a new row keeps for the row number, Rank %, a Score, a Mark and a
// Last Played that a recompute or a play may add.
constexpr std::uint32_t kRowRoom = 40;

}  // namespace

Songlist::RowCells::Owner Songlist::RowCells::make(std::span<const std::string_view> cells) {
  std::size_t total = 0;
  for (std::size_t c = 0; c < cells.size() && c < kColumns; ++c) total += cells[c].size();
  const std::size_t capacity = total + kRowRoom;
  void* memory = ::operator new(sizeof(RowCells) + capacity);
  Owner row(new (memory) RowCells());
  row->text_ = row->room();
  row->capacity_ = static_cast<std::uint32_t>(capacity);
  std::uint32_t end = 0;
  for (std::size_t c = 0; c < kColumns; ++c) {
    if (c < cells.size() && !cells[c].empty()) {
      std::memcpy(row->text_ + end, cells[c].data(), cells[c].size());
      end += static_cast<std::uint32_t>(cells[c].size());
    }
    row->end_[c] = end;
  }
  row->quoted_ = std::memchr(row->text_, '"', end) != nullptr;
  return row;
}

void Songlist::RowCells::Free::operator()(RowCells* row) const {
  row->~RowCells();
  ::operator delete(row);
}

Songlist::RowCells::~RowCells() {
  if (text_ != room()) delete[] text_;
}

std::string_view Songlist::RowCells::get(int col) const {
  std::uint32_t begin = col == 0 ? 0 : end_[col - 1];
  return std::string_view(text_ + begin, end_[col] - begin);
}

void Songlist::RowCells::set(int col, std::string_view text) {
  // The new text may be a view of this very row.
  const std::less<const char*> before;
  if (!before(text.data(), text_) && before(text.data(), text_ + capacity_)) return set(col, std::string(text));
  const std::uint32_t begin = col == 0 ? 0 : end_[col - 1];
  const std::uint32_t old_size = end_[col] - begin;
  const std::uint32_t size = end_[kColumns - 1];
  const std::uint32_t tail = size - end_[col];
  const std::size_t new_size = std::size_t{size} - old_size + text.size();
  if (new_size > capacity_) {
    const std::size_t capacity = new_size + kRowRoom;
    char* grown = new char[capacity];
    std::memcpy(grown, text_, begin);
    std::memcpy(grown + begin + text.size(), text_ + end_[col], tail);
    if (text_ != room()) delete[] text_;
    text_ = grown;
    capacity_ = static_cast<std::uint32_t>(capacity);
  } else {
    std::memmove(text_ + begin + text.size(), text_ + end_[col], tail);
  }
  if (!text.empty()) std::memcpy(text_ + begin, text.data(), text.size());
  auto grown = static_cast<std::uint32_t>(text.size()) - old_size;  // wraps for shrinking, on purpose
  for (int c = col; c < kColumns; ++c) end_[c] += grown;
  quoted_ = std::memchr(text_, '"', end_[kColumns - 1]) != nullptr;
}

Songlist::Songlist() { widths_.fill(1000); }
Songlist::~Songlist() = default;

Songlist::RowCells* Songlist::at(int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
  return rows_[static_cast<std::size_t>(row - 1)].get();
}

std::string_view Songlist::TextMatrix(int row, int col) const {
  if (col < 0 || col >= kColumns) return {};
  if (row == 0) return header_[static_cast<std::size_t>(col)];
  const RowCells* cells = at(row);
  return cells ? cells->get(col) : std::string_view{};
}

Songlist::StoredCells Songlist::stored_cells(int row) const {
  const RowCells* cells = at(row);
  if (!cells) return {};
  return {cells->get(col::kDirectory), cells->get(col::kFile), cells->get(col::kScore), cells->get(col::kLastPlayed),
          cells->quoted()};
}

void Songlist::SetTextMatrix(int row, int col, std::string_view text) {
  if (col < 0 || col >= kColumns) return;
  ++revision_;
  if (row == 0) {
    header_[static_cast<std::size_t>(col)] = text;
    return;
  }
  RowCells* cells = at(row);
  if (!cells) return;
  if (col != col::kNumber && col != col::kRank && col != col::kMark) ++content_revision_;
  if (col != col::kMark) touch(row, row);
  bool keyed = col == col::kDirectory || col == col::kFile;
  if (keyed) unindex(cells);
  cells->set(col, text);
  if (keyed && indexed_) index_.insert(cells);
}

void Songlist::AddItem(std::string_view text) {
  ++revision_;
  ++content_revision_;
  touch_all();
  std::array<std::string_view, kColumns> parts;
  for (std::string_view& part : parts) {
    auto tab = text.find('\t');
    part = text.substr(0, tab);
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  auto cells = RowCells::make(parts);
  if (indexed_) index_.insert(cells.get());
  rows_.push_back(std::move(cells));
}

void Songlist::add_cells(std::initializer_list<std::string_view> texts) {
  ++revision_;
  ++content_revision_;
  touch_all();
  auto cells = RowCells::make(std::span<const std::string_view>(texts.begin(), texts.size()));
  if (indexed_) index_.insert(cells.get());
  rows_.push_back(std::move(cells));
}

void Songlist::RemoveItem(int row) {
  RowCells* cells = at(row);
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

int Songlist::ColWidth(int col) const {
  return col >= 0 && col < kColumns ? widths_[static_cast<std::size_t>(col)] : 0;
}

void Songlist::SetColWidth(int col, int width) {
  if (col >= 0 && col < kColumns) widths_[static_cast<std::size_t>(col)] = width;
}

void Songlist::sort_by_score() { reorder(score_order()); }

std::vector<int> Songlist::score_order() const {
  std::vector<double> scores;
  scores.reserve(rows_.size());
  for (const auto& row : rows_) scores.push_back(score_sort_value(row->get(col::kScore)));
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
  std::vector<RowCells::Owner> placed;
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
  for (std::ptrdiff_t i = from; i <= to; ++i) near.push_back(score_sort_value(rows_[i]->get(col::kScore)));
  auto value = [&](std::ptrdiff_t i) {
    return i >= from && i <= to ? near[static_cast<std::size_t>(i - from)]
                                : score_sort_value(rows_[i]->get(col::kScore));
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
  std::vector<std::pair<double, RowCells::Owner>> keyed;
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
  auto gone =
      std::stable_partition(rows_.begin(), rows_.end(), [col](const auto& row) { return !row->get(col).empty(); });
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

void Songlist::unindex(const RowCells* cells) {
  if (!indexed_) return;
  index_.erase(cells, [this, cells] {
    const SongKey key = key_of(cells);
    for (const auto& row : rows_)
      if (row.get() != cells && key_of(row.get()) == key) return static_cast<const RowCells*>(row.get());
    return static_cast<const RowCells*>(nullptr);
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
    const RowCells* cells = at(i);
    if (cells && key_of(cells) == SongKey{directory, file}) return i;
    if (i == to) return 0;
  }
}

}  // namespace jukora
