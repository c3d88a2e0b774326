// The optional features, key assignment, function port and remote control
// editors on the offscreen platform: each form built and filled, a commit
// that switches a facility off (with its family removal over every list), an
// option port's direction (every grid reloaded) and a remote code chosen in a
// grid, each with the repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <string>

#include "app/FPUDoc.h"
#include "lang/LanguageTexts.h"
#include "data/NewImage.h"
#include "editors/EditorKinds.h"
#include "editors/EditorModules.h"
#include "editors/FunctionCodes.h"
#include "editors/ui/EditGrid.h"
#include "editors/ui/FeatureView.h"
#include "editors/ui/FieldControls.h"
#include "editors/ui/KeyView.h"
#include "editors/ui/ModuleView.h"
#include "editors/ui/SettingsForm.h"
#include "GuiBenchMain.h"

namespace {

// A new image with the repeat hold timer on and its functions on every list.
void FillLists(zmp::ImageStore& image) {
  auto m = image.Main();
  m.SetByte(0x0291, 30);
  const zmp::FunctionCode codes[] = {zmp::MakeFunctionCode('5', '1'), zmp::MakeFunctionCode('5', '0'),
                                     zmp::MakeFunctionCode('5', '2')};
  for (std::size_t at = 0x02C0; at < 0x0338; at += 2) m.SetWord(at, codes[(at / 2) % 3]);
  for (std::size_t at = 0x0350; at < 0x0360; at += 2) m.SetWord(at, codes[(at / 2) % 3]);
  for (int n = 0; n < 40; n += 3) m.SetByte(0x6500 + 24 * static_cast<std::size_t>(n), 0x01);  // decode entries in use
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

const zmp::EditorModule& Module(zmp::EditorKind kind) { return *zmp::ModuleOf(static_cast<int>(kind)); }

void FunctionPortBuiltAndFilled(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::ModuleView view(doc, Module(zmp::EditorKind::FuncPort));
    benchmark::DoNotOptimize(view.Form());
  }
}
BENCHMARK(FunctionPortBuiltAndFilled)->Unit(benchmark::kMillisecond);

void RemoteControlBuiltAndFilled(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::ModuleView view(doc, Module(zmp::EditorKind::Remote));
    benchmark::DoNotOptimize(view.Form());
  }
}
BENCHMARK(RemoteControlBuiltAndFilled)->Unit(benchmark::kMillisecond);

// Option port 3 chosen as input: the commit, the reload of every grid (the
// input grid gains a row) and the repaint.
void OptionPortDirectionWithReloadAndRepaint(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  zmp::ModuleView view(doc, Module(zmp::EditorKind::FuncPort));
  view.resize(720, 420);
  view.show();
  QApplication::processEvents();
  auto* port = view.findChild<QComboBox*>(QStringLiteral("ctl8515"));
  for (auto _ : state) {
    state.PauseTiming();
    image.Main().SetByte(0x02AA, 0xFF);
    view.Form()->Reload();
    state.ResumeTiming();
    port->setCurrentIndex(0);
    emit port->activated(0);
    view.repaint();
  }
  if (image.Main().Byte(0x02AA) != 0) state.SkipWithError("the direction was not stored");
}
BENCHMARK(OptionPortDirectionWithReloadAndRepaint)->Unit(benchmark::kMillisecond);

// An activation code chosen in the remote input grid, with the repaint.
void RemoteCodeChosenWithRepaint(benchmark::State& state) {
  zmp::ImageStore image = NewImage();
  zmp::CFPUDoc doc(image, nullptr);
  zmp::ModuleView view(doc, Module(zmp::EditorKind::Remote));
  view.resize(720, 420);
  view.show();
  view.Form()->Tabs()->setCurrentIndex(1);
  QApplication::processEvents();
  zmp::EditGrid* grid = view.Form()->GridOf(1);
  for (auto _ : state) {
    state.PauseTiming();
    image.Main().SetByte(0x61B0, 0xFF);
    view.Form()->Reload();
    grid->setFocus();
    grid->BeginCellEdit(0, 1);
    state.ResumeTiming();
    QComboBox* list = grid->ListEditor();
    list->setCurrentIndex(1);
    emit list->activated(1);
    view.repaint();
  }
  if (image.Main().Byte(0x61B0) != 0) state.SkipWithError("the code was not stored");
}
BENCHMARK(RemoteCodeChosenWithRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
