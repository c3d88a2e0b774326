// Start-up work without windows: loading the language file and building a
// blank image with the defaults of a model.
#include <benchmark/benchmark.h>

#include <string>

#include "lang/LanguageTexts.h"
#include "data/ImageStore.h"
#include "data/ModelInfo.h"
#include "data/NewImage.h"

namespace {

const std::string kLanguageFile = std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng";

void LoadLanguageFile(benchmark::State& state) {
  for (auto _ : state) {
    zmp::LanguageTexts texts;
    benchmark::DoNotOptimize(texts.LoadFile(kLanguageFile, "English"));
  }
}
BENCHMARK(LoadLanguageFile)->Unit(benchmark::kMicrosecond);

void BuildStartupImage(benchmark::State& state) {
  zmp::ImageStore image;
  for (auto _ : state) {
    image.MakeBlank();
    benchmark::DoNotOptimize(zmp::MakeStartupImage(image, zmp::ModelRecord::Default()));
    image.TakeSnapshot();
  }
}
BENCHMARK(BuildStartupImage)->Unit(benchmark::kMicrosecond);

void LanguageAndImageTogether(benchmark::State& state) {
  zmp::ImageStore image;
  for (auto _ : state) {
    zmp::LanguageTexts texts;
    benchmark::DoNotOptimize(texts.LoadFile(kLanguageFile, "English"));
    image.MakeBlank();
    zmp::MakeStartupImage(image, std::nullopt);
    image.TakeSnapshot();
  }
}
BENCHMARK(LanguageAndImageTogether)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
