// SPDX-License-Identifier: GPL-3.0-or-later
// A flat hash multiset of rows keyed by (Directory, File): one probe sequence
// per lookup, no node per row, and row pointers that survive sorting. The
// Directory is compared as the folder it names (folder_key), so both ways of
// writing a drive root find the same rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "songlist/paths.h"

namespace jukora {

struct SongKey {
  std::string_view directory;
  std::string_view file;
  friend bool operator==(const SongKey& a, const SongKey& b) {
    return a.file == b.file && folder_key(a.directory) == folder_key(b.directory);
  }
};

std::uint64_t song_hash(const SongKey& key);

// Entries are opaque row pointers; `key_of` reads a row's current key. Rows
// that share a key share one entry, which counts them, so a list holding the
// same song many times costs no more than one holding it once.
template <class Row, SongKey (*key_of)(const Row*)>
class SongIndex {
 public:
  void clear() {
    slots_.clear();
    size_ = 0;
  }

  // Makes an empty index ready for `rows` keys without growing.
  void reserve(std::size_t rows) {
    std::size_t wanted = 16;
    while (wanted < rows * 2) wanted *= 2;
    if (wanted > slots_.size()) slots_.assign(wanted, Slot{});
  }

  void insert(const Row* row) {
    if ((size_ + 1) * 2 > slots_.size()) grow();
    const SongKey key = key_of(row);
    const std::uint32_t hash = short_hash(key);
    std::size_t i = slot_of(key, hash);
    if (slots_[i].row != nullptr) {
      ++slots_[i].count;
      return;
    }
    slots_[i] = Slot{hash, 1, row};
    ++size_;
  }

  // Removes this very row, found under its current key. When the entry of a
  // key that other rows share named this row, `another()` names one of them.
  template <class Another>
  void erase(const Row* row, Another another) {
    if (slots_.empty()) return;
    const SongKey key = key_of(row);
    std::size_t i = slot_of(key, short_hash(key));
    Slot& slot = slots_[i];
    if (slot.row == nullptr) return;
    const Row* stand_in = slot.count > 1 && slot.row == row ? another() : slot.row;
    if (slot.count > 1 && stand_in != nullptr) {
      --slot.count;
      slot.row = stand_in;
      return;
    }
    remove_at(i);
    --size_;
  }

  // One of the rows holding `key` and how many do; nothing when none.
  const Row* find(const SongKey& key, std::uint32_t& count) const {
    count = 0;
    if (slots_.empty()) return nullptr;
    const Slot& slot = slots_[slot_of(key, short_hash(key))];
    count = slot.row ? slot.count : 0;
    return slot.row;
  }

  bool contains(const SongKey& key) const {
    return !slots_.empty() && slots_[slot_of(key, short_hash(key))].row != nullptr;
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t count = 0;
    const Row* row = nullptr;
  };

  // The table never holds 2^32 slots, so the low half of the hash places an
  // entry as well as the whole would.
  static std::uint32_t short_hash(const SongKey& key) { return static_cast<std::uint32_t>(song_hash(key)); }

  // The slot holding `key`, or the empty slot where it would go.
  std::size_t slot_of(const SongKey& key, std::uint32_t hash) const {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].row != nullptr && !(slots_[i].hash == hash && key_of(slots_[i].row) == key)) i = (i + 1) & mask;
    return i;
  }

  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.row == nullptr) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].row != nullptr) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  // Backward-shift deletion keeps every probe sequence unbroken.
  void remove_at(std::size_t hole) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = hole;
    while (true) {
      i = (i + 1) & mask;
      if (slots_[i].row == nullptr) break;
      std::size_t home = slots_[i].hash & mask;
      // Move the entry back when the hole lies on its way from home to i.
      if (((i - home) & mask) >= ((i - hole) & mask)) {
        slots_[hole] = slots_[i];
        hole = i;
      }
    }
    slots_[hole] = Slot{};
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace jukora
