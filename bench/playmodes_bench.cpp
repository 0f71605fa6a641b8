// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of one play-cycle tick on a large songlist.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"
#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "platform/timer.h"
#include "player/player_link.h"
#include "playmodes/play_modes.h"
#include "songlist/date_text.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace {

using namespace jukora;

class FixedClock : public Clock {
 public:
  DateTime now() override { return {2026, 12, 6, 11, 30, 0}; }
  void reseed() override {}
  double random() override { return 0.5; }
};

class BenchTimer : public Timer {
 public:
  void set_enabled(bool on) override { on_ = on; }
  bool enabled() const override { return on_; }

 private:
  bool on_ = false;
};

// A play cycle over a songlist of its own, the player idle.
struct Cycle {
  explicit Cycle(const std::filesystem::path& dir) : folders{dir.string()} {}
  MemorySettingsStore settings;
  HeadlessDesktop desktop;
  AppFolders folders;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders};
  IdlePlayer link{true, "mpv"};
  FixedClock clock;
  BenchTimer timer;
  PlayModes modes{songlist, files, settings, link, desktop, clock, timer};
};

// The worst case: every song was played within this hour (at different
// minutes), so the picked row fails and the scan reads every Last Played
// before the cycle ends.
void BM_NextSong(benchmark::State& state) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "jukora-bench-playmodes";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "mpv").put('\n');
  Cycle cycle(dir);
  auto& [settings, desktop, folders, songlist, files, link, clock, timer, modes] = cycle;
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, dir.string());
  settings.SaveSetting(sections::kMain, keys::kLastSet, (dir / "list.jk8").string());

  for (int i = 0, rows = static_cast<int>(state.range(0)); i < rows; ++i) {
    std::string folder = "/home/listener/Music/Artist " + std::to_string(i / 120) + "/Album " + std::to_string(i / 12);
    std::string file = std::to_string(i % 12 + 1) + " - Song number " + std::to_string(i) + ".mp3";
    std::string played = format_date_text({2026, 12, 6, 11, i % 60, 0});
    songlist.add_cells({"", folder, file, std::to_string((i * 7919) % 50), "", "", played});
  }
  recompute_songlist(songlist);
  modes.start_cycle({PlayOrder::kRandom, Scope::kAll});
  for (auto _ : state) {
    timer.set_enabled(true);
    modes.tick();
    if (timer.enabled()) state.SkipWithError("a row passed the replay limit");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_NextSong)->Arg(100000)->Unit(benchmark::kMillisecond);

// The "Chance %" column after a change: both Random cycles' odds for every
// row, a third of the songs held back by the replay limit, the floor on.
void BM_ChanceColumn(benchmark::State& state) {
  BenchFolder folder("jukora-bench-chance");
  Cycle cycle(folder.path);
  auto& [settings, desktop, folders, songlist, files, link, clock, timer, modes] = cycle;
  settings.SaveSetting(sections::kPrefs, keys::kTimeBlock, "2");
  save_floor_on(settings, true);
  save_floor_score(settings, 5);
  const int rows = static_cast<int>(state.range(0));
  fill_collection(songlist, rows);
  for (int i = 1; i <= rows; i += 3) songlist.SetTextMatrix(i, col::kLastPlayed, "10:15 12/6/26");
  for (auto _ : state) {
    const ListOdds odds = modes.odds();
    benchmark::DoNotOptimize(odds.all.data());
    benchmark::DoNotOptimize(odds.top.data());
  }
}
BENCHMARK(BM_ChanceColumn)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
