// Settings forms built from field tables on the offscreen platform: the
// channel edit form built and filled, and one commit through the program's
// document (undo step, change notification, reload) with its repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <string>

#include "app/FPUDoc.h"
#include "editors/ChannelFields.h"
#include "lang/LanguageTexts.h"
#include "editors/ChannelStore.h"
#include "editors/ui/ChEditView.h"
#include "GuiBenchMain.h"

namespace {

void FillChannels(zmp::ImageStore& image) {
  zmp::ModelInfo(image).SetRecord(zmp::ModelRecord::Default());
  zmp::ChannelStore store(image);
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    zmp::CommitFieldText(zmp::ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    zmp::CommitFieldText(zmp::ChannelField(ch, "tx_frequency"), store.Image(), "146." + std::to_string(700 + 5 * ch));
    zmp::CommitFieldChoice(zmp::ChannelField(ch, "channel_type"), store.Image(), ch % 3);
  }
}

void ChannelFormBuiltAndFilled(benchmark::State& state) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  for (auto _ : state) {
    zmp::CChEditView form(doc);
    benchmark::DoNotOptimize(form.ValueControl("rx_frequency"));
  }
}
BENCHMARK(ChannelFormBuiltAndFilled)->Unit(benchmark::kMillisecond);

void ChannelFormCommitWithRepaint(benchmark::State& state) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  zmp::CChEditView form(doc);
  form.show();
  QApplication::processEvents();
  auto* power = static_cast<QComboBox*>(form.ValueControl("tx_power"));
  int i = 0;
  for (auto _ : state) {
    const int index = (++i) % power->count();
    power->setCurrentIndex(index);
    emit power->activated(index);
    form.repaint();
  }
}
BENCHMARK(ChannelFormCommitWithRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
