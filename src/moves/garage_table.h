// Sidings: a dead-end track fed from its associated canton through a relay output.
#pragma once

#include <array>
#include <cstdint>

constexpr int kSidings = 32;
// Where a canton number is expected, kSidingCanton + g names siding g.
constexpr int kSidingCanton = 1000;

struct GarageTable {
  std::array<int32_t, kSidings> ass_canton;
  std::array<int32_t, kSidings> ass_out{};
  std::array<int32_t, kSidings> pol;
  std::array<int32_t, kSidings> num_train;
  std::array<int32_t, kSidings> cmd_lock{};
  std::array<int32_t, kSidings> state_lock{};
  std::array<int32_t, kSidings> res_auto{};

  GarageTable() { reset(); }
  void reset() {
    ass_canton.fill(-1);
    ass_out.fill(0);
    pol.fill(1);
    num_train.fill(-1);
    reset_locks();
  }
  // Every siding connected and held by no movement.
  void reset_locks() {
    cmd_lock.fill(0);
    state_lock.fill(0);
    res_auto.fill(0);
  }
};
