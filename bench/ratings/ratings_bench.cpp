// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of an import into a large list (a 10,000-song rhythmdb.xml and a
// 10,000-row Strawberry database against 100,000 songs: read, preview,
// apply, recompute and save), of reading the tags of 2,000 files with a cold
// and a warm cache, and what one score change costs the event loop with
// both mirrors on.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>
#include <fstream>

#include "bench_support.h"
#include "platform/files.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/file_url.h"
#include "ratings/import_plan.h"
#include "ratings/mpd/mpd_stickers.h"
#include "ratings/rhythmbox/rhythmdb_source.h"
#include "ratings/score_mirrors.h"
#include "ratings/sqlite/player_database_source.h"
#include "ratings/sqlite/player_databases.h"
#include "ratings/tags/tag_files.h"
#include "ratings/tags/tag_rating.h"
#include "ratings/tags/tag_sink.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace {

using namespace jukora;
namespace fs = std::filesystem;

constexpr int kListRows = 100000;

// A folder of `n` songs on disk, the first half of them in the list, the
// rest new to it; the list is the collection with those songs in it.
struct ImportScene {
  explicit ImportScene(int n) : base(fs::temp_directory_path() / "jukora-ratings-bench") {
    fs::remove_all(base);
    fs::create_directories(music);
    for (int i = 0; i < n; ++i) {
      songs.push_back((music / ("Song " + std::to_string(i) + ".mp3")).string());
      std::ofstream(songs.back()).put('x');
    }
  }
  ~ImportScene() { fs::remove_all(base); }
  void fill(Songlist& songlist) const {
    songlist.Clear();
    fill_collection(songlist, kListRows - static_cast<int>(songs.size()) / 2);
    for (std::size_t i = 0; i < songs.size() / 2; ++i)
      songlist.add_cells({"", music.string(), fs::path(songs[i]).filename().string()});
    recompute_songlist(songlist);
  }

  fs::path base;
  fs::path music = base / "music";
  std::vector<std::string> songs;
};

// Read, preview, apply (new songs and untouched ones), recompute, save.
void import_once(benchmark::State& state, const ImportScene& scene, RatingSource& source) {
  MemorySettingsStore settings;
  HeadlessDesktop desktop;
  AppFolders folders{scene.base.string()};
  Songlist songlist;
  SonglistFiles files(songlist, settings, desktop, folders);
  for (auto _ : state) {
    state.PauseTiming();
    scene.fill(songlist);
    state.ResumeTiming();
    const SourceRead read = source.read([](std::size_t, std::size_t) { return true; });
    const ImportPlan plan =
        plan_import(songlist, read, source.name(), RatingRule(), [](const std::string& p) { return is_file(p); });
    const ImportOutcome outcome = apply_import(songlist, files, plan, ImportChoice::kUntouchedSongs);
    if (outcome.added + outcome.updated != scene.songs.size()) state.SkipWithError("not every song was imported");
  }
}

void BM_ImportRhythmdb(benchmark::State& state) {
  const ImportScene scene(static_cast<int>(state.range(0)));
  std::ofstream xml(scene.base / "rhythmdb.xml");
  xml << "<?xml version=\"1.0\" standalone=\"yes\"?>\n<rhythmdb version=\"2.0\">\n";
  for (std::size_t i = 0; i < scene.songs.size(); ++i)
    xml << "  <entry type=\"song\">\n    <title>Song " << i << "</title>\n    <artist>Artist</artist>\n"
        << "    <location>" << file_url_from_path(scene.songs[i]) << "</location>\n    <rating>" << (i % 5 + 1)
        << "</rating>\n    <last-played>1700000000</last-played>\n    <play-count>3</play-count>\n  </entry>\n";
  xml << "</rhythmdb>\n";
  xml.close();
  auto source = rhythmdb_source((scene.base / "rhythmdb.xml").string());
  import_once(state, scene, *source);
}
BENCHMARK(BM_ImportRhythmdb)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ImportStrawberry(benchmark::State& state) {
  const ImportScene scene(static_cast<int>(state.range(0)));
  const std::string path = (scene.base / "strawberry.db").string();
  sqlite3* db = testing::open_database(path);
  testing::run_sql(db, testing::kStrawberrySongs);
  testing::run_sql(db, "BEGIN");
  for (std::size_t i = 0; i < scene.songs.size(); ++i)
    testing::run_sql(db, testing::song_row(testing::Player::kStrawberry, file_url_from_path(scene.songs[i]),
                                           std::to_string((i % 10 + 1) / 10.0), 1700000000));
  testing::run_sql(db, "COMMIT");
  sqlite3_close(db);
  auto source = player_database_source(path);
  import_once(state, scene, *source);
}
BENCHMARK(BM_ImportStrawberry)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(5);

// 2,000 copies of a song that another program rated, read one after the
// other; cold: each file's pages dropped from the cache first.
void BM_ReadTags(benchmark::State& state) {
  const bool cold = state.range(1) != 0;
  const fs::path base = fs::temp_directory_path() / "jukora-tags-bench";
  fs::remove_all(base);
  fs::create_directories(base);
  const std::string first = (base / "0.mp3").string();
  if (!testing::make_song(first) || !testing::mutagen_write(first, {"POPM:Banshee=196", "TXXX=0.8"})) {
    state.SkipWithError("sox, ffmpeg or mutagen is missing");
    return;
  }
  std::vector<std::string> files{first};
  for (int i = 1; i < state.range(0); ++i) {
    files.push_back((base / (std::to_string(i) + ".mp3")).string());
    fs::copy_file(first, files.back());
  }
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      for (const std::string& file : files) {
        const int fd = open(file.c_str(), O_RDONLY);
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
      }
      state.ResumeTiming();
    }
    for (const std::string& file : files)
      if (read_tag_rating(file).half_stars != 8) state.SkipWithError("a file read wrong");
  }
  fs::remove_all(base);
}
BENCHMARK(BM_ReadTags)->Args({2000, 0})->Args({2000, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

// What a score change costs the thread that makes it with both mirrors on:
// the writes themselves happen on the mirrors' own threads.
void BM_ScoreChangeMirrored(benchmark::State& state) {
  const fs::path base = fs::temp_directory_path() / "jukora-mirror-bench";
  fs::remove_all(base);
  fs::create_directories(base);
  const std::string song = (base / "song.flac").string();
  testing::make_song(song);
  MemorySettingsStore settings;
  settings.SaveSetting(sections::kPrefs, keys::kShareMpd, "True");
  settings.SaveSetting(sections::kPrefs, keys::kShareTags, "True");
  settings.SaveSetting(sections::kPlayer, keys::kMpdHost, (base / "mpd-socket").string());
  TagSink tags;
  MpdStickerSink mpd(settings);
  ScoreMirrors mirrors(settings, &mpd, &tags);
  int score = 0;
  for (auto _ : state) {
    mirrors.score_changed(base.string(), "song.flac", std::to_string(++score % 11));
    benchmark::DoNotOptimize(mirrors.take_notices());
  }
  tags.wait_idle(std::chrono::seconds(10));
  fs::remove_all(base);
}
BENCHMARK(BM_ScoreChangeMirrored)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
