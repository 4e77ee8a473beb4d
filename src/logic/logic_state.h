// What the logic owns on the bus: the user variables and the pulse triggers; and the state of
// its screens.
#pragma once

#include <array>
#include <cstdint>

constexpr int kUserVars = 600;
constexpr int kPulses = 32;

// What the logic and variables screens remember between calls.
struct LogicScreenState {
  int32_t table = 0;     // truth table shown, 0..49; kept when the screen is left
  int32_t internal = 0;  // variables shown by internal number (5400..) rather than label index
};

struct LogicVars {
  std::array<int32_t, kUserVars> var{};
  std::array<int32_t, kPulses> pulse_cmd{};
};
