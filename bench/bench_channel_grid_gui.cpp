// The channel information view's grid widget on the offscreen platform: a
// full refresh of the 30 rows from the image, a paste of 30 channels with the
// reload that follows it, and a channel deleted with the settings it releases.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "lang/LanguageTexts.h"
#include "editors/ui/ChInfoView.h"
#include "editors/ChannelClipboard.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/ui/EditGrid.h"
#include "GuiBenchMain.h"

namespace {

class BenchDocument : public zmp::EditorDocument {
 public:
  zmp::ImageStore image;
  zmp::ModelInfo model{image};
  zmp::ImageStore& Image() override { return image; }
  zmp::ModelInfo& Model() override { return model; }
  bool Commit(const QString&, const std::function<void()>& change) override {
    RunChange(change);
    emit ImageChanged(nullptr);
    return true;
  }
  void OpenEditor(zmp::EditorKind) override {}
  void CloseEditor(zmp::EditorKind) override {}
};

void FillChannels(zmp::ImageStore& image) {
  zmp::ModelInfo(image).SetRecord(zmp::ModelRecord::Default());
  zmp::ChannelStore store(image);
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    zmp::CommitFieldText(zmp::ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    zmp::CommitFieldChoice(zmp::ChannelField(ch, "channel_type"), store.Image(), ch % 3);
    zmp::CommitFieldText(zmp::ChannelField(ch, "qt_decode"), store.Image(), "88.5");
  }
}

void GridWidgetRefresh(benchmark::State& state) {
  BenchDocument doc;
  FillChannels(doc.image);
  zmp::CChInfoView view(doc);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) view.Reload();
}
BENCHMARK(GridWidgetRefresh)->Unit(benchmark::kMicrosecond);

// The same with the repaint of the visible rows that follows on screen.
void GridWidgetRefreshAndPaint(benchmark::State& state) {
  BenchDocument doc;
  FillChannels(doc.image);
  zmp::CChInfoView view(doc);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) {
    view.Reload();
    view.Grid()->viewport()->repaint();
  }
}
BENCHMARK(GridWidgetRefreshAndPaint)->Unit(benchmark::kMicrosecond);

void GridWidgetPasteThirty(benchmark::State& state) {
  BenchDocument doc;
  FillChannels(doc.image);
  zmp::CChInfoView view(doc);
  view.show();
  QApplication::processEvents();
  zmp::TheChannelClipboard().Copy(view.Source().Store(), 0, zmp::kChannelCount - 1);
  view.Grid()->setFocus();
  for (auto _ : state) {
    view.Grid()->SetCurrentCell(0, 1);
    // Paste as the command runs it: one commit, then every row reloaded.
    if (!view.OnPaste()) state.SkipWithError("the paste did nothing");
  }
}
BENCHMARK(GridWidgetPasteThirty)->Unit(benchmark::kMicrosecond);

// A channel deleted from the grid with what names it (the priority channel,
// two keys), released in the same commit, and the grid repainted.
void DeleteChannelWithReleasesAndRepaint(benchmark::State& state) {
  BenchDocument doc;
  FillChannels(doc.image);
  doc.image.Main().SetByte(0x02B6, 3);
  doc.image.Main().SetWord(0x02C0, 0x0321);  // key 1: channel 3
  doc.image.Main().SetWord(0x02C8, 0x0321);  // key 2: channel 3
  const zmp::ImageCopy full = doc.image.working();
  zmp::CChInfoView view(doc);
  view.resize(800, 600);
  view.show();
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    doc.image.working() = full;
    view.Reload();
    state.ResumeTiming();
    doc.Commit(QStringLiteral("Delete"), [&] { zmp::ChannelStore(doc.image).DeleteChannel(2); });
    view.Reload();
    view.Grid()->viewport()->repaint();
  }
  if (doc.image.Main().Byte(0x02B6) != 0xFF) state.SkipWithError("the priority channel was not released");
}
BENCHMARK(DeleteChannelWithReleasesAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
