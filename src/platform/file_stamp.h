// SPDX-License-Identifier: GPL-3.0-or-later
// What tells whether a file changed since Jukora last read or wrote it: the
// file itself (device and inode; on Windows the volume serial and the file
// index), its size and its modification time to the nanosecond, and a hash
// of its bytes for the one case those cannot tell: another write within the
// same tick of the file system's clock, which leaves the same time behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace jukora {

struct FileStamp {
  bool exists = false;
  std::uint64_t device = 0;
  std::uint64_t index = 0;
  std::uint64_t size = 0;
  // Nanoseconds since the epoch of the platform's file times.
  std::int64_t modified = 0;
  // Taken within the clock tick of `modified` (or with `modified` ahead of
  // the clock): a later write could leave this very stamp, so only the bytes
  // can tell.
  bool may_repeat = false;

  // The same file, the same size, the same modification time.
  bool same_as(const FileStamp& other) const {
    return exists == other.exists && device == other.device && index == other.index && size == other.size &&
           modified == other.modified;
  }
};

// The stamp of the open file `fd`, taken now.
FileStamp stamp_of_fd(int fd);
// The stamp of the file `path` names, links followed; `exists` is false when
// there is none (or it cannot be looked at).
FileStamp stamp_of_path(const std::string& path);

// Whether a stamp taken earlier could still be repeated by a write made now;
// once the clock has left its tick, no later write can.
bool may_still_repeat(const FileStamp& stamp);

// Whether the file was modified less than `nanoseconds` ago (or its time
// lies ahead of the clock).
bool modified_within(const FileStamp& stamp, std::int64_t nanoseconds);

// A 64-bit hash of a byte stream fed in pieces of any size; the same bytes
// give the same value however they were cut. Not for adversaries: it tells
// Jukora's own bytes from another program's edit.
class ContentHash {
 public:
  void add(std::string_view bytes);
  std::uint64_t value() const;

 private:
  void block(const unsigned char* data);

  std::uint64_t lanes_[4] = {0x9E3779B97F4A7C15ULL, 0xC2B2AE3D27D4EB4FULL, 0x165667B19E3779F9ULL,
                             0x27D4EB2F165667C5ULL};
  unsigned char tail_[32] = {};
  std::size_t tail_size_ = 0;
  std::uint64_t total_ = 0;
};

std::uint64_t content_hash(std::string_view bytes);

}  // namespace jukora
