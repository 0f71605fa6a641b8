// SPDX-License-Identifier: GPL-3.0-or-later
// How long a score change typed into the grid takes to reach the screen
// with a large songlist loaded: key, step, recompute, save, repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>

#include "bench_program.h"
#include "shell/window/form1.h"
#include "shell/window/songlist_view.h"

namespace {

using namespace jukora;

void press(QWidget& grid, char key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(QLatin1Char(key)));
  QApplication::sendEvent(&grid, &down);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(QLatin1Char(key)));
  QApplication::sendEvent(&grid, &up);
  // Paints what the change left to repaint.
  QApplication::processEvents();
}

void BM_ScoreKeyOnScreen(benchmark::State& state) {
  WindowBench bench("jukora-window-bench", static_cast<int>(state.range(0)));
  const auto program = bench.start();
  Form1& window = program->app.window();
  program->app.songlist().SetRow(program->app.songlist().Rows() / 2);
  window.show_songlist();
  QApplication::processEvents();
  bool up = true;
  for (auto _ : state) {
    press(window.MSFlexGrid1(), up ? '+' : '-');
    up = !up;
  }
  window.hide();
}
BENCHMARK(BM_ScoreKeyOnScreen)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
