// SPDX-License-Identifier: GPL-3.0-or-later
// How long "Statistics" takes to open on a large collection with a long
// history: the songs counted per score, the weeks and the selected song
// asked of the history's worker, the charts built and the window painted.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <string>

#include "bench_program.h"
#include "history/history_recorder.h"
#include "shell/history/statistics_window.h"
#include "songlist/songlist.h"

namespace {

using namespace jukora;

// `count` events over the last year, half of them plays, spread over every
// song of the list; one in a hundred a change of the first song's score.
void fill_history(HistoryStore& store, const Songlist& songlist, int count) {
  const std::int64_t now = unix_now();
  std::vector<HistoryEvent> events;
  events.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int row = i % 100 == 0 ? 1 : 1 + i % (songlist.Rows() - 1);
    std::string directory(songlist.TextMatrix(row, col::kDirectory)), file(songlist.TextMatrix(row, col::kFile));
    const std::int64_t time = now - (static_cast<std::int64_t>(i) * 7919) % (365 * 24 * 3600);
    if (i % 2 == 0) {
      events.push_back({time, ScoreChange{directory, file, i % 7, i % 7 + 1, ChangeSource::kTray}});
    } else {
      events.push_back({time, HandedOver{directory, file}});
    }
  }
  store.wait_committed(store.append(std::move(events)), std::chrono::minutes(5));
}

bool charts_ready(StatisticsWindow& window) {
  for (auto chart : {StatisticsWindow::kPlaysPerWeek, StatisticsWindow::kSongScore})
    if (window.chart(chart).series().isEmpty()) return false;
  return true;
}

void BM_OpenStatistics(benchmark::State& state) {
  WindowBench bench("jukora-statistics-bench", static_cast<int>(state.range(0)), false);
  const auto program = bench.start();
  fill_history(program->app.history().store(), program->app.songlist(), static_cast<int>(state.range(1)));
  program->app.songlist().SetRow(1);
  for (auto _ : state) {
    program->app.history().show_statistics();
    StatisticsWindow& window = *program->app.history().statistics_window();
    while (!charts_ready(window)) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    benchmark::DoNotOptimize(window.grab());
    state.PauseTiming();
    delete &window;
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenStatistics)->Args({100000, 200000})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
