// The signalling forms on the offscreen platform: each form built, filled and
// shown, the CW ID view following the channel edit form's Page Up (channel
// edit form and CW ID view reloaded and repainted), and a typed commit and a
// spin step in the 5-tone and vendor tone forms with their repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <functional>
#include <memory>
#include <string>

#include "app/FPUDoc.h"
#include "lang/LanguageTexts.h"
#include "data/NewImage.h"
#include "editors/ChannelFields.h"
#include "editors/ChannelStore.h"
#include "editors/CwMessageFields.h"
#include "editors/DtmfFields.h"
#include "editors/EmbeddedMessageFields.h"
#include "editors/FiveToneFields.h"
#include "editors/ScanInfoFields.h"
#include "editors/VendorToneFields.h"
#include "editors/ui/BeatShiftView.h"
#include "editors/ui/CWIDView.h"
#include "editors/ui/ChEditView.h"
#include "editors/ui/FieldControls.h"
#include "editors/ui/FiveToneView.h"
#include "editors/ui/ModuleView.h"
#include "GuiBenchMain.h"

namespace {

// A new image with all 30 channels, each with a transmit frequency and CW ID on.
void FillChannels(zmp::ImageStore& image) {
  zmp::ModelInfo(image).SetRecord(zmp::ModelRecord::Default());
  zmp::ApplyNewImageDefaults(image, false, false);
  zmp::ChannelStore store(image);
  for (int ch = 0; ch < zmp::kChannelCount; ++ch) {
    zmp::CommitFieldText(zmp::ChannelField(ch, "rx_frequency"), store.Image(), "146." + std::to_string(100 + 5 * ch));
    zmp::CommitFieldText(zmp::ChannelField(ch, "tx_frequency"), store.Image(), "146." + std::to_string(700 + 5 * ch));
    zmp::CommitFieldCheck(zmp::ChannelField(ch, "cw_id"), store.Image(), true);
  }
}

using Make = std::function<QWidget*(zmp::EditorDocument&)>;

// Built, filled, shown and painted, then closed.
void FormOpens(benchmark::State& state, const Make& make) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  doc.SetCurrentChannel(9);
  for (auto _ : state) {
    std::unique_ptr<QWidget> view(make(doc));
    view->show();
    view->repaint();
    QApplication::processEvents();
  }
}

QWidget* Module(zmp::EditorDocument& doc, const zmp::EditorModule& m) { return new zmp::ModuleView(doc, m); }

BENCHMARK_CAPTURE(FormOpens, Dtmf, Make([](auto& d) { return Module(d, zmp::DtmfModule()); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, ScanInformation, Make([](auto& d) { return Module(d, zmp::ScanInfoModule()); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, CwId, Make([](auto& d) { return new zmp::CCWIDView(d); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, CwMessage, Make([](auto& d) { return Module(d, zmp::CwMessageModule()); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, BeatShift, Make([](auto& d) { return new zmp::CBeatShiftView(d); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, EmbeddedMessage,
                  Make([](auto& d) { return Module(d, zmp::EmbeddedMessageModule()); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, FiveTone, Make([](auto& d) { return new zmp::CFiveToneView(d); }))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FormOpens, VendorTone, Make([](auto& d) { return Module(d, zmp::VendorToneModule()); }))
    ->Unit(benchmark::kMillisecond);

// One commit in an open form (a typed value, or a spin step), its undo step,
// the form's reload and the repaint.
void CommitWithRepaint(benchmark::State& state, const Make& make, int control, bool spin) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  std::unique_ptr<QWidget> view(make(doc));
  view->show();
  QApplication::processEvents();
  auto* field = view->findChild<zmp::FieldSpin*>(QStringLiteral("ctl%1").arg(control));
  if (!field) {
    state.SkipWithError("no such control");
    return;
  }
  bool up = true;
  for (auto _ : state) {
    if (spin) field->stepBy(up ? 1 : -1);
    else emit field->TextCommitted(up ? QStringLiteral("100") : QStringLiteral("101"));
    up = !up;
    view->repaint();
  }
}
BENCHMARK_CAPTURE(CommitWithRepaint, FiveToneTonePeriod,
                  Make([](auto& d) { return new zmp::CFiveToneView(d); }), 7001, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CommitWithRepaint, VendorToneSpin, Make([](auto& d) { return Module(d, zmp::VendorToneModule()); }),
                  8100, true)
    ->Unit(benchmark::kMillisecond);

// Page Up in the channel edit form: the form steps its channel, the CW ID
// view follows; both are repainted.
void CwIdFollowsPageUp(benchmark::State& state) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  zmp::CChEditView::ShowChannel(0);
  zmp::CChEditView edit(doc);
  zmp::CCWIDView cw(doc);
  edit.show();
  cw.show();
  QApplication::processEvents();
  QWidget* name = edit.ValueControl("name");
  name->setFocus();
  for (auto _ : state) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(name, &press);
    edit.repaint();
    cw.repaint();
  }
  if (cw.Channel() != edit.Channel()) state.SkipWithError("the CW ID view did not follow");
}
BENCHMARK(CwIdFollowsPageUp)->Unit(benchmark::kMillisecond);

// The CW ID view alone following a change of the current channel.
void CwIdFollowsChannelChange(benchmark::State& state) {
  zmp::ImageStore image;
  FillChannels(image);
  zmp::CFPUDoc doc(image, nullptr);
  zmp::CCWIDView cw(doc);
  cw.show();
  QApplication::processEvents();
  int ch = 0;
  for (auto _ : state) {
    doc.SetCurrentChannel(ch = (ch + 1) % zmp::kChannelCount);
    cw.repaint();
  }
}
BENCHMARK(CwIdFollowsChannelChange)->Unit(benchmark::kMillisecond);

}  // namespace

ZMP_GUI_BENCHMARK_MAIN()
