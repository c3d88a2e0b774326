// A full read and a full write of the data image against zmp318t-sim over a
// pseudo-terminal.
//
// Paced: the simulator holds every byte for its time on a line at the current
// rate (9600 until the baud change, then 115200). Each run is set against the
// wire-time bound, the simulator's own count of all bytes in both directions
// x 10 bits / the rate they travelled at, plus the 550 ms the protocol waits
// after the baud change. The counter "ratio" is elapsed / bound (goal: 1.10 at
// most).
//
// Unpaced: the simulator answers at once; the time is the program's own CPU
// time for a full read (goal: under 50 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "../tests/tools/SimProcess.h"
#include "comm/ImageTransfer.h"
#include "comm/RepeaterLink.h"

namespace {

using zmp::testing::SimProcess;

constexpr double kBaudSettleMs = 550.0;

// The cumulative "wire_ms" of the simulator's next stats line (printed when a
// connection ends); negative when none came.
double NextWireMs(SimProcess& sim) {
  const auto line = sim.ReadLine(10000);
  if (!line) return -1;
  const auto at = line->find("wire_ms ");
  return at == std::string::npos ? -1 : std::stod(line->substr(at + 8));
}

enum class Kind { Read, Write };

void PacedTransfer(benchmark::State& state, Kind kind) {
  SimProcess sim({"--stats"});
  if (!sim.ok()) {
    state.SkipWithError("the simulator did not start");
    return;
  }
  zmp::RepeaterLink link;
  link.SetDevice(sim.path());
  link.SetTargetBaud(static_cast<int>(state.range(0)));
  // A first read gives the image that the writes send back (of the
  // simulator's model) and starts the counts.
  zmp::ImageStore image;
  if (zmp::ImageTransfer(link).ReadFromRepeater(image, std::nullopt) != 0) {
    state.SkipWithError("the first read failed");
    return;
  }
  image.CopyTransferToWorking();
  double wireBefore = NextWireMs(sim), elapsedMs = 0, boundMs = 0;
  for (auto _ : state) {
    zmp::ImageTransfer transfer(link);
    const auto start = std::chrono::steady_clock::now();
    const int r = kind == Kind::Read ? transfer.ReadFromRepeater(image, std::nullopt) : transfer.WriteToRepeater(image);
    elapsedMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (r != 0) {
      state.SkipWithError("the transfer failed");
      return;
    }
    const double wire = NextWireMs(sim);
    if (wire < 0) {
      state.SkipWithError("the simulator printed no stats");
      return;
    }
    boundMs += wire - wireBefore + (state.range(0) != 9600 ? kBaudSettleMs : 0.0);
    wireBefore = wire;
    if (kind == Kind::Read) image.CopyTransferToWorking();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["elapsed_ms"] = elapsedMs / n;
  state.counters["bound_ms"] = boundMs / n;
  state.counters["ratio"] = elapsedMs / boundMs;
}

void FullReadPaced(benchmark::State& state) { PacedTransfer(state, Kind::Read); }
void FullWritePaced(benchmark::State& state) { PacedTransfer(state, Kind::Write); }
BENCHMARK(FullReadPaced)->Arg(115200)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FullWritePaced)->Arg(115200)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

// The program's CPU time (the "CPU" column) for a full read that is not held
// up by the line.
void FullReadUnpaced(benchmark::State& state) {
  SimProcess sim({"--no-pace"});
  if (!sim.ok()) {
    state.SkipWithError("the simulator did not start");
    return;
  }
  zmp::RepeaterLink link;
  link.SetDevice(sim.path());
  link.SetTargetBaud(9600);  // no baud change, so no settling wait
  zmp::ImageStore image;
  for (auto _ : state) {
    zmp::ImageTransfer transfer(link);
    if (transfer.ReadFromRepeater(image, std::nullopt) != 0) {
      state.SkipWithError("the read failed");
      return;
    }
  }
}
BENCHMARK(FullReadUnpaced)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
