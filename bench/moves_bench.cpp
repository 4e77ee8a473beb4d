// The movement and siding engines at their largest: 200 movements of 10 cantons and 10
// turnouts, 32 sidings.
#include <benchmark/benchmark.h>

#include "core/system.h"
#include "moves/depl_engine.h"
#include "moves/garage_engine.h"
#include "tools/sim/recording_host.h"

namespace {

constexpr int kListEntries = 10;

// Movement n: train n % 16 from canton slot n % 64 over the ten following cantons, the ten
// turnouts from n % 64 in position 1, arrival on var_0 (never 1).
void describe_movements(System& sys, int state) {
  for (int n = 0; n < kMovements; ++n) {
    DeplRecord& r = sys.depl.depl_record[static_cast<size_t>(n)];
    for (int k = 0; k < kListEntries; ++k) {
      r[DEPL_CANTONS + 2 * k] = canton_number((n + k) % kCantons);
      r[DEPL_CANTONS + 2 * k + 1] = k % 2 == 0 ? 30 : -30;
      r[DEPL_TURNOUTS + 2 * k] = (n + k) % kTurnouts;
      r[DEPL_TURNOUTS + 2 * k + 1] = 1;
    }
    r[DEPL_START] = canton_number(n % kCantons);
    r[DEPL_FIN] = 5400;
    r[DEPL_FIN + 1] = 1;
    r[DEPL_SERVO] = 0;
    r[DEPL_SERVO_POSITION] = 100;
    r[DEPL_START_REQUEST] = 1;
    r[DEPL_STATE] = state;
    r[DEPL_TRAIN] = n % 16;
  }
  for (int t = 0; t < 16; ++t) {
    sys.trains.en[static_cast<size_t>(t)] = 1;
    sys.trains.en_auto[static_cast<size_t>(t)] = 1;
    sys.trains.acc[static_cast<size_t>(t)] = 14;
    sys.trains.dec[static_cast<size_t>(t)] = 14;
  }
  for (int slot = 0; slot < kCantons; slot += 3) sys.io.det[static_cast<size_t>(slot)] = 1;
}

void BM_DeplTickDriving(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  describe_movements(sys, DEPL_WAIT_ARRIVAL);
  for (auto _ : state) depl_tick(sys);
}
BENCHMARK(BM_DeplTickDriving);

// Every movement finds its train on its start canton and checks everything; the servo they all
// want is held, so every one of them waits again.
void BM_DeplTickWaiting(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  describe_movements(sys, DEPL_WAIT_RESOURCES);
  for (int slot = 0; slot < kCantons; ++slot) {
    sys.cantons.ResvMANU[static_cast<size_t>(slot)] = 1;
    sys.cantons.num_train[static_cast<size_t>(slot)] = slot % 16;
  }
  sys.io.srv_reserved[0] = 1;
  for (auto _ : state) depl_tick(sys);
}
BENCHMARK(BM_DeplTickWaiting);

// 32 sidings, half of them isolated, each with a request that the engine refuses.
void BM_GarageTick(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  GarageTable& g = sys.garage;
  for (int n = 0; n < kSidings; ++n) {
    const size_t s = static_cast<size_t>(n);
    g.ass_canton[s] = canton_number(n);
    g.ass_out[s] = n / 16 * 100 + 40 + n % 16;
    g.state_lock[s] = n % 2;
    g.cmd_lock[s] = 1 - n % 2;
    sys.cantons.ResvAUTO[s] = 1;
  }
  for (auto _ : state) {
    for (int n = 0; n < kSidings; ++n) g.cmd_lock[static_cast<size_t>(n)] = 1 - n % 2;
    garage_tick(sys);
    benchmark::DoNotOptimize(sys.io.out.data());
  }
}
BENCHMARK(BM_GarageTick);

}  // namespace
