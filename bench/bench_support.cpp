// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include <fstream>

#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_format.h"

namespace jukora {

std::string collection_directory(int i) {
  return "/home/listener/Music/Artist " + std::to_string(i / 120) + "/Album " + std::to_string(i / 12);
}

std::string collection_file(int i) {
  return std::to_string(i % 12 + 1) + " - Song number " + std::to_string(i) + ".mp3";
}

std::string collection_score(int i) { return std::to_string((i * 7919) % 50); }

void fill_collection(Songlist& songlist, int rows) {
  for (int i = 0; i < rows; ++i)
    songlist.add_cells({"", collection_directory(i), collection_file(i), collection_score(i), "", "", "14:05 6/12/01"});
  recompute_songlist(songlist);
}

void write_collection(const std::string& path, int rows) {
  Songlist songlist;
  fill_collection(songlist, rows);
  std::ofstream(path, std::ios::binary) << songlist_file_text(songlist);
}

}  // namespace jukora
