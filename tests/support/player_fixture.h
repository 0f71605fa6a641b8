// SPDX-License-Identifier: GPL-3.0-or-later
// A songlist saved in a temporary folder, a recording player, a fixed clock
// and the play modes around them.
#pragma once

#include <gtest/gtest.h>

#include "platform/settings_keys.h"
#include "playmodes/play_modes.h"
#include "songlist/date_text.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "support/saved_songlist.h"

namespace jukora::testing {

class PlayerFixture : public ::testing::Test, protected SavedSonglist {
 protected:
  PlayerFixture() {
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir);
    settings.SaveSetting(sections::kMain, keys::kLastSet, list);
    write_bytes(link.folder_program(dir), "");
    // Looked at directly: a loaded test machine must not make a song unreachable.
    modes.look_at_song = [](const std::string& path, auto) { return look_at_file(path); };
  }
  // Rows "1.mp3" .. "n.mp3" in the folder `music`, with Scores n .. 1; the
  // files exist.
  void fill(int n, std::string_view last_played = kNeverPlayed) {
    songlist.Clear();
    std::filesystem::create_directories(music);
    for (int i = 1; i <= n; ++i) {
      write_bytes(song(i), "");
      songlist.add_cells({"", music, std::to_string(i) + ".mp3", std::to_string(n - i + 1), "", "", last_played});
    }
    recompute_songlist(songlist);
  }
  std::string song(int i) const { return join_path(music, std::to_string(i) + ".mp3"); }
  std::string cells(int row, int a, int b) const {
    return std::string(songlist.TextMatrix(row, a)) + "," + std::string(songlist.TextMatrix(row, b));
  }
  // The numbers of the songs handed over, in order, after ticking with the
  // player stopped until the cycle ends.
  std::vector<int> run() {
    for (int tick = 0; tick < 100 && timer.enabled(); ++tick) modes.tick();
    EXPECT_FALSE(timer.enabled());
    std::vector<int> out;
    for (const auto& call : link.calls)
      if (call.starts_with("play_file ")) out.push_back(std::stoi(get_file_name(call)));
    return out;
  }

  std::string dir = temp.path().string(), list = temp.file("list.jk8"), music = temp.file("m");
  FakePlayerLink link;
  FakeClock clock;
  FakeTimer timer;
  PlayModes modes{songlist, files, settings, link, desktop, clock, timer};
};

}  // namespace jukora::testing
