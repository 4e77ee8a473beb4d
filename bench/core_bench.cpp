// The variable bus and one tick of the spine.
#include <benchmark/benchmark.h>

#include <array>

#include "tools/sim/recording_host.h"
#include "core/system.h"
#include "runtime/tick.h"
#include "core/var_bus.h"

namespace {

// A mix of readable numbers across the ranges, as logic and panels use them.
constexpr std::array<VarNum, 16> kReads = {105,  479,  1210, 1647, 2003, 4125, 5003, 5412,
                                           6201, 6650, 6931, 7004, 8110, 8505, 9195, 9410};
constexpr std::array<VarNum, 12> kWrites = {1210, 1647, 2003, 2447, 5003, 5412,
                                            5999, 7003, 8110, 8505, 9150, 9410};

void BM_VarRead(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(var_read(sys, kReads[i++ & 15]));
  }
}
BENCHMARK(BM_VarRead);

void BM_VarWrite(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  sys.iti.separe[10][SPLIT_TRIGGER] = 0;
  size_t i = 0;
  int value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(var_write(sys, kWrites[i++ % kWrites.size()], ++value & 1));
  }
}
BENCHMARK(BM_VarWrite);

// The tick with panel 0 in view: every second tick draws the panel and copies it out.
void BM_Tick(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (auto _ : state) tick(sys);
}
BENCHMARK(BM_Tick);

// The engines alone: a screen number that draws nothing.
void BM_TickWithoutDrawing(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  sys.screen.screen_mode = 99;
  for (auto _ : state) tick(sys);
}
BENCHMARK(BM_TickWithoutDrawing);

}  // namespace
