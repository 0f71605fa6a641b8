// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/song_row.h"

#include <cstring>
#include <functional>
#include <new>
#include <string>

namespace jukora {

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

}  // namespace jukora
