// One pass of the trains engine with the automatic turnouts and the automatic block at their
// largest: 100 automatic-turnout rules and 100 block rules with every list full, 60 limits and
// 60 halts with 6 conditions each; 16 driven trains hold the 64 cantons. Every rule is read to
// its last entry and none fires.
#include <benchmark/benchmark.h>

#include <memory>

#include "block/block_engine.h"
#include "core/system.h"
#include "tools/sim/recording_host.h"
#include "trains/canton_engine.h"

namespace {

constexpr int kDriven = 16;
constexpr int kCantonsPerTrain = kCantons / kDriven;

constexpr int32_t var_n(int n) {
  return 5400 + n;  // var_n, all 0
}
constexpr int32_t in_n(int n) {
  return 400 + n;  // in_n, all 0
}

// Five conditions that hold, then one that does not: all six are read.
void five_true_one_false(VarList<kRuleConditions>& list, int seed) {
  for (int k = 0; k < kRuleConditions - 1; ++k) {
    list.var[k] = k % 2 == 0 ? var_n(seed % 40 + k) : in_n(seed % 70 + k);
    list.val[k] = 0;
  }
  list.var[kRuleConditions - 1] = var_n(seed % 40);
  list.val[kRuleConditions - 1] = 1;
}

// Cantons held by other trains: the train is on none of them, and all six are looked at.
void other_cantons(std::array<int32_t, kPlusurCantons>& plusur, int slot) {
  for (int k = 0; k < kPlusurCantons; ++k)
    plusur[k] = canton_number((slot + kCantonsPerTrain + k * 7) % kCantons);
}

// Groups "held by another train, a variable at 0, a variable at 1" separated by OR markers,
// the last group "held by another train, its own canton": every entry is read, the way stays
// open.
void open_blocage(VarList<kBlocageEntries>& list, int slot) {
  int k = 0;
  for (int group = 0; group < 5; ++group) {
    list.var[k] = canton_number((slot + kCantonsPerTrain + group) % kCantons);
    list.val[k++] = 1;
    list.var[k] = var_n(group);
    list.val[k++] = 0;
    list.var[k] = var_n(group);
    list.val[k++] = 1;
    list.var[k] = kOrMarker;
    list.val[k++] = 0;
  }
  list.var[k] = canton_number((slot + kCantonsPerTrain) % kCantons);
  list.val[k++] = 1;
  list.var[k] = canton_number(slot);
  list.val[k++] = 1;
}

std::unique_ptr<System> full_layout(RecordingHost& host) {
  auto sys = std::make_unique<System>(host, "/tmp");
  TrainTable& t = sys->trains;
  for (int i = 0; i < kDriven; ++i) {
    t.en[i] = 1;
    t.cmd[i] = i / kCanPerCard * 100 + i % kCanPerCard;  // a potentiometer each
    t.acc[i] = 10;
    t.dec[i] = 10;
  }
  sys->io.can.fill(200);  // forward at 37
  for (int s = 0; s < kCantons; ++s) {
    sys->cantons.num_train[s] = s / kCantonsPerTrain;
    sys->cantons.ResvMANU[s] = 1;
    sys->cantons.Vit_MANU[s] = 37;
    sys->io.det[s] = 1;
  }
  BlockState& b = sys->block;
  for (int r = 0; r < kVitmaxRules; ++r) {
    b.vitmax[r].canton = canton_number(r % kCantons);
    b.vitmax[r].limit = 5;
    five_true_one_false(b.vitmax[r].cond, r);
    b.halt[r].canton = canton_number((r + 3) % kCantons);
    b.halt[r].direction = 1;
    five_true_one_false(b.halt[r].cond, r + 1);
  }
  for (int r = 0; r < kCantRules; ++r) {
    const int slot = r % kCantons;
    CantRule& c = b.cant[r];
    c.canton = canton_number(slot);
    c.direction = 1;
    c.dec = 3;
    c.ral = 15;
    other_cantons(c.plusur, slot);
    open_blocage(c.blocage, slot);
    AigautoRule& a = b.aigauto[r];
    a.canton = canton_number((slot + 1) % kCantons);
    a.speed = 5;
    other_cantons(a.plusur, (slot + 1) % kCantons);
    five_true_one_false(a.cond, r + 2);
    for (int k = 0; k < kAigautoActions; ++k) {
      a.aig[k] = (r + k) % kTurnouts;
      a.pos[k] = 1;
    }
  }
  b.vitmax_count = kVitmaxRules;
  b.halt_count = kHaltRules;
  b.aigauto_count = kAigautoRules;
  block_rules_changed(*sys);
  return sys;
}

// Nothing may fire, and both orders must agree, or the figure means nothing.
bool quiet_and_agreeing(RecordingHost& host) {
  auto shared = full_layout(host);
  auto literal = full_layout(host);
  literal->block.order = BlockOrder::Literal;
  trains_engine_step(*shared);
  trains_engine_step(*literal);
  const BlockState& a = shared->block;
  const BlockState& b = literal->block;
  bool ok = a.vitmax_lim == b.vitmax_lim && a.halt_flag == b.halt_flag &&
            a.bal_state == b.bal_state && a.bal_cant_p == b.bal_cant_p &&
            shared->trains.vit == literal->trains.vit;
  for (int r = 0; r < kCantRules; ++r) {
    ok = ok && a.cant[r].state == 0 && a.aigauto[r].done == 0 && b.cant[r].state == 0;
    if (r < kVitmaxRules) ok = ok && a.vitmax[r].active == 0 && a.halt[r].active == 0;
  }
  return ok && shared->trains.cmd_speed[kDriven - 1] == 37;
}

void run_pass(benchmark::State& state, BlockOrder order) {
  RecordingHost host;
  if (!quiet_and_agreeing(host)) state.SkipWithError("the full layout fires or the orders differ");
  auto sys = full_layout(host);
  sys->block.order = order;
  for (auto _ : state) {
    trains_engine_step(*sys);
    benchmark::ClobberMemory();
  }
}

void BM_TrainsEngineFullBlock(benchmark::State& state) {
  run_pass(state, BlockOrder::Shared);
}
BENCHMARK(BM_TrainsEngineFullBlock)->Unit(benchmark::kMicrosecond);

// The reference order, for comparison: every evaluation in full for each driven train.
void BM_TrainsEngineFullBlockLiteral(benchmark::State& state) {
  run_pass(state, BlockOrder::Literal);
}
BENCHMARK(BM_TrainsEngineFullBlockLiteral)->Unit(benchmark::kMicrosecond);

// The trains engine alone on the same trains, without any rule.
void BM_TrainsEngineNoRules(benchmark::State& state) {
  RecordingHost host;
  auto sys = full_layout(host);
  sys->block = BlockState{};
  for (auto _ : state) {
    trains_engine_step(*sys);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_TrainsEngineNoRules)->Unit(benchmark::kMicrosecond);

}  // namespace
