// The start of every GUI benchmark program: the offscreen platform, one
// QApplication, the program's English texts, "." as the decimal separator and
// message boxes answered at once; then the registered benchmarks run.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>

#include "lang/LanguageTexts.h"
#include "ui/Messages.h"
#include "fields/DecimalSeparator.h"

namespace zmp::bench {

inline int RunGuiBenchmarks(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Texts().LoadFile(std::string(ZMP_SOURCE_DIR) + "/lang/zmp318t.lng", "English");
  SetDecimalSeparator('.');
  SetMessageHook([](const MessageRequest&) { return Answer::Ok; });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace zmp::bench

#define ZMP_GUI_BENCHMARK_MAIN() \
  int main(int argc, char** argv) { return zmp::bench::RunGuiBenchmarks(argc, argv); }
