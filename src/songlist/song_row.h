// SPDX-License-Identifier: GPL-3.0-or-later
// One data row of the Songlist as it lies in memory: its typed cells, and
// its texts (Directory, File, and the raw text of a Score or Last Played not
// in its value's own form) packed in one buffer, which shares the row's
// allocation unless the row has outgrown it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "songlist/songlist.h"

namespace jukora {

class Songlist::SongRow {
 public:
  // The texts a row keeps, in buffer order.
  enum Part { kDirectoryText, kFileText, kScoreText, kPlayedText, kParts };
  enum Flag : std::uint8_t {
    kMarked = 1,
    kScoreRaw = 2,       // the Score shows kScoreText
    kScoreNoNumber = 4,  // ... which is no number
    kPlayedRaw = 8,      // the Last Played shows kPlayedText
    kPlayedNoDate = 16,  // ... which is no date
    kQuoted = 32,        // a text holds a double quote, which the file doubles
  };
  static constexpr std::uint16_t kNoRank = 0xFFFF;

  // A row of these texts, exactly as large as they need.
  static RowOwner make(SongId id, std::span<const std::string_view, kParts> texts);
  SongRow(const SongRow&) = delete;
  SongRow& operator=(const SongRow&) = delete;

  std::string_view text(Part part) const {
    const std::uint32_t begin = part == 0 ? 0 : end_[part - 1];
    return std::string_view(text_ + begin, end_[part] - begin);
  }
  void set_text(Part part, std::string_view text);
  std::string_view directory() const { return text(kDirectoryText); }
  std::string_view file() const { return text(kFileText); }
  bool has(Flag flag) const { return (flags & flag) != 0; }
  void set(Flag flag, bool on) { flags = on ? flags | flag : flags & ~flag; }

  // In this order, the row's head takes 56 bytes.
 private:
  char* text_ = nullptr;

 public:
  std::int64_t score = 0;
  std::uint64_t played = 0;

 private:
  std::uint32_t capacity_ = 0;
  std::array<std::uint32_t, kParts> end_{};

 public:
  SongId id = 0;
  std::uint32_t number = 0;
  std::uint16_t rank = kNoRank;
  std::uint8_t flags = 0;

 private:
  friend struct Songlist::FreeRow;
  SongRow() = default;
  ~SongRow();
  char* room() { return reinterpret_cast<char*>(this + 1); }
};

Songlist::StoredCells Songlist::stored_cells(int row) const {
  const SongRow* cells = at(row);
  if (!cells) return {};
  StoredCells stored;
  stored.directory = cells->directory();
  stored.file = cells->file();
  stored.score = cells->score;
  stored.played = cells->played;
  stored.has_score_raw = cells->has(SongRow::kScoreRaw);
  stored.has_played_raw = cells->has(SongRow::kPlayedRaw);
  if (stored.has_score_raw) stored.score_raw = cells->text(SongRow::kScoreText);
  if (stored.has_played_raw) stored.played_raw = cells->text(SongRow::kPlayedText);
  stored.quoted = cells->has(SongRow::kQuoted);
  return stored;
}

void Songlist::prefetch(int row) const {
  if (const SongRow* cells = at(row)) {
    // The head and the first texts after it.
    __builtin_prefetch(cells);
    __builtin_prefetch(reinterpret_cast<const char*>(cells) + 64);
  }
}

}  // namespace jukora
