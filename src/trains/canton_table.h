// The canton records: one array per field, indexed by card * 16 + index.
#pragma once

#include <array>
#include <cstdint>

#include "moves/garage_table.h"

constexpr int kCantons = 64;
constexpr int kTrainEntries = 32;  // 0..15 trains, 16..31 wagons

// Canton number (card * 100 + index 0..15) to its slot 0..63, or -1 when it names no canton.
constexpr int canton_slot(int canton) {
  if (canton < 0 || canton > 315 || canton % 100 >= 16) return -1;
  return canton / 100 * 16 + canton % 100;
}
constexpr int canton_number(int slot) {
  return slot / 16 * 100 + slot % 16;
}

struct CantonTable {
  std::array<int32_t, kCantons> num_train;
  std::array<int32_t, kCantons> ResvAUTO{};
  std::array<int32_t, kCantons> ResvMANU{};
  std::array<int32_t, kCantons> libe_count{};
  std::array<int32_t, kCantons> Inverse{};
  std::array<int32_t, kCantons> Res2MANU{};
  std::array<int32_t, kCantons> Vit_AUTO{};
  std::array<int32_t, kCantons> Vit_MANU{};
  std::array<int32_t, kCantons> sens_ok;
  std::array<int32_t, kCantons> Vitesse{};
  std::array<int32_t, kCantons> Vit_reel{};
  // Occupancy variables kept by the canton update: det2_, det2p_, det2m_.
  std::array<int32_t, kCantons> det2{};
  std::array<int32_t, kCantons> det2p{};
  std::array<int32_t, kCantons> det2m{};
  // Detection watch: the canton belongs to a train detected nowhere; per train, the same.
  std::array<int32_t, kCantons> pb_capt_c{};
  std::array<int32_t, kTrainEntries> pb_capt_t{};
  // Direction permissions toggled on the panels, copied into sens_ok at the start of each tick.
  std::array<int32_t, kCantons> sens_perm;
  // Start-of-tick snapshots of the reservation fields, read by the panels and split/join.
  std::array<int32_t, kCantons> prev_num_train;
  std::array<int32_t, kCantons> prev_ResvAUTO{};
  std::array<int32_t, kCantons> prev_ResvMANU{};
  std::array<int32_t, kCantons> prev_Res2MANU{};
  // Start-of-tick copies of each siding's parked train and associated canton.
  std::array<int32_t, kSidings> prev_garage_num_train;
  std::array<int32_t, kSidings> prev_garage_ass_canton;

  CantonTable() {
    num_train.fill(-1);
    sens_ok.fill(3);
    sens_perm.fill(3);
    prev_num_train.fill(-1);
    prev_garage_num_train.fill(-1);
    prev_garage_ass_canton.fill(-1);
  }
};
