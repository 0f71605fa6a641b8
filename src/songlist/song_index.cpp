// SPDX-License-Identifier: GPL-3.0-or-later
#include "songlist/song_index.h"

namespace jukora {

namespace {

// FNV-1a over both parts with a separator, finished with a 64-bit mixer so
// the low bits (the table position) depend on every byte.
std::uint64_t mix(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

std::uint64_t fnv(std::uint64_t h, std::string_view text) {
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ULL;
  return h;
}

}  // namespace

std::uint64_t song_hash(const SongKey& key) {
  std::uint64_t h = fnv(0xcbf29ce484222325ULL, folder_key(key.directory));
  h = (h ^ 0xffU) * 0x100000001b3ULL;
  return mix(fnv(h, key.file));
}

}  // namespace jukora
