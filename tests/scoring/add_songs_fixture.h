// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist saved in a temporary data folder, a made-up music folder beside
// it, and the intake wired to fakes and a steppable steady clock.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scoring/add_songs.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora::testing {

using Songs = std::vector<std::pair<std::string, std::string>>;

class AddSongsTest : public ::testing::Test, protected SavedSonglist {
 protected:
  std::string make_file(const std::string& relative) {
    std::filesystem::path path = (music / relative).make_preferred();
    std::filesystem::create_directories(path.parent_path());
    write_bytes(path.string(), "x");
    return path.string();
  }
  std::string in(const std::string& name) const { return join_path(root, name); }
  // (Directory, File) of every data row from the top.
  Songs songs() const {
    Songs out;
    for (int i = 1; i < songlist.Rows(); ++i)
      out.emplace_back(songlist.TextMatrix(i, col::kDirectory), songlist.TextMatrix(i, col::kFile));
    return out;
  }
  std::string saved() const { return read_bytes(default_songlist_path(folders)); }

  std::filesystem::path music = temp.path() / "music";
  std::string root = music.string();
  std::chrono::steady_clock::time_point clock_now{};
  std::chrono::milliseconds clock_step{0};
  AddSongs add{songlist, files, desktop, loop, dialog, [this] { return clock_now += clock_step; }};
};

}  // namespace jukora::testing
