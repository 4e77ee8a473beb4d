// The turnouts: commanded position, position flags set by the sequencer, reservation.
#pragma once

#include <array>
#include <cstdint>

constexpr int kTurnouts = 64;

struct AigTable {
  std::array<int32_t, kTurnouts> aig_cmd{};
  std::array<int32_t, kTurnouts> pos0_aig{};
  std::array<int32_t, kTurnouts> pos1_aig{};
  std::array<int32_t, kTurnouts> aig_reserved{};
};
