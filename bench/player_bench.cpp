// SPDX-License-Identifier: GPL-3.0-or-later
// What scoring the playing song costs in the player link: asking a real mpv
// (over its JSON IPC socket) or a real MPD (over its local socket) which
// song plays. The rest of a score change is the same for every player.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/mpd/mpd_link.h"
#include "player/mpd/mpd_server.h"
#include "player/mpv/mpv_ipc.h"
#include "player/mpv/mpv_link.h"
#include "support/fakes.h"

namespace jukora {
namespace {

namespace fs = std::filesystem;

fs::path bench_folder(const std::string& name) {
  fs::path folder = fs::temp_directory_path() / ("jukora-bench-" + name + "-" + std::to_string(getpid()));
  fs::create_directories(folder);
  return folder;
}

void BM_CurrentSongMpv(benchmark::State& state) {
  const fs::path folder = bench_folder("mpv");
  fs::create_directories(folder / "run");
  chmod((folder / "run").c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
  std::ofstream(folder / "mpv") << "#!/bin/sh\nexec mpv --ao=null --vo=null --loop-file=inf \"$@\"\n";
  chmod((folder / "mpv").c_str(), 0755);
  const std::string song = (folder / "a.wav").string();
  testing::write_wav(song);

  const auto mpv = make_mpv_link(AppFolders{(folder / "data").string()});
  MpvLink& link = *mpv;
  link.play_file(folder.string(), song);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (link.current_song(folder.string()).path != song && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  for (auto _ : state) benchmark::DoNotOptimize(link.current_song(folder.string()));
  if (link.current_song(folder.string()).path != song) state.SkipWithError("mpv did not play the song");
  if (auto session = MpvSession::connect(link.socket_path())) session->ask({"quit"});
  fs::remove_all(folder);
}
BENCHMARK(BM_CurrentSongMpv)->Unit(benchmark::kMicrosecond);

void BM_CurrentSongMpd(benchmark::State& state) {
  const fs::path folder = bench_folder("mpd");
  {
    testing::MpdServer server(folder.string());
    // Paused: at a song's end MPD holds back a client that asks without pause.
    server.command("command_list_begin\nadd \"a.wav\"\nplay 0\npause 1\ncommand_list_end");
    MemorySettingsStore settings;
    settings.SaveSetting(sections::kPlayer, keys::kMpdHost, server.socket());
    const auto mpd = make_mpd_link(settings, AppFolders{folder.string()});
    PlayerLink& link = *mpd;
    const std::string song = server.music() + "/a.wav";
    for (auto _ : state) benchmark::DoNotOptimize(link.current_song({}));
    if (link.current_song({}).path != song) state.SkipWithError("MPD did not play the song");
  }
  fs::remove_all(folder);
}
BENCHMARK(BM_CurrentSongMpd)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace jukora
