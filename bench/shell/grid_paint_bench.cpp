// SPDX-License-Identifier: GPL-3.0-or-later
// How long the grid takes to paint a screenful whatever its rows hold: a
// field of many megabytes must not cost more than a screen of songs.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_program.h"
#include "shell/window/form1.h"
#include "shell/window/songlist_view.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"

namespace {

using namespace jukora;

// Notes the first paint of a widget.
class PaintSeen : public QObject {
 public:
  explicit PaintSeen(QWidget& widget) { widget.installEventFilter(this); }
  bool seen = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) seen = true;
    return QObject::eventFilter(watched, event);
  }
};

// A screenful of songs of which the first `long rows` hold `megabytes` in
// both Directory and File.
void BM_RepaintLongTexts(benchmark::State& state) {
  WindowBench bench("jukora-paint-bench", std::nullopt, false);
  const auto program = bench.start();
  Form1& window = program->app.window();
  Songlist& songlist = program->app.songlist();
  const std::string text(static_cast<std::size_t>(state.range(0)) << 20, 'x');
  for (int i = 0; i < 40; ++i) {
    if (i < state.range(1))
      songlist.add_cells({"", "/m/" + text + std::to_string(i), text + ".mp3", "2"});
    else
      songlist.add_cells({"", collection_directory(i), collection_file(i), "1"});
  }
  recompute_songlist(songlist);
  window.show_songlist();
  window.show();
  QApplication::processEvents();
  QWidget& viewport = *window.MSFlexGrid1().viewport();
  for (auto _ : state) viewport.repaint();
  window.hide();
}
BENCHMARK(BM_RepaintLongTexts)
    ->ArgsProduct({{0}, {0}})
    ->Args({5, 1})
    ->Args({100, 1})
    ->Args({1, 40})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The songlist file with its records in a shuffled order, as another program
// may leave it: the load must sort it.
void shuffle_records(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> records;
  for (std::string line; std::getline(in, line);) records.push_back(line);
  in.close();
  std::shuffle(records.begin(), records.end(), std::mt19937(7));
  std::ofstream out(path, std::ios::binary);
  for (const std::string& record : records) out << record << '\n';
}

// Start-up with a songlist of `rows` songs (in score order, or shuffled)
// until its first screen is painted: the load, the recompute, the grid's
// model, the columns sized to their texts and the paint of what shows.
void BM_FirstScreen(benchmark::State& state) {
  WindowBench bench("jukora-first-screen-bench", static_cast<int>(state.range(0)));
  if (state.range(1)) shuffle_records(default_songlist_path(bench.folders));
  for (auto _ : state) {
    auto program = std::make_unique<BenchProgram>(bench.settings, bench.link, bench.desktop, bench.folders);
    PaintSeen painted(*program->app.window().MSFlexGrid1().viewport());
    program->app.start();
    while (!painted.seen) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    state.PauseTiming();
    program.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstScreen)
    ->Args({0, 0})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
