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
#include "core/system.h"
#include "runtime/tick.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"

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

// The tick redraw of timetable page 49 on a 1101-wide area, surface and copies included: 32
// weekday actions with an end, a period, a block delay, a block variable and two entries, the
// first starting a named movement, in every row colour.
void BM_TimetablePageRedraw(benchmark::State& state) {
  RecordingHost host;
  System sys(host, "/tmp");
  for (int n = 0; n < 32; ++n) {
    HoroAction& a = sys.clock.horo[static_cast<size_t>(n)];
    const int32_t fields[][2] = {
        {HORO_DAY, HORO_WEEKDAYS},
        {HORO_HD_H, n % 24},
        {HORO_HD_M, n},
        {HORO_HF_H, 23},
        {HORO_HF_M, 59},
        {HORO_HI_H, 1},
        {HORO_HI_M, 30},
        {HORO_HB_H, 0},
        {HORO_HB_M, 20},
        {HORO_HB_MODE, n % 2},
        {HORO_VF_SENSE, 0},
        {HORO_VF_VAR, 1300 + n},
        {HORO_ENTRIES, 1},
        {HORO_ENTRIES + 1, 6500 + n},
        {HORO_ENTRIES + 2, 0},
        {HORO_ENTRIES + 3, 5400 + n},
        {HORO_STATE, n % 3},
        {HORO_BLOCK_H, 12},
        {HORO_BLOCK_M, n},
        {HORO_INHIBITED, n % 5 == 0},
    };
    for (const auto& f : fields) a[static_cast<size_t>(f[0])] = f[1];
    sys.depl.name[static_cast<size_t>(n)] = "Navette " + std::to_string(n);
  }
  window_resize(sys, 1100, 700);
  sys.screen.screen_mode = 49;
  sys.ticks.tick = 2;
  for (auto _ : state) table_screen_tick_redraw(sys);
}
BENCHMARK(BM_TimetablePageRedraw)->Unit(benchmark::kMillisecond);

}  // namespace
