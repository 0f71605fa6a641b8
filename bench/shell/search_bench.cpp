// SPDX-License-Identifier: GPL-3.0-or-later
// How long a keystroke in the search field takes with a large songlist,
// from the key to the narrowed grid on the screen (refilter, model update,
// repaint), and how long folding every row takes the first time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "bench_program.h"
#include "shell/window/form1.h"
#include "shell/window/grid_search.h"
#include "shell/window/search_fold.h"
#include "songlist/recompute.h"
#include "songlist/song_search.h"
#include "songlist/songlist.h"

namespace {

using namespace jukora;

void type_key(QLineEdit& field, Qt::Key key, const QString& text) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(&field, &down);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&field, &up);
  QApplication::processEvents();
}

// Each iteration is one key: the query typed a letter at a time, narrowing
// the rows shown, then taken back a letter at a time, widening them.
void BM_SearchKeystroke(benchmark::State& state) {
  WindowBench bench("jukora-search-bench", static_cast<int>(state.range(0)));
  const auto program = bench.start();
  QLineEdit& field = program->app.window().search().field();
  QApplication::processEvents();
  // Every row holds "song", a tenth of them "7", a few "artist 70".
  const QString query = "song 7 artist 70";
  int typed = 0;
  bool typing = true;
  for (auto _ : state) {
    if (typing)
      type_key(field, Qt::Key_A, query.mid(typed++, 1));
    else
      type_key(field, Qt::Key_Backspace, {}), --typed;
    if (typed == query.size() || typed == 0) typing = !typing;
  }
  program->app.window().hide();
}
BENCHMARK(BM_SearchKeystroke)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first search of a list, when every row is folded: names of plain
// ASCII (0) or each with an accented letter (1).
void BM_SearchFirstFold(benchmark::State& state) {
  Songlist songlist;
  const bool accented = state.range(1) != 0;
  for (int i = 0; i < state.range(0); ++i)
    songlist.add_cells(
        {"", collection_directory(i) + (accented ? " Café" : ""), collection_file(i), collection_score(i)});
  recompute_songlist(songlist);
  for (auto _ : state) {
    SongSearch search(fold_for_search);
    search.set_query("song");
    benchmark::DoNotOptimize(search.shown(songlist).size());
  }
}
BENCHMARK(BM_SearchFirstFold)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
