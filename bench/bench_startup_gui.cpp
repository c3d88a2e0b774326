// Start-up to the main window shown, on the offscreen platform: settings,
// language file, start-up image, main window with menus and tree, and the
// posted command that opens the channel information editor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/Application.h"
#include "app/MainFrame.h"
#include "app/Settings.h"

namespace {

void StartToMainWindow(benchmark::State& state) {
  QTemporaryDir home;
  zmp::SetSettingsFileForTesting(QDir(home.path()).filePath(QStringLiteral("settings.ini")));
  for (auto _ : state) {
    zmp::CFPUApp app;
    zmp::StartOptions o;
    o.programDir = QStringLiteral(ZMP_BIN_DIR);
    o.splash = false;
    if (!app.InitInstance({}, o)) {
      state.SkipWithError("start-up failed");
      break;
    }
    QApplication::processEvents();  // the posted channel information command
    benchmark::DoNotOptimize(app.MainFrame()->isVisible());
  }
}
BENCHMARK(StartToMainWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qapp(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
