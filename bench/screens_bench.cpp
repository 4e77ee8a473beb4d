// The tick redraw of the busiest table screens, surface and copies to the window included.
#include <benchmark/benchmark.h>

#include "core/system.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"

namespace {

// Card screen: four cards, every canton, output, LED and servo by hand, continuous reads on.
void BM_CardScreenRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  IoImage& io = sys.io;
  io.canton_man_flag.fill(1);
  for (auto* outputs : {&io.out_man_flag, &io.out_man}) outputs->fill(1);
  for (auto* leds : {&io.led_man_flag, &io.led_man, &io.led_cli_man}) leds->fill(1);
  io.srv_man_flag.fill(1);
  io.canton_man_speed.fill(-37);
  io.can.fill(200);
  io.in.fill(1);
  for (DirectSlot& slot : sys.cardlink.slots) slot.state = 'a';
  sys.cardlink.serial.card_found.fill(1);
  sys.screen.screen_mode = 24;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_CardScreenRedraw)->Unit(benchmark::kMillisecond);

// Variables page 27: every user and special variable non-zero.
void BM_VariablesPageRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (size_t i = 0; i < sys.logic.var.size(); ++i) sys.logic.var[i] = static_cast<int32_t>(i + 1);
  for (size_t i = 0; i < sys.special.sv.size(); ++i)
    sys.special.sv[i] = -static_cast<int32_t>(i) - 1;
  sys.screen.screen_mode = 27;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_VariablesPageRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
