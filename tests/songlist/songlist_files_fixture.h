// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist with its files in a temporary folder, for the file tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
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
  std::vector<std::string> files_column() const {
    std::vector<std::string> out;
    for (int i = 1; i < songlist.Rows(); ++i) out.emplace_back(songlist.TextMatrix(i, col::kFile));
    return out;
  }
};

}  // namespace jukora
