// The data memory map on the offscreen platform, in the program as started
// with "memmap" (main window, channel grid, the map beside it), over an image
// of 30 channels:
//  - a commit through the document (a typed RX frequency) with everything the
//    map does after it (the fields walked anew, the byte named) and the
//    repaint of its visible rows; the goal is a frame, 16 ms;
//  - the same without the commit (the map's own share);
//  - scrolling the 26880-byte main block from the first row to the last, one
//    wheel step (3 rows) and one page at a time, each step repainted; the
//    counter max_ms is the slowest step of the run (a stall would show there).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "app/FPUDoc.h"
#include "app/MainFrame.h"
#include "app/MemoryMapWindow.h"
#include "ui/Messages.h"
#include "app/Settings.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"

namespace {

using Clock = std::chrono::steady_clock;

// The program started with "memmap", its image holding 30 channels.
struct Program {
  QTemporaryDir home;
  std::unique_ptr<zmp::CFPUApp> app;
  zmp::CMemoryMapWnd* map = nullptr;

  Program() {
    zmp::SetSettingsFileForTesting(QDir(home.path()).filePath(QStringLiteral("settings.ini")));
    app = std::make_unique<zmp::CFPUApp>();
    zmp::StartOptions o;
    o.programDir = QStringLiteral(ZMP_BIN_DIR);
    o.splash = false;
    if (!app->InitInstance({"memmap"}, o)) return;
    QApplication::processEvents();  // the posted channel grid and map
    map = app->MainFrame()->MemoryMapWindow();
    zmp::ChannelStore store(app->Image());
    for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
      zmp::CommitFieldText(zmp::ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
      zmp::CommitFieldText(zmp::ChannelField(ch, "tx_frequency"), store.Image(), "150." + std::to_string(100 + 5 * ch));
    }
    if (!map) return;
    map->Refresh();
    map->resize(900, 700);
    map->View()->SetCursor(zmp::kRecordAreaStart);
    QApplication::processEvents();
  }
  ~Program() {
    app.reset();
    zmp::SetSettingsFileForTesting({});
  }
};

void CommitAndRepaint(benchmark::State& state) {
  Program p;
  if (!p.map) return state.SkipWithError("the map did not open");
  zmp::CFPUDoc& doc = p.app->MainFrame()->Doc();
  zmp::MemoryMapView* view = p.map->View();
  int i = 0;
  for (auto _ : state) {
    const std::string rx = (++i % 2) ? "146.5" : "146.5125";
    doc.Commit(QStringLiteral("RX"), [&] {
      zmp::CommitFieldText(zmp::ChannelField(0, "rx_frequency"), zmp::ChannelStore(p.app->Image()).Image(), rx);
    });
    view->viewport()->repaint();
  }
}
BENCHMARK(CommitAndRepaint)->Unit(benchmark::kMillisecond);

void RefreshAndRepaint(benchmark::State& state) {
  Program p;
  if (!p.map) return state.SkipWithError("the map did not open");
  for (auto _ : state) {
    p.map->Refresh();
    p.map->View()->viewport()->repaint();
  }
}
BENCHMARK(RefreshAndRepaint)->Unit(benchmark::kMillisecond);

// Steps of rowsPerStep rows (0: a page) from the first row to the last.
void ScrollMainBlock(benchmark::State& state) {
  Program p;
  if (!p.map) return state.SkipWithError("the map did not open");
  QScrollBar* bar = p.map->View()->verticalScrollBar();
  const int step = state.range(0) ? static_cast<int>(state.range(0)) : bar->pageStep();
  double slowest = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + step);
    p.map->View()->viewport()->repaint();
    slowest = std::max(slowest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  state.counters["max_ms"] = slowest;
  state.counters["rows"] = static_cast<double>(bar->maximum() + bar->pageStep());
}
BENCHMARK(ScrollMainBlock)->Arg(3)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qapp(argc, argv);
  zmp::SetMessageHook([](const zmp::MessageRequest&) { return zmp::Answer::Ok; });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
