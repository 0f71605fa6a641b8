// A songlist, a recording player and a fixed clock around one PlayModes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "playmodes/play_modes.h"
#include "songlist/date_text.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

namespace jukora::testing {

class CycleFixture : public ::testing::Test {
 protected:
  CycleFixture() {
    settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir);
    settings.SaveSetting(sections::kMain, keys::kLastSet, list_path);
    write_bytes(link.executable_path(dir), "");
  }

  // Rows "1.mp3" .. "n.mp3" in directory "music" with Scores n .. 1, so the
  // recompute keeps that order.
  void fill(int n, std::string_view last_played = kNeverPlayed) {
    for (int i = 1; i <= n; ++i)
      songlist.add_cells({"", "music", std::to_string(i) + ".mp3", std::to_string(n - i + 1), "", "", last_played});
    recompute_songlist(songlist);
  }

  // The songs handed over with a file, as the numbers they were filled with.
  std::vector<int> played() const {
    std::vector<int> out;
    for (const auto& call : link.calls)
      if (call.starts_with("start_with_file ")) out.push_back(std::stoi(get_file_name(call)));
    return out;
  }

  // Ticks with the player stopped until the cycle ends.
  void run(int limit = 100) {
    for (int tick = 0; tick < limit && timer.enabled(); ++tick) modes.tmrJukora_Timer();
    ASSERT_FALSE(timer.enabled()) << "the cycle did not end";
  }

  std::string song(std::string_view file) const { return "music" + std::string(1, kPathSeparator) + std::string(file); }

  TempDir temp;
  std::string dir = temp.path().string();
  std::string list_path = temp.file("list.jk8");
  MemorySettingsStore settings;
  FakeDesktop desktop;
  AppFolders folders{dir};
  DialogMemory dialog;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders, dialog};
  FakeWinampLink link;
  FakeClock clock;
  FakePlayTimer timer;
  PlayModes modes{songlist, files, settings, link, desktop, clock, timer};
};

}  // namespace jukora::testing
