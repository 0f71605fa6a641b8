// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of a large drop and the memory a large songlist takes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench_support.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/memory_settings_store.h"
#include "scoring/add_songs.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace {

using namespace jukora;
namespace fs = std::filesystem;

// A music folder of `files` empty songs, 100 to an album folder, with a cover
// image and a text file in each that the drop must pass over.
fs::path make_tree(const fs::path& top, int files) {
  for (int i = 0; i < files; ++i) {
    fs::path album = top / ("Artist " + std::to_string(i / 1000)) / ("Album " + std::to_string(i / 100));
    if (i % 100 == 0) {
      fs::create_directories(album);
      std::ofstream(album / "cover.jpg");
      std::ofstream(album / "notes.txt");
    }
    std::ofstream(album / (std::to_string(i % 100 + 1) + " - Dropped song " + std::to_string(i) + ".mp3"));
  }
  return top;
}

// A drop of a tree of n audio files onto a list of n rows: the walk, the
// recompute and the save.
void BM_DropTree(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  fs::path base = fs::temp_directory_path() / "jukora-drop-bench";
  fs::remove_all(base);
  fs::path tree = make_tree(base / "music", n);
  AppFolders folders{base.string()};
  MemorySettingsStore settings;
  HeadlessDesktop desktop;
  ImmediateLoop loop;
  DialogMemory dialog;

  for (auto _ : state) {
    state.PauseTiming();
    Songlist songlist;
    fill_collection(songlist, n);
    SonglistFiles files(songlist, settings, desktop, folders);
    AddSongs add(songlist, files, desktop, loop, dialog);
    state.ResumeTiming();

    add.drop({tree.string()});

    state.PauseTiming();
    if (songlist.Rows() != 2 * n + 1) state.SkipWithError("the drop did not add every song");
    state.ResumeTiming();
  }
  fs::remove_all(base);
}
BENCHMARK(BM_DropTree)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Heap taken by a recomputed songlist of n rows and its song index, in MB
// per 100,000 rows.
void BM_SonglistMemory(benchmark::State& state) {
#if defined(__GLIBC__)
  const int n = static_cast<int>(state.range(0));
  double megabytes = 0;
  for (auto _ : state) {
    malloc_trim(0);
    // Blocks large enough to be mapped on their own count too.
    auto heap = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    auto before = heap();
    {
      Songlist songlist;
      fill_collection(songlist, n);
      songlist.contains("", "");  // with its song index, as after the first lookup
      megabytes = static_cast<double>(heap() - before) / (1024.0 * 1024.0);
    }
  }
  state.counters["MB_per_100k_rows"] = megabytes * 100000.0 / n;
#else
  state.SkipWithError("heap statistics need glibc");
#endif
}
BENCHMARK(BM_SonglistMemory)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
