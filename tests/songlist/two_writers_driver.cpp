// SPDX-License-Identifier: GPL-3.0-or-later
// One of the two Jukoras of the two-writers test, headless: settings of its
// own, the shared songlist, and COUNT rounds of adding a song of its own and
// raising the score of the song both raise.
// Usage: two_writers_driver LIST NAME COUNT
#include <chrono>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "scoring/score_changes.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"
#include "support/fakes.h"

int main(int argc, char** argv) {
  using namespace jukora;
  if (argc != 4) return 2;
  const std::string list = argv[1], name = argv[2];
  const int count = std::atoi(argv[3]);
  MemorySettingsStore settings;
  settings.SaveSetting("main", "last_set", list);
  testing::FakeDesktop desktop;
  AppFolders folders{std::string(list.substr(0, list.rfind('/')))};
  Songlist songlist;
  SonglistFiles files(songlist, settings, desktop, folders);
  files.read_songlist();
  // Pauses of their own make the two take turns differently on every run.
  std::mt19937 random(static_cast<unsigned>(std::hash<std::string>()(name) ^ std::random_device()()));
  for (int i = 0; i < count; ++i) {
    files.apply(addition({{"/m", name + "-" + std::to_string(i) + ".wav"}}, ChangeSource::kWindow));
    const int row = songlist.find("/m", "both.wav", 1, songlist.Rows() - 1);
    if (row == 0) return 3;
    songlist.SetRow(row);
    step_scores(songlist, files, ScoreDirection::kUp, range_of_selection(songlist));
    if (random() % 4 == 0) {
      int top = 1;
      files.reread_if_changed(top);  // as the idle watch would
    }
    if (random() % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(random() % 2000));
  }
  // Saves the other one kept waiting are made before leaving, as Exit does.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (files.has_unsaved_change() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    files.write_songlist();
  }
  return files.has_unsaved_change() ? 4 : 0;
}
