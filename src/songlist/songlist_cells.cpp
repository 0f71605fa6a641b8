// SPDX-License-Identifier: GPL-3.0-or-later
// The Songlist's cells: their texts as the grid shows them, text read into
// them, and their typed values.
#include <algorithm>
#include <charconv>
#include <string>

#include "platform/clock.h"
#include "songlist/date_text.h"
#include "songlist/numbers.h"
#include "songlist/song_row.h"
#include "songlist/songlist.h"

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

}  // namespace jukora
