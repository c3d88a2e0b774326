// Printing a full image (30 channels, every section) on the offscreen
// platform: the listing built, laid out and written as a PDF document; and
// the "Print Out List" dialog recounting its pages after a change of choice.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QSpinBox>
#include <string>

#include "lang/LanguageTexts.h"
#include "data/ModelInfo.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/DecimalSeparator.h"
#include "print/ui/ListingRenderer.h"
#include "print/ui/PrintListDialog.h"
#include "GuiBenchMain.h"

namespace {

using namespace zmp;

void FullImage(ImageStore& image) {
  image.MakeBlank();
  ModelInfo(image).SetRecord(ModelRecord::Default());
  ChannelStore store(image);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    CommitFieldText(ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    CommitFieldText(ChannelField(ch, "tx_frequency"), store.Image(), "150." + std::to_string(100 + 5 * ch));
    CommitFieldChoice(ChannelField(ch, "channel_type"), store.Image(), ch % 3);
  }
}

print::ListingChoice Everything() {
  print::ListingChoice c;
  for (const auto& s : print::ListSections(EditorModules())) c.sections.push_back(s.key);
  return c;
}

void FullListingToPdf(benchmark::State& state) {
  ImageStore image;
  FullImage(image);
  const print::PageHeader header = print::HeaderOf(image, "site.dat", 0);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const QByteArray pdf = print::ListingPdf(print::BuildListing(EditorModules(), image, Everything()), header);
    bytes = static_cast<std::size_t>(pdf.size());
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(FullListingToPdf)->Unit(benchmark::kMillisecond);

void DialogPageCountUpdate(benchmark::State& state) {
  ImageStore image;
  FullImage(image);
  print::CPrintListDlg dialog(EditorModules(), image, Everything());
  QCheckBox* box = dialog.SectionBox("channel_edit");
  for (auto _ : state) {
    box->toggle();  // the count follows at once
    benchmark::DoNotOptimize(dialog.PageCount());
  }
}
BENCHMARK(DialogPageCountUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
