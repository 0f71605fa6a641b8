// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist with its files in a temporary folder, for the file tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/saved_songlist.h"

namespace jukora {

using ::jukora::testing::FakeDesktop;
using ::jukora::testing::read_bytes;
using ::jukora::testing::TempDir;
using ::jukora::testing::write_bytes;

class SonglistFilesTest : public ::testing::Test, protected ::jukora::testing::SavedSonglist {
 protected:
  std::string path(const std::string& name) const { return temp.file(name); }
  void use(const std::string& name) { settings.SaveSetting("main", "last_set", path(name)); }
  void load(const std::string& name, const std::string& bytes) {
    write_bytes(path(name), bytes);
    use(name);
    files.read_songlist();
  }
  // Another program writes the file: a new file renamed over it (as sync
  // tools write), or the same file rewritten.
  enum class Outside { kRename, kInPlace };
  void outside(const std::string& name, const std::string& bytes, Outside how = Outside::kRename) {
    if (how == Outside::kInPlace) return write_bytes(path(name), bytes);
    write_bytes(path(name) + ".sync-tmp", bytes);
    std::filesystem::rename(path(name) + ".sync-tmp", path(name));
  }
  std::string saved(const std::string& name = "list.jk8") const { return read_bytes(path(name)); }
  std::vector<std::string> files_column() const {
    std::vector<std::string> out;
    for (int i = 1; i < songlist.Rows(); ++i) out.emplace_back(songlist.TextMatrix(i, col::kFile));
    return out;
  }
};

// .jk8 text of songs in /m, never played: {{"a", "3"}, {"b", "1"}}.
inline std::string jk8(const std::vector<std::pair<std::string, std::string>>& songs) {
  std::string text;
  for (const auto& [file, score] : songs) text += "\"/m\",\"" + file + "\",\"" + score + "\",\"00:00 1/1/71\"\r\n";
  return text;
}

}  // namespace jukora
