// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/songlist.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <new>
#include <numeric>
#include <string>
#include <utility>

#include "platform/clock.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/song_row.h"

namespace jukora {

namespace {

// The Rank % of a row not ranked yet (SongRow::kNoRank).
constexpr std::uint16_t kNoRank = 0xFFFF;

// A row number as the grid writes it; nothing for any other text.
std::uint32_t read_number(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// A Rank % text ("100", "66.67", "12.5") in hundredths; kNoRank for any other.
std::uint16_t read_rank(std::string_view text) {
  const std::size_t dot = std::min(text.find('.'), text.size());
  std::uint32_t whole = 0, fraction = 0;
  const std::string_view head = text.substr(0, dot), tail = dot < text.size() ? text.substr(dot + 1) : "";
  const auto [end, error] = std::from_chars(head.data(), head.data() + head.size(), whole);
  if (head.empty() || error != std::errc() || end != head.data() + head.size() || tail.size() > 2 ||
      (dot < text.size() && tail.empty()) || whole > 600)
    return kNoRank;
  for (std::size_t i = 0; i < 2; ++i) {
    const char c = i < tail.size() ? tail[i] : '0';
    if (c < '0' || c > '9') return kNoRank;
    fraction = fraction * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return static_cast<std::uint16_t>(whole * 100 + fraction);
}

}  // namespace

Songlist::RowOwner Songlist::SongRow::make(SongId id, std::span<const std::string_view, kParts> texts) {
  std::size_t total = 0;
  for (std::string_view text : texts) total += text.size();
  void* memory = ::operator new(sizeof(SongRow) + total);
  RowOwner row(new (memory) SongRow());
  row->id = id;
  row->played = LastPlayed::never_key();
  row->text_ = row->room();
  row->capacity_ = static_cast<std::uint32_t>(total);
  std::uint32_t end = 0;
  for (std::size_t part = 0; part < kParts; ++part) {
    if (!texts[part].empty()) std::memcpy(row->text_ + end, texts[part].data(), texts[part].size());
    end += static_cast<std::uint32_t>(texts[part].size());
    row->end_[part] = end;
  }
  row->set(kQuoted, std::memchr(row->text_, '"', end) != nullptr);
  return row;
}

void Songlist::FreeRow::operator()(SongRow* row) const {
  row->~SongRow();
  ::operator delete(row);
}

Songlist::SongRow::~SongRow() {
  if (text_ != room()) delete[] text_;
}

void Songlist::SongRow::set_text(Part part, std::string_view text) {
  // The new text may be a view of this very row.
  const std::less<const char*> before;
  if (!before(text.data(), text_) && before(text.data(), text_ + capacity_)) return set_text(part, std::string(text));
  const std::uint32_t begin = part == 0 ? 0 : end_[part - 1];
  const std::uint32_t old_size = end_[part] - begin;
  const std::uint32_t size = end_[kParts - 1];
  const std::uint32_t tail = size - end_[part];
  const std::size_t new_size = std::size_t{size} - old_size + text.size();
  if (new_size > capacity_) {
    char* grown = new char[new_size];
    std::memcpy(grown, text_, begin);
    std::memcpy(grown + begin + text.size(), text_ + end_[part], tail);
    if (text_ != room()) delete[] text_;
    text_ = grown;
    capacity_ = static_cast<std::uint32_t>(new_size);
  } else {
    std::memmove(text_ + begin + text.size(), text_ + end_[part], tail);
  }
  if (!text.empty()) std::memcpy(text_ + begin, text.data(), text.size());
  auto grown = static_cast<std::uint32_t>(text.size()) - old_size;  // wraps for shrinking, on purpose
  for (int p = part; p < kParts; ++p) end_[p] += grown;
  set(kQuoted, std::memchr(text_, '"', end_[kParts - 1]) != nullptr);
}

Songlist::Songlist() = default;
Songlist::~Songlist() = default;

SongKey Songlist::key_of(const SongRow* row) { return {row->directory(), row->file()}; }

Songlist::SongRow* Songlist::at(int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return nullptr;
  return rows_[static_cast<std::size_t>(row - 1)].get();
}

std::string Songlist::TextMatrix(int row, int col) const {
  if (col < 0 || col >= kColumns) return {};
  if (row == 0) return header_[static_cast<std::size_t>(col)];
  const SongRow* cells = at(row);
  if (!cells) return {};
  char buffer[24];
  switch (col) {
    case col::kNumber:
      return cells->number ? std::to_string(cells->number) : std::string();
    case col::kDirectory:
      return std::string(cells->directory());
    case col::kFile:
      return std::string(cells->file());
    case col::kScore:
      if (cells->has(SongRow::kScoreRaw)) return std::string(cells->text(SongRow::kScoreText));
      return std::string(buffer, write_score_text(cells->score, buffer));
    case col::kRank:
      return cells->rank == SongRow::kNoRank ? std::string() : hundredths_text(cells->rank);
    case col::kMark:
      return cells->has(SongRow::kMarked) ? "*" : "";
    default:
      if (cells->has(SongRow::kPlayedRaw)) return std::string(cells->text(SongRow::kPlayedText));
      return std::string(buffer, write_date_text(cells->played, buffer));
  }
}

void Songlist::SetTextMatrix(int row, int col, std::string_view text) {
  if (col < 0 || col >= kColumns) return;
  if (row == 0) {
    ++revision_;
    header_[static_cast<std::size_t>(col)] = text;
    return;
  }
  SongRow* cells = at(row);
  if (!cells) return;
  switch (col) {
    case col::kNumber:
      return set_number(row, static_cast<int>(read_number(text)));
    case col::kDirectory:
    case col::kFile:
      touch_content(row);
      unindex(cells);
      cells->set_text(col == col::kDirectory ? SongRow::kDirectoryText : SongRow::kFileText, text);
      if (indexed_) index_.insert(cells);
      return;
    case col::kScore:
      return set_score(row, Score::read(text));
    case col::kRank:
      ++revision_;
      touch(row, row);
      cells->rank = read_rank(text);
      return;
    case col::kMark:
      return set_marked(row, !text.empty());
    default:
      return set_last_played(row, LastPlayed::read(text));
  }
}

std::string_view Songlist::directory(int row) const {
  const SongRow* cells = at(row);
  return cells ? cells->directory() : std::string_view();
}

std::string_view Songlist::file(int row) const {
  const SongRow* cells = at(row);
  return cells ? cells->file() : std::string_view();
}

Score Songlist::score(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return {};
  if (cells->has(SongRow::kScoreRaw)) return Score(cells->score, std::string(cells->text(SongRow::kScoreText)));
  return Score(cells->score);
}

LastPlayed Songlist::last_played(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return {};
  if (!cells->has(SongRow::kPlayedRaw)) return LastPlayed(cells->played, true, std::nullopt);
  return LastPlayed(cells->played, !cells->has(SongRow::kPlayedNoDate), std::string(cells->text(SongRow::kPlayedText)));
}

std::int64_t Songlist::last_played_hour(int row) const {
  const SongRow* cells = at(row);
  const bool date = cells && !cells->has(SongRow::kPlayedNoDate);
  return hour_number(LastPlayed::time_of(date ? cells->played : LastPlayed::never_key()));
}

bool Songlist::marked(int row) const {
  const SongRow* cells = at(row);
  return cells && cells->has(SongRow::kMarked);
}

SongId Songlist::song_id(int row) const {
  const SongRow* cells = at(row);
  return cells ? cells->id : 0;
}

double Songlist::sort_value(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return 0;
  if (cells->has(SongRow::kScoreRaw)) return score_sort_value(cells->text(SongRow::kScoreText));
  return static_cast<double>(cells->score);
}

bool Songlist::same_score_text(int a, int b) const {
  const SongRow *one = at(a), *other = at(b);
  if (!one || !other) return false;
  // A raw text is never the canonical text of any value.
  const bool raw = one->has(SongRow::kScoreRaw);
  if (raw != other->has(SongRow::kScoreRaw)) return false;
  return raw ? one->text(SongRow::kScoreText) == other->text(SongRow::kScoreText) : one->score == other->score;
}

void Songlist::set_score(int row, const Score& score) {
  SongRow* cells = at(row);
  if (!cells) return;
  touch_content(row);
  cells->score = score.whole_;
  cells->set(SongRow::kScoreRaw, score.raw_.has_value());
  cells->set(SongRow::kScoreNoNumber, !score.numeric());
  cells->set_text(SongRow::kScoreText, score.raw_ ? std::string_view(*score.raw_) : std::string_view());
}

void Songlist::set_last_played(int row, const LastPlayed& last_played) {
  SongRow* cells = at(row);
  if (!cells) return;
  touch_content(row);
  cells->played = last_played.key_;
  cells->set(SongRow::kPlayedRaw, last_played.raw_.has_value());
  cells->set(SongRow::kPlayedNoDate, !last_played.date_);
  cells->set_text(SongRow::kPlayedText, last_played.raw_ ? std::string_view(*last_played.raw_) : std::string_view());
}

void Songlist::set_marked(int row, bool marked) {
  SongRow* cells = at(row);
  if (!cells) return;
  ++revision_;
  cells->set(SongRow::kMarked, marked);
}

int Songlist::number(int row) const {
  const SongRow* cells = at(row);
  return cells ? static_cast<int>(cells->number) : 0;
}

void Songlist::set_number(int row, int number) {
  SongRow* cells = at(row);
  if (!cells) return;
  ++revision_;
  touch(row, row);
  cells->number = static_cast<std::uint32_t>(std::max(number, 0));
}

std::optional<int> Songlist::rank(int row) const {
  const SongRow* cells = at(row);
  if (!cells || cells->rank == SongRow::kNoRank) return std::nullopt;
  return cells->rank;
}

void Songlist::set_rank(int row, std::optional<int> hundredths) {
  SongRow* cells = at(row);
  if (!cells) return;
  ++revision_;
  touch(row, row);
  cells->rank =
      hundredths ? static_cast<std::uint16_t>(std::clamp(*hundredths, 0, SongRow::kNoRank - 1)) : SongRow::kNoRank;
}

Songlist::StoredCells Songlist::stored_cells(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return {};
  StoredCells stored{
      cells->directory(),          cells->file(), cells->score, std::nullopt, cells->played, std::nullopt,
      cells->has(SongRow::kQuoted)};
  if (cells->has(SongRow::kScoreRaw)) stored.score_raw = cells->text(SongRow::kScoreText);
  if (cells->has(SongRow::kPlayedRaw)) stored.played_raw = cells->text(SongRow::kPlayedText);
  return stored;
}

Songlist::RowOwner Songlist::make_row(std::span<const std::string_view> cells, int year) {
  auto cell = [&](int c) { return c < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(c)] : ""; };
  const ReadScore score = read_score(cell(col::kScore));
  const ReadDate played = read_date(cell(col::kLastPlayed), year);
  const std::string_view texts[SongRow::kParts] = {cell(col::kDirectory), cell(col::kFile),
                                                   score.canonical ? "" : cell(col::kScore),
                                                   played.canonical ? "" : cell(col::kLastPlayed)};
  RowOwner row = SongRow::make(next_id_++, texts);
  row->number = read_number(cell(col::kNumber));
  row->score = score.whole;
  row->set(SongRow::kScoreRaw, !score.canonical);
  row->set(SongRow::kScoreNoNumber, !score.numeric);
  if (played.date) row->played = played.key;
  row->set(SongRow::kPlayedRaw, !played.canonical);
  row->set(SongRow::kPlayedNoDate, !played.date);
  row->rank = read_rank(cell(col::kRank));
  row->set(SongRow::kMarked, !cell(col::kMark).empty());
  return row;
}

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
