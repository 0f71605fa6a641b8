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

// Entries are opaque row pointers; `key_of` reads a row's current key.
template <class Row, SongKey (*key_of)(const Row*)>
class SongIndex {
 public:
  void clear() {
    slots_.assign(slots_.size(), Slot{});
    size_ = 0;
  }

  void insert(const Row* row) {
    if ((size_ + 1) * 2 > slots_.size()) grow();
    place(Slot{song_hash(key_of(row)), row});
    ++size_;
  }

  // Removes this very row, found under its current key.
  void erase(const Row* row) {
    if (slots_.empty()) return;
    std::size_t mask = slots_.size() - 1;
    std::size_t i = song_hash(key_of(row)) & mask;
    while (slots_[i].row != nullptr) {
      if (slots_[i].row == row) {
        remove_at(i);
        --size_;
        return;
      }
      i = (i + 1) & mask;
    }
  }

  bool contains(const SongKey& key) const {
    if (slots_.empty()) return false;
    std::uint64_t hash = song_hash(key);
    std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i].row != nullptr; i = (i + 1) & mask)
      if (slots_[i].hash == hash && key_of(slots_[i].row) == key) return true;
    return false;
  }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    const Row* row = nullptr;
  };

  void place(const Slot& slot) {
    std::size_t mask = slots_.size() - 1;
    std::size_t i = slot.hash & mask;
    while (slots_[i].row != nullptr) i = (i + 1) & mask;
    slots_[i] = slot;
  }

  void grow() {
    std::vector<Slot> old(slots_.empty() ? 16 : slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old)
      if (slot.row) place(slot);
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
