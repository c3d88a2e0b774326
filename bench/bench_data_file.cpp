// Loading and saving a data file (52039 bytes) on the local disk.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "data/DataFile.h"
#include "data/NewImage.h"

namespace {

std::string BenchPath() {
  return (std::filesystem::temp_directory_path() / ("zmp-bench-" + std::to_string(::getpid()) + ".dat")).string();
}

void SaveDataFile(benchmark::State& state) {
  zmp::ImageStore image;
  zmp::MakeStartupImage(image, std::nullopt);
  const std::string path = BenchPath();
  for (auto _ : state) benchmark::DoNotOptimize(zmp::WriteDataFile(path, image, {0x5A, std::nullopt}).code);
  std::filesystem::remove(path);
}
BENCHMARK(SaveDataFile)->Unit(benchmark::kMicrosecond);

void LoadDataFile(benchmark::State& state) {
  zmp::ImageStore image;
  zmp::MakeStartupImage(image, std::nullopt);
  const std::string path = BenchPath();
  zmp::WriteDataFile(path, image, {0x5A, std::nullopt});
  for (auto _ : state) benchmark::DoNotOptimize(zmp::ReadDataFile(path, image, {}).code);
  std::filesystem::remove(path);
}
BENCHMARK(LoadDataFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
