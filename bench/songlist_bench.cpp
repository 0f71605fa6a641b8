// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the operations that touch the whole songlist.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "scoring/score_changes.h"
#include "songlist/numbers.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "songlist/songlist_format.h"

namespace {

using namespace jukora;

struct Fixture {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "jukora-bench";
  AppFolders folders{dir.string()};
  MemorySettingsStore settings;
  HeadlessDesktop desktop;
  Songlist songlist;
  SonglistFiles files{songlist, settings, desktop, folders};

  explicit Fixture(int rows) {
    std::filesystem::create_directories(dir);
    fill_collection(songlist, rows);
  }
  ~Fixture() { std::filesystem::remove_all(dir); }
};

// One score change as the user makes it: the "+" key on a row, with the
// recompute and the save, and the look at the file before it.
void BM_ScoreChange(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  f.files.write_songlist();
  int row = 1;
  for (auto _ : state) {
    row = (row + 7919) % (f.songlist.Rows() - 1) + 1;
    f.songlist.SetRow(row);
    step_scores(f.songlist, f.files, ScoreDirection::kUp, range_of_selection(f.songlist));
  }
}
BENCHMARK(BM_ScoreChange)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two halves of a score change, to show where its time goes: the
// recompute after one row's score went up, and the save.
void BM_Recompute(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  int row = 1;
  for (auto _ : state) {
    row = (row + 7919) % (f.songlist.Rows() - 1) + 1;
    f.songlist.SetTextMatrix(row, col::kScore, stepped_score(f.songlist.TextMatrix(row, col::kScore), 1));
    recompute_songlist(f.songlist);
  }
}
BENCHMARK(BM_Recompute)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SaveSonglist(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) f.files.write_songlist();
}
BENCHMARK(BM_SaveSonglist)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What no crash-safe save of those 100,000 rows can go below: the same bytes
// written to a new file beside the list, flushed to disk, renamed over it,
// and the rename flushed, with nothing else. The saves above are judged
// against it in the same run.
void BM_SaveFloor(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const std::string bytes = songlist_file_text(f.songlist);
  const std::string path = (f.dir / "floor.jk8").string(), temp = path + ".saving";
  for (auto _ : state) {
    int fd = open(temp.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0 || !write_all(fd, bytes) || fdatasync(fd) != 0 || close(fd) != 0 ||
        std::rename(temp.c_str(), path.c_str()) != 0) {
      state.SkipWithError("the floor's save failed");
      break;
    }
    int dir = open(f.dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    fsync(dir);
    close(dir);
  }
}
BENCHMARK(BM_SaveFloor)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// A list whose one song holds a field of `megabytes`: the save's time grows
// with the bytes and no faster.
void BM_SaveLongField(benchmark::State& state) {
  Fixture f(1000);
  f.songlist.SetTextMatrix(1, col::kDirectory, std::string(static_cast<std::size_t>(state.range(0)) << 20, 'x'));
  for (auto _ : state) f.files.write_songlist();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * (state.range(0) << 20));
}
BENCHMARK(BM_SaveLongField)->Arg(5)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadSonglist(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  f.files.write_songlist();
  for (auto _ : state) f.files.read_songlist();
}
BENCHMARK(BM_LoadSonglist)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
