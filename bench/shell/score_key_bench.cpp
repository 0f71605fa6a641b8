// SPDX-License-Identifier: GPL-3.0-or-later
// How long a score change typed into the grid takes to reach the screen
// with a large songlist loaded: key, step, recompute, save, repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <filesystem>
#include <string>

#include "bench_program.h"
#include "bench_support.h"
#include "platform/app_folders.h"
#include "platform/memory_settings_store.h"
#include "platform/settings_keys.h"
#include "player/player_link.h"
#include "shell/window/form1.h"
#include "shell/qt_desktop.h"
#include "shell/window/songlist_view.h"

namespace {

using namespace jukora;

class QuietDesktop : public QtDesktop {
 public:
  void message_box(const std::string&) override {}
};

void press(QWidget& grid, char key) {
  QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(QLatin1Char(key)));
  QApplication::sendEvent(&grid, &down);
  QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(QLatin1Char(key)));
  QApplication::sendEvent(&grid, &up);
  // Paints what the change left to repaint.
  QApplication::processEvents();
}

void BM_ScoreKeyOnScreen(benchmark::State& state) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "jukora-window-bench";
  std::filesystem::create_directories(dir);
  const AppFolders folders{dir.string()};
  MemorySettingsStore settings;
  settings.SaveSetting(sections::kMain, keys::kVisible, "True");
  settings.SaveSetting(sections::kPrefs, keys::kWinampDir, "/bin");
  write_collection(default_songlist_path(folders), static_cast<int>(state.range(0)));
  IdlePlayer link(false, "sh");
  QuietDesktop desktop;
  {
    BenchProgram program(settings, link, desktop, folders);
    program.app.start();
    Form1& window = program.app.window();
    program.app.songlist().SetRow(program.app.songlist().Rows() / 2);
    window.show_songlist();
    QApplication::processEvents();
    bool up = true;
    for (auto _ : state) {
      press(window.MSFlexGrid1(), up ? '+' : '-');
      up = !up;
    }
    window.hide();
  }
  std::filesystem::remove_all(dir);
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
