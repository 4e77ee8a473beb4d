// The model clock as the special variables publish it, the external-action triggers and the
// vibrator switches.
#pragma once

#include <array>
#include <cstdint>

constexpr int kExternalActions = 100;

struct ClockState {
  int32_t running = 0;
  int32_t blocked = 0;
  int32_t day = 0;
  int32_t hour = 0;
  int32_t minute = 0;
};

struct ExeState {
  std::array<int32_t, kExternalActions> exe{};  // exe_ triggers
};

struct VibState {
  int32_t vib_on = 0;
  int32_t vib_state = 0;
};
