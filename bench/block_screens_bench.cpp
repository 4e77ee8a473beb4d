// The tick redraw of the block-stop screen at its fullest: 32 rules on the page, each with its
// 22 blocage entries (the most a rule holds, far past the 84 characters shown), six cantons to
// have left, a slow-down and a deceleration, on a 1101-wide area, surface and copies to the
// window included.
#include <benchmark/benchmark.h>

#include "core/system.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"

namespace {

void full_block_rule(CantRule& rule, int r) {
  rule.canton = 300 + r % 16;
  rule.direction = r % 2 == 0 ? 1 : -1;
  rule.dec = 1 + r % 28;
  rule.ral = 1 + r % 64;
  rule.state = r % 3;
  for (size_t k = 0; k < rule.plusur.size(); ++k) rule.plusur[k] = 300 + static_cast<int>(k);
  for (size_t k = 0; k < rule.blocage.var.size(); ++k) {
    rule.blocage.var[k] = k % 4 == 3 ? kOrMarker : 300 + static_cast<int32_t>(k % 16);
    rule.blocage.val[k] = k % 4 == 3 ? 0 : 1;
  }
}

void BM_BlockStopPageRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int r = 0; r < 32; ++r) full_block_rule(sys.block.cant[static_cast<size_t>(r)], r);
  sys.screen.client_width = 1101;
  sys.screen.screen_mode = 42;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_BlockStopPageRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
