// What the logic owns on the bus: the user variables and the pulse triggers.
#pragma once

#include <array>
#include <cstdint>

constexpr int kUserVars = 600;
constexpr int kPulses = 32;

struct LogicVars {
  std::array<int32_t, kUserVars> var{};
  std::array<int32_t, kPulses> pulse_cmd{};
};
