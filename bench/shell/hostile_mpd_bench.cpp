// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window is held at most while MPD's place is taken by a broken
// or hostile server and everything that asks MPD is at work (the playing-song
// lookup, a play cycle, score clicks, the sticker mirror, an import, the
// Preferences): the longest time its event loop did not come round, and how
// often the server was connected to.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "bench_support.h"
#include "shell/hostile_mpd_scene.h"

namespace {

using namespace jukora;
using testing::HostileMpd;

void BM_HostileMpdHoldsTheWindow(benchmark::State& state) {
  const auto kind = static_cast<HostileMpd::Kind>(state.range(0));
  state.SetLabel(testing::hostile_mpd_name(kind));
  std::chrono::milliseconds longest{0};
  int connections = 0;
  for (auto _ : state) {
    BenchFolder folder("jukora-hostile-mpd-bench");
    const std::string socket = (folder.path / "mpd-socket").string();
    HostileMpd server(socket, kind);
    testing::MpdAskers askers(folder.path.string(), socket);
    testing::EventLoopWatch watch;
    askers.run(std::chrono::seconds(10));
    longest = std::max(longest, watch.longest());
    connections += server.connections();
  }
  state.counters["longest_ms"] = static_cast<double>(longest.count());
  state.counters["connections_per_10s"] = static_cast<double>(connections) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_HostileMpdHoldsTheWindow)->DenseRange(0, 3)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
