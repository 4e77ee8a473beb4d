#include "trains/speed_profile.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/system.h"

namespace {

// Each row's 12 increments: the speed gained or lost on each tick phase.
constexpr std::array<std::array<int8_t, kPhases>, kStepRows> kStepTable{{
    {21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21, 21},
    {16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16, 16},
    {13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 13},
    {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10},
    {8, 8, 7, 8, 8, 7, 8, 8, 7, 8, 8, 7},
    {7, 6, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6},
    {6, 5, 6, 5, 6, 5, 6, 5, 5, 6, 5, 5},
    {4, 5, 5, 5, 4, 5, 5, 5, 4, 5, 5, 5},
    {5, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4},
    {4, 4, 3, 4, 3, 4, 4, 3, 4, 3, 4, 3},
    {3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3},
    {2, 3, 3, 2, 3, 3, 2, 3, 3, 2, 3, 3},
    {3, 3, 3, 2, 2, 2, 3, 2, 2, 2, 2, 2},
    {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2},
    {2, 2, 2, 1, 2, 2, 2, 1, 2, 2, 2, 1},
    {2, 1, 2, 1, 2, 1, 2, 1, 2, 1, 2, 1},
    {2, 1, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1},
    {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
    {1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 0},
    {1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0},
    {1, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0},
    {1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0},
    {1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0},
    {1, 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 0},
    {1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0},
    {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0},
    {1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0},
    {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
}};

constexpr int kFullSpeed = 64;
constexpr int kEmergencyCap = 15;

bool valid_row(int row) {
  return row >= 1 && row <= kStepRows;
}

// The step of this tick for an inertia index, slowed by one row for every progressive
// threshold the speed has not passed yet; -1 when the index means "no inertia".
int inertia_step(int index, const std::array<int32_t, kProgressiveSlots>& thresholds, int speed,
                 int phase) {
  if (!valid_row(index)) return -1;
  int row = index;
  for (int t : thresholds) {
    if (t == -1) break;
    if (std::abs(speed) <= t) ++row;
  }
  return step_increment(std::min(row, kStepRows), phase);
}

int tick_phase(const System& sys) {
  int phase = sys.ticks.tick % kPhases;
  return phase < 0 ? phase + kPhases : phase;
}

int brake(int current, int frein, int phase) {
  if (!valid_row(frein)) return 0;
  int s = step_increment(frein, phase);
  if (current > 0) return std::max(current - s, 0);
  return std::min(current + s, 0);
}

}  // namespace

int step_increment(int row, int phase) {
  if (!valid_row(row) || phase < 0 || phase >= kPhases) return 0;
  return kStepTable[static_cast<size_t>(row - 1)][static_cast<size_t>(phase)];
}

int pot_to_speed(int reading, bool brake_detection) {
  bool forward = reading >= 128;
  int d = forward ? reading - 128 : 127 - reading;
  if (d > 122 && brake_detection) return kBrakeRequest;
  int magnitude = 0;
  if (d > 112) {
    magnitude = kFullSpeed;
  } else if (d >= 16) {
    magnitude = (2 * d - 32) / 3;
  }
  return forward ? magnitude : -magnitude;
}

int level_to_speed(int level) {
  static constexpr std::array<int, 4> kLevelSpeed{0, 10, 32, 64};
  if (level < -3 || level > 3) return 0;
  int speed = kLevelSpeed[static_cast<size_t>(std::abs(level))];
  return level < 0 ? -speed : speed;
}

int ramp_step(const System& sys, int target, int current, int acc, int dec, int frein) {
  const int a = target;
  const int b = current;
  if (a == 0 && b == 0) return 0;
  const int cap = sys.ticks.arret_urg_state == 1 ? kEmergencyCap : kFullSpeed;
  const int phase = tick_phase(sys);
  if (a == kBrakeRequest) return brake(b, frein, phase);

  const int acc_step = inertia_step(acc, sys.trains.acc_progressif, b, phase);
  const int dec_step = inertia_step(dec, sys.trains.dec_progressif, b, phase);
  int r = a;
  if (a == b) {
    r = a;
  } else if (a >= 0 && b < 0) {  // stopping or turning round from backward travel
    if (dec_step == -1) return 0;
    r = b + dec_step;
    if (r > 0) return 0;
  } else if (a <= 0 && b > 0) {  // stopping or turning round from forward travel
    if (dec_step == -1) return 0;
    r = b - dec_step;
    if (r < 0) return 0;
  } else if (a > 0) {
    if (a > b) {
      r = acc_step == -1 ? a : std::min(b + acc_step, a);
    } else {
      r = dec_step == -1 ? a : std::max(b - dec_step, a);
    }
  } else if (a < b) {
    r = acc_step == -1 ? a : std::max(b - acc_step, a);
  } else {
    r = dec_step == -1 ? a : std::min(b + dec_step, a);
  }
  return std::clamp(r, -cap, cap);
}

void real_speed_update(System& sys) {
  CantonTable& c = sys.cantons;
  for (int slot = 0; slot < kCantons; ++slot) {
    const int v = c.Vitesse[slot];
    if (v == 0) {
      c.Vit_reel[slot] = 0;
      continue;
    }
    const int t = c.num_train[slot];
    if (t < 0 || t >= kTrainEntries) continue;  // no train: the output keeps its value
    const int vmin = sys.trains.vmin[t];
    const int vmax = sys.trains.vmax[t];
    const int magnitude = vmin + (vmax - vmin) * std::abs(v) / 64;
    c.Vit_reel[slot] = v < 0 ? -magnitude : magnitude;
  }
}
