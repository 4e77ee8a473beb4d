// The tick with the clock subsystem at full load: 255 timetable actions evaluated in every tick
// (one model minute a tick), the vibrator watching and the external actions scanned.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "clock/exe_engine.h"
#include "clock/horo_config.h"
#include "clock/horo_engine.h"
#include "clock/vib_config.h"
#include "clock/vib_engine.h"
#include "tools/sim/recording_host.h"
#include "core/system.h"
#include "runtime/tick.h"

namespace {

// 255 actions on every minute of the day, each with six entries and a block condition that
// holds at once (armed, then straight back to idle in every evaluation).
std::string full_config() {
  std::string s = "#horo\n[\ntic_par_min: 1\n";
  for (int a = 0; a < kHoroActions; ++a) {
    s += "hd 00:00 hi 00:01 hb +00:01 vf:var_599";
    for (int e = 0; e < kHoroEntries; ++e)
      s += (e & 1 ? " c:var_" : " s:var_") + std::to_string((a * 6 + e) % 500);
    s += '\n';
  }
  s += "]\n#vib\n[\ntime_before: 5 time_after: 5 out: out_105 out_pwm: 203, 40 on\n]\n";
  return s;
}

struct LoadedSystem {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "zir-clock-bench";
  RecordingHost host;
  System sys{host, dir};

  LoadedSystem() {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "config.txt") << full_config();
    sys.minus_switch = true;
    read_horo_section(sys);
    read_vib_section(sys);
    sys.logic.var[599] = 1;
    sys.clock.running = 1;
    sys.clock.countdown = 0;
    sys.screen.screen_mode = 99;  // no drawing: the engines alone
  }
  ~LoadedSystem() { std::filesystem::remove_all(dir); }
};

void BM_ClockEngines(benchmark::State& state) {
  LoadedSystem t;
  for (auto _ : state) {
    horo_tick(t.sys);
    vib_tick(t.sys);
    exe_tick(t.sys);
  }
}
BENCHMARK(BM_ClockEngines);

void BM_TickWithFullTimetable(benchmark::State& state) {
  LoadedSystem t;
  for (auto _ : state) tick(t.sys);
}
BENCHMARK(BM_TickWithFullTimetable);

}  // namespace
