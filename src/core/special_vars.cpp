// The special variables (special_var_0..99): tick bits, traffic lights, chasers, counters,
// triangle waves and the model clock, recomputed every tick. Some entries are settings that
// the user writes; a setting outside its range takes its default.
#include "core/special_vars.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/system.h"

namespace {

using Sv = std::array<int32_t, kSpecialVars>;

int32_t setting(const Sv& sv, int index, int32_t fallback) {
  const int32_t value = sv[static_cast<size_t>(index)];
  return (value >= 1 && value <= 99) ? value : fallback;
}

int32_t& at(Sv& sv, int index) {
  return sv[static_cast<size_t>(index)];
}

void tick_bits(Sv& sv, int32_t tick) {
  for (int k = 0; k < 16; ++k) at(sv, k) = (tick >> k) & 1;
}

// sv21..sv23 are green, amber, red of the first direction; sv24..sv26 of the second.
void set_lights(Sv& sv, int g1, int a1, int r1, int g2, int a2, int r2) {
  at(sv, 21) = g1;
  at(sv, 22) = a1;
  at(sv, 23) = r1;
  at(sv, 24) = g2;
  at(sv, 25) = a2;
  at(sv, 26) = r2;
}

void advance_light_cycle(Sv& sv, int32_t& step) {
  step = step == 19 ? 0 : step + 1;
  switch (step) {
    case 1:
      at(sv, 24) = 1, at(sv, 26) = 0;
      break;
    case 8:
      at(sv, 24) = 0, at(sv, 25) = 1;
      break;
    case 10:
      at(sv, 25) = 0, at(sv, 26) = 1;
      break;
    case 11:
      at(sv, 21) = 1, at(sv, 23) = 0;
      break;
    case 18:
      at(sv, 21) = 0, at(sv, 22) = 1;
      break;
    case 0:
      at(sv, 22) = 0, at(sv, 23) = 1;
      break;
    default:
      break;
  }
}

void traffic_lights(SpecialVars& s, int32_t tick) {
  Sv& sv = s.sv;
  const int32_t mode = sv[20];
  const bool cycle = mode < 100;
  if (tick <= 2) {
    if (cycle)
      set_lights(sv, 0, 0, 1, 0, 0, 1);
    else
      set_lights(sv, 0, 0, 0, 0, 0, 0);
    return;
  }
  if (cycle) {
    if (sv[21] == 0 && sv[23] == 0 && sv[24] == 0 && sv[26] == 0) {
      s.light_step = 0;
      set_lights(sv, 0, 0, 1, 1, 0, 0);
    }
    const int32_t period = mode < 1 ? 15 : mode;
    if (tick % period == 0) advance_light_cycle(sv, s.light_step);
    return;
  }
  const int32_t half = (mode >= 101 && mode <= 199) ? mode - 100 : 5;
  if (tick % half == 0) {
    s.light_step = s.light_step == 0 ? 1 : 0;
    set_lights(sv, 0, s.light_step, 0, 0, s.light_step, 0);
  }
}

struct Chaser {
  int phases;
  int period_index;
  int first_output;
};
constexpr Chaser kChasers[6] = {{2, 30, 31}, {3, 33, 34}, {4, 37, 38},
                                {5, 42, 43}, {6, 48, 49}, {10, 55, 56}};

void chasers(SpecialVars& s, int32_t tick) {
  for (size_t c = 0; c < 6; ++c) {
    const Chaser& ch = kChasers[c];
    if (tick % setting(s.sv, ch.period_index, 15) != 0) continue;
    int32_t& phase = s.chaser_phase[c];
    phase = (phase + 1) % ch.phases;
    const int next = (phase + 1) % ch.phases;
    if (ch.phases == 2) {
      at(s.sv, ch.first_output + phase) = 1;
      at(s.sv, ch.first_output + next) = 0;
    } else {
      at(s.sv, ch.first_output + phase) = 0;
      at(s.sv, ch.first_output + next) = 1;
    }
  }
}

// The user may write any value into a counter or wave: the next value is computed in 64 bits and
// kept within 32.
int32_t within_32_bits(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Counts 0..top then starts again at 0.
void count_up(int32_t& value, int32_t top) {
  value = value >= top ? 0 : value + 1;
}

// Adds the step; becomes 0 when it would exceed the limit.
void count_by(int32_t& value, int32_t step, int32_t limit) {
  const int64_t next = int64_t{value} + step;
  value = next > limit ? 0 : within_32_bits(next);
}

void counters(Sv& sv, int32_t tick) {
  for (int base : {66, 69}) {
    if (tick % setting(sv, base, 1) != 0) continue;
    count_up(at(sv, base + 1), 256);
    count_up(at(sv, base + 2), 1024);
  }
  for (int base : {72, 75}) {
    const int32_t step = setting(sv, base, 4);
    count_by(at(sv, base + 1), step, 255);
    count_by(at(sv, base + 2), step, 1023);
  }
}

// One unit in its direction; turns down after passing `top`, up when below 1.
void triangle_by_one(int32_t& value, int32_t& dir, int32_t top) {
  value = within_32_bits(int64_t{value} + dir);
  if (value > top) dir = -1;
  if (value < 1) dir = 1;
}

// One step in its direction, held at 0 and `top` where it turns.
void triangle_by_step(int32_t& value, int32_t& dir, int32_t step, int32_t top) {
  const int64_t next = int64_t{value} + dir;
  if (next > top) {
    value = top;
    dir = -step;
  } else if (next < 1) {
    value = 0;
    dir = step;
  } else {
    value = within_32_bits(next);
  }
}

void triangles(SpecialVars& s, int32_t tick) {
  Sv& sv = s.sv;
  for (int w = 0; w < 2; ++w) {
    const int base = w == 0 ? 78 : 81;
    if (tick % setting(sv, base, 1) != 0) continue;
    triangle_by_one(at(sv, base + 1), s.triangle_dir[static_cast<size_t>(2 * w)], 255);
    triangle_by_one(at(sv, base + 2), s.triangle_dir[static_cast<size_t>(2 * w + 1)], 1023);
  }
  for (int w = 0; w < 2; ++w) {
    const int base = w == 0 ? 84 : 87;
    const int32_t step = setting(sv, base, 4);
    int32_t& dir_low = s.step_dir[static_cast<size_t>(2 * w)];
    int32_t& dir_high = s.step_dir[static_cast<size_t>(2 * w + 1)];
    if (tick <= 2) dir_low = dir_high = step;
    triangle_by_step(at(sv, base + 1), dir_low, step, 255);
    triangle_by_step(at(sv, base + 2), dir_high, step, 1023);
  }
}

void clock_outputs(Sv& sv, const ClockState& clock) {
  at(sv, 90) = clock.running;
  at(sv, 91) = clock.blocked;
  at(sv, 92) = clock.day;
  at(sv, 93) = clock.hour;
  at(sv, 94) = clock.minute;
  at(sv, 95) = clock.hour * 60 + clock.minute;
}

}  // namespace

void special_vars_step(System& sys) {
  SpecialVars& s = sys.special;
  const int32_t tick = sys.ticks.tick;
  tick_bits(s.sv, tick);
  traffic_lights(s, tick);
  chasers(s, tick);
  counters(s.sv, tick);
  triangles(s, tick);
  clock_outputs(s.sv, sys.clock);
}

void reset_special_vars(System& sys) {
  sys.special.sv.fill(0);
}
