// The tick redraw of the movement and route lists with every row in use, surface and copies to
// the window included.
#include <benchmark/benchmark.h>

#include <string>

#include "core/system.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"

namespace {

// Movement page 10: thirty running movements with all their values and 40-character names.
void BM_MovementPageRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int n = 0; n < 30; ++n) {
    DeplRecord& r = sys.depl.depl_record[static_cast<size_t>(n)];
    r[DEPL_START] = 12;
    r[DEPL_START_REQUEST] = 1;
    r[DEPL_STOP_REQUEST] = 1;
    r[DEPL_TIMER] = 100 + n;
    r[DEPL_STATE] = 1 + n % 15;
    sys.depl.name[static_cast<size_t>(n)] = std::string(40, 'A' + static_cast<char>(n % 26));
  }
  sys.screen.screen_mode = 10;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_MovementPageRedraw)->Unit(benchmark::kMillisecond);

// Route page 19: 25 defined on/off routes waiting, with their timers and names.
void BM_RoutePageRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int n = 0; n < 25; ++n) {
    ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(n)];
    r[ITI_DEFINED] = 1;
    r[ITI_MODE] = 1;
    r[ITI_STATE] = 1 + n % 7;
    r[ITI_WAIT] = 1;
    r[ITI_TIMER] = n;
    sys.iti.name[static_cast<size_t>(n)] = std::string(40, 'a' + static_cast<char>(n % 26));
  }
  sys.screen.screen_mode = 19;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_RoutePageRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
