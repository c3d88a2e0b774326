// The channel grid's work without windows: reading every cell of the 30 rows
// from the image (what a full refresh of the grid does) and pasting 30
// channels from the channel clipboard.
#include <benchmark/benchmark.h>

#include <string>

#include "lang/LanguageTexts.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelGridSource.h"

namespace {

void LoadTexts() {
  static const bool loaded = [] {
    zmp::Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English");
    return true;
  }();
  (void)loaded;
}

// 30 channels of every type, with tones, RAN and names.
void FillChannels(zmp::ImageStore& image) {
  zmp::ModelInfo(image).SetRecord(zmp::ModelRecord::Default());
  zmp::ChannelStore store(image);
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    zmp::CommitFieldText(zmp::ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    zmp::CommitFieldText(zmp::ChannelField(ch, "tx_frequency"), store.Image(), "150." + std::to_string(100 + 5 * ch));
    zmp::CommitFieldChoice(zmp::ChannelField(ch, "channel_type"), store.Image(), ch % 3);
    zmp::CommitFieldText(zmp::ChannelField(ch, "qt_decode"), store.Image(), "88.5");
    zmp::CommitFieldText(zmp::ChannelField(ch, "qt_encode"), store.Image(), "D023");
    zmp::CommitFieldText(zmp::ChannelField(ch, "ran_decode"), store.Image(), "12");
  }
}

void FullGridRefresh(benchmark::State& state) {
  LoadTexts();
  zmp::ImageStore image;
  FillChannels(image);
  zmp::ChannelGridSource source(image);
  for (auto _ : state) {
    std::size_t cells = 0;
    for (int r = 0; r < source.RowCount(); ++r) cells += zmp::RowTexts(source, r).size();
    benchmark::DoNotOptimize(cells);
  }
}
BENCHMARK(FullGridRefresh)->Unit(benchmark::kMicrosecond);

void PasteThirtyChannels(benchmark::State& state) {
  LoadTexts();
  zmp::ImageStore image;
  FillChannels(image);
  zmp::ChannelStore store(image);
  zmp::ChannelClipboard clipboard;
  clipboard.Copy(store, 0, zmp::kChannelCount - 1);
  for (auto _ : state) benchmark::DoNotOptimize(clipboard.Paste(store, 0).pasted);
}
BENCHMARK(PasteThirtyChannels)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
