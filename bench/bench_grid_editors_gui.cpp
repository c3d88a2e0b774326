// The multi table and test frequency editors opened on the offscreen
// platform, and a spreadsheet's 30-row channel plan (every column) pasted
// into the channel grid through the program's document, with the repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <string>

#include "app/FPUDoc.h"
#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "data/NewImage.h"
#include "editors/EditorModules.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/MultiView.h"
#include "editors/ui/TestFreqView.h"
#include "GuiBenchMain.h"

namespace {

zmp::ImageStore NewImage() {
  zmp::InstallEditorModules();
  zmp::ImageStore image;
  zmp::MakeStartupImage(image, zmp::ModelRecord::Default());
  return image;
}

void MultiTableOpens(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::CMultiView view(doc);
    view.show();
    QApplication::processEvents();
  }
}
BENCHMARK(MultiTableOpens)->Unit(benchmark::kMillisecond);

void TestFrequencyOpens(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::CTestFreqView view(doc);
    view.show();
    QApplication::processEvents();
  }
}
BENCHMARK(TestFrequencyOpens)->Unit(benchmark::kMillisecond);

// RX, TX, type, TX mode, two tones, two RANs and the name of 30 channels.
QString ChannelPlan() {
  static const char* kTypes[] = {"Analog", "Digital", "Mixed"};
  QString text;
  for (int ch = 0; ch < 30; ++ch) {
    char line[160];
    const bool tones = ch % 3 != 1, rans = ch % 3 != 0;
    std::snprintf(line, sizeof line, "%.5f\t%.5f\t%s\tAnalog\t%s\t%s\t%s\t%s\tC%d\n", 146.1 + 0.0125 * ch,
                  150.2 + 0.025 * ch, kTypes[ch % 3], tones ? "88.5" : "---", tones ? "D023N" : "---",
                  rans ? "12" : "---", rans ? "34" : "---", ch % 10);
    text += QString::fromLatin1(line);
  }
  return text;
}

void ChannelPlanPastedWithRepaint(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  const zmp::ImageCopy blank = image.working();
  zmp::CFPUDoc doc(image, nullptr);
  zmp::CChInfoView view(doc);
  view.resize(900, 700);
  view.show();
  QApplication::processEvents();
  const QString plan = ChannelPlan();
  for (auto _ : state) {
    state.PauseTiming();
    image.working() = blank;
    view.Reload();
    view.Grid()->SetCurrentCell(0, 1);
    state.ResumeTiming();
    view.Grid()->PasteText(plan);
    view.repaint();
  }
}
BENCHMARK(ChannelPlanPastedWithRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
