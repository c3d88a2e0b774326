// The image as text, in process, through the functions behind zmp318t-cli's
// fields, set, export, import, diff and check: a full image of 30 channels
// listed field by field (as JSON lines), one assignment, the YAML export, its
// import into a new image of the model, the diff of two full images and the
// check before a write.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "ImageText.h"
#include "lang/LanguageTexts.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"
#include "editors/ChannelStore.h"
#include "editors/EditorModules.h"
#include "fields/ImageCheck.h"
#include "fields/DecimalSeparator.h"

namespace {

using namespace zmp;
using namespace zmp::cli;

void LoadTexts() {
  static const bool loaded = [] {
    Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English");
    SetDecimalSeparator('.');
    return true;
  }();
  (void)loaded;
}

void NewImage(ImageStore& image) {
  image.MakeBlank();
  ModelInfo(image).SetRecord(ModelRecord::Default());
  MakeNewImageForCurrentModel(image);
}

void Set(ImageStore& image, const std::string& key, const std::string& text) {
  const ApplyOutcome r = ApplyAssignment(EditorModules(), image, Assignment{key, Assignment::Op::Text, text});
  if (r.status != ApplyStatus::Ok) std::fprintf(stderr, "%s=%s: %s\n", key.c_str(), text.c_str(), r.message.c_str());
}

// 30 channels of every type, with transmit frequencies, tones, names and
// assorted form settings.
void FullImage(ImageStore& image) {
  NewImage(image);
  for (int ch = 1; ch <= kChannelCount; ++ch) {
    const std::string row = "channel[" + std::to_string(ch) + "].";
    const std::string form = "channel_edit[" + std::to_string(ch) + "].";
    Set(image, row + "rx_frequency", "146." + std::to_string(100 + 5 * ch));
    Set(image, row + "tx_frequency", "150." + std::to_string(100 + 5 * ch));
    std::string name = "C";  // appended: "C" + string trips a false GCC 12 -O2 warning
    name += std::to_string(ch % 10);
    Set(image, row + "name", name);
    if (ch % 3 == 0) {
      Set(image, row + "channel_type", Tx(792_txt));
      Set(image, row + "qt_decode", "88.5");
      Set(image, row + "qt_encode", "D023");
    }
    if (ch % 2 == 0) Set(image, form + "tx_power", Tx(757_txt));
    if (ch % 4 == 0) Set(image, form + "compander", "1");
    Set(image, form + "scrambler_code", std::to_string(1 + ch % 16));
  }
}

void ListEveryField(benchmark::State& state) {
  LoadTexts();
  ImageStore image;
  FullImage(image);
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const FieldListing& f : ListFields(EditorModules(), image)) bytes += FieldJson(f).size();
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(ListEveryField)->Unit(benchmark::kMicrosecond);

void SetOneField(benchmark::State& state) {
  LoadTexts();
  ImageStore image;
  FullImage(image);
  const std::string texts[2] = {Tx(757_txt), Tx(758_txt)};
  const ImageCopy before = image.working();
  ApplyAssignment(EditorModules(), image, Assignment{"channel_edit[15].tx_power", Assignment::Op::Text, texts[0]});
  if (image.working() == before) state.SkipWithError("the assignment changes nothing");
  int i = 1;
  for (auto _ : state) {
    const Assignment a{"channel_edit[15].tx_power", Assignment::Op::Text, texts[i++ & 1]};
    benchmark::DoNotOptimize(ApplyAssignment(EditorModules(), image, a).status);
  }
}
BENCHMARK(SetOneField)->Unit(benchmark::kMicrosecond);

void ExportFullImage(benchmark::State& state) {
  LoadTexts();
  ImageStore image;
  FullImage(image);
  for (auto _ : state) benchmark::DoNotOptimize(ExportYaml(EditorModules(), image).size());
}
BENCHMARK(ExportFullImage)->Unit(benchmark::kMicrosecond);

// Every field committed: the export of a full image into a new image.
void ImportIntoNewImage(benchmark::State& state) {
  LoadTexts();
  ImageStore full;
  FullImage(full);
  const std::string yaml = ExportYaml(EditorModules(), full);
  ImageStore fresh;
  NewImage(fresh);
  const ImageCopy blank = fresh.working();
  for (auto _ : state) {
    state.PauseTiming();
    fresh.working() = blank;
    state.ResumeTiming();
    benchmark::DoNotOptimize(ImportYaml(EditorModules(), fresh, yaml).ok);
  }
  if (fresh.working() != full.working()) state.SkipWithError("the import does not reproduce the image");
}
BENCHMARK(ImportIntoNewImage)->Unit(benchmark::kMicrosecond);

void DiffFullImages(benchmark::State& state) {
  LoadTexts();
  ImageStore a, b;
  FullImage(a);
  FullImage(b);
  for (int ch = 1; ch <= kChannelCount; ch += 3) Set(b, "channel[" + std::to_string(ch) + "].rx_frequency", "147.5");
  Set(b, "channel_edit[2].compander", "1");
  b.UpdateChecksum();
  for (auto _ : state) benchmark::DoNotOptimize(DiffText(DiffImages(EditorModules(), a, b)).size());
}
BENCHMARK(DiffFullImages)->Unit(benchmark::kMicrosecond);

// The check before a write: every field of a full image, keys and inputs
// naming channels and messages, one value outside its range.
void CheckFullImage(benchmark::State& state) {
  LoadTexts();
  ImageStore image;
  FullImage(image);
  Set(image, "cw_message.message_1", "CQ");
  for (int k = 1; k <= 6; ++k) Set(image, "key_assignment[" + std::to_string(k) + "].function", "Channel " + std::to_string(k));
  Set(image, "function_port[1].inputs.function_1", "Send CW Message 1");
  image.Main().SetByte(0x026D, 0xFF);
  if (CheckImage(EditorModules(), image).size() != 1) state.SkipWithError("one problem expected");
  for (auto _ : state) benchmark::DoNotOptimize(CheckImage(EditorModules(), image).size());
}
BENCHMARK(CheckFullImage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
