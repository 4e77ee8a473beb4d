// What the automatic block publishes per canton: a stop in force for each direction of travel.
#pragma once

#include <array>
#include <cstdint>

#include "trains/canton_table.h"

struct BlockState {
  std::array<int32_t, kCantons> bal_cant_p{};
  std::array<int32_t, kCantons> bal_cant_m{};

  // Per-train results of the block evaluations, read by the trains engine.
  std::array<int32_t, kTrainEntries> vitmax_lim{};  // signed speed limit, 0 = none
  std::array<int32_t, kTrainEntries> halt_flag{};   // 1 = stop at once
  std::array<int32_t, kTrainEntries> bal_state{};   // 0 none, 1 slow down, 2 stop
  std::array<int32_t, kTrainEntries> bal_dec;       // deceleration index of the rule, -1 none
  std::array<int32_t, kTrainEntries> bal_ral{};     // signed slow-down speed
  // Panel switches "OPT:5 BAL-HALTE INHIBITION" and "OPT:6 BLOCAGE INHIBITION".
  int32_t halt_inhibit = 0;
  int32_t block_inhibit = 0;
  // Ticks a held canton may stay undetected before tracking frees it (tempo-libe-cant).
  int32_t tempo_libe_cant = 0;

  BlockState() { bal_dec.fill(-1); }
};

// No stop in force: the block's published flags at start-up.
inline void reset_block_stops(BlockState& block) {
  block.bal_cant_p.fill(0);
  block.bal_cant_m.fill(0);
}
