// The route engine and the split and join engine on full tables, in their usual steady state.
#include <benchmark/benchmark.h>

#include "core/system.h"
#include "moves/iti_engine.h"
#include "tools/sim/recording_host.h"
#include "trains/split_join.h"

namespace {

// 50 on/off routes of 10 turnouts each, all holding their turnouts and waiting for them to
// arrive (state 3): every tick checks the 500 positions.
void BM_ItiTickAllWaiting(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int n = 0; n < kRoutes; ++n) {
    ItiRecord& r = sys.iti.iti_record[n];
    r[ITI_DEFINED] = 1;
    r[ITI_MODE] = 1;
    r[ITI_STATE] = ITI_WAIT_POSITION;
    r[ITI_START_CANTON] = 3;
    r[ITI_STOP_CANTON] = 4;
    for (int k = 0; k < kRouteTurnouts; ++k) {
      r[ITI_TURNOUTS + 2 * k] = (n + 7 * k) % kTurnouts;
      r[ITI_TURNOUTS + 2 * k + 1] = 1;
    }
  }
  sys.aig.aig_reserved.fill(1);
  for (auto _ : state) {
    iti_tick(sys);
    benchmark::ClobberMemory();
  }
  if (sys.iti.iti_record[49][ITI_STATE] != ITI_WAIT_POSITION) state.SkipWithError("state moved");
}
BENCHMARK(BM_ItiTickAllWaiting);

// The 200 split and join entries defined, none triggered: the case of nearly every tick.
void BM_SplitJoinTickIdle(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int n = 0; n < kSplitEntries; ++n) {
    sys.iti.separe[n] = {0, n % 16, 1000 + n % 32};
    sys.iti.regroupe[n] = {0, n % 16, 100 + n % 16};
    sys.iti.separe_defined[n] = true;
    sys.iti.regroupe_defined[n] = true;
  }
  for (auto _ : state) {
    split_join_tick(sys);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SplitJoinTickIdle);

}  // namespace
