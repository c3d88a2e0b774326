// The optional features and key assignment editors on the offscreen
// platform: each form built and filled, and a commit that switches a
// facility off (with its family removal over every list) and the repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "app/FPUDoc.h"
#include "app/LanguageTexts.h"
#include "data/NewImage.h"
#include "editors/FunctionCodes.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/FeatureView.h"
#include "editors/ui/FieldControls.h"
#include "editors/ui/KeyView.h"
#include "editors/ui/SettingsForm.h"

namespace {

// A new image with the repeat hold timer on and its functions on every list.
void FillLists(zmp::ImageStore& image) {
  auto m = image.Main();
  m.SetByte(0x0291, 30);
  const zmp::FunctionCode codes[] = {zmp::MakeFunctionCode('5', '1'), zmp::MakeFunctionCode('5', '0'),
                                     zmp::MakeFunctionCode('5', '2')};
  for (std::size_t at = 0x02C0; at < 0x0338; at += 2) m.SetWord(at, codes[(at / 2) % 3]);
  for (std::size_t at = 0x0350; at < 0x0360; at += 2) m.SetWord(at, codes[(at / 2) % 3]);
}

zmp::ImageStore NewImage() {
  zmp::ImageStore image;
  image.MakeBlank();
  zmp::ApplyNewImageDefaults(image, true, true);
  FillLists(image);
  return image;
}

void FeatureFormBuiltAndFilled(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::CFeatureView view(doc);
    benchmark::DoNotOptimize(view.Form());
  }
}
BENCHMARK(FeatureFormBuiltAndFilled)->Unit(benchmark::kMillisecond);

void KeyFormBuiltAndFilled(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::CKeyView view(doc);
    benchmark::DoNotOptimize(view.Grid());
  }
}
BENCHMARK(KeyFormBuiltAndFilled)->Unit(benchmark::kMillisecond);

// Repeat Hold Timer typed as 0: the commit, the removal of family 2 from
// every list in the same undo step, the reload and the repaint.
void RepeatHoldOffWithFamilyRemovalAndRepaint(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  zmp::CFeatureView view(doc);
  view.resize(900, 700);
  view.show();
  QApplication::processEvents();
  auto* hold = view.findChild<zmp::FieldSpin*>(QStringLiteral("ctl3005"));
  for (auto _ : state) {
    state.PauseTiming();
    FillLists(image);
    view.Form()->Reload();
    state.ResumeTiming();
    emit hold->TextCommitted(QStringLiteral("0"));
    view.repaint();
  }
  if (image.Main().Word(0x02F0) != zmp::kNoFunction) state.SkipWithError("the family was not removed");
}
BENCHMARK(RepeatHoldOffWithFamilyRemovalAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zmp::Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
