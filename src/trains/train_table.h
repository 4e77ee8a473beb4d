// The train table: 32 entries (0..15 trains, 16..31 wagons), the 23 reserve trains, the keyboard
// driving configurations, the progressive inertia tables and the train colours.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "trains/canton_table.h"

constexpr int kReserveEntries = 23;
// The name and profile columns are shared: rows 0..31 are the trains, 32..54 the reserve.
constexpr int kProfileRows = kTrainEntries + kReserveEntries;
constexpr int kReserveRow0 = kTrainEntries;
constexpr int kClavConfs = 5;
constexpr int kProgressiveSlots = 8;
constexpr int kClavCmdBase = 1000;  // cmd 1000 + k drives with keyboard configuration k
constexpr int kNameLength = 8;
constexpr int kLongNameLength = 40;
constexpr int kCantonsTxtLength = 20;

struct TrainTable {
  // Per train entry.
  std::array<int32_t, kTrainEntries> en{};
  std::array<int32_t, kTrainEntries> cmd;
  std::array<int32_t, kTrainEntries> en_auto{};
  std::array<int32_t, kTrainEntries> cons{};
  std::array<int32_t, kTrainEntries> cmd_speed{};
  std::array<int32_t, kTrainEntries> vit{};
  std::array<int32_t, kTrainEntries> train_garage;
  std::array<int32_t, kTrainEntries> capt{};
  std::array<std::string, kTrainEntries> mode;  // "SEL" manual, "AUTO" driven by a movement
  std::array<std::string, kTrainEntries> cantons_txt;
  // Colour index 0..23 into the panel palette, -1 = none of its own; shared with the panels.
  std::array<int32_t, kTrainEntries> color{};

  // Name and profile, trains then reserve.
  std::array<std::string, kProfileRows> name;
  std::array<int32_t, kProfileRows> inv{};
  std::array<int32_t, kProfileRows> vmin{};
  std::array<int32_t, kProfileRows> vmax;
  std::array<int32_t, kProfileRows> acc;
  std::array<int32_t, kProfileRows> dec;
  std::array<int32_t, kProfileRows> frein;

  // Reserve only.
  std::array<std::string, kReserveEntries> long_name;
  std::array<int32_t, kReserveEntries> reserve_color;
  int32_t reserve_count = 0;

  // Keyboard configurations: three key characters each (0 = no key) and the driving level.
  std::array<int32_t, kClavConfs> plus_key{};
  std::array<int32_t, kClavConfs> stop_key{};
  std::array<int32_t, kClavConfs> minus_key{};
  std::array<int32_t, kClavConfs> clav_level{};

  // Speed thresholds 1..64 that slow the ramp at low speed; -1 ends the list.
  std::array<int32_t, kProgressiveSlots> acc_progressif;
  std::array<int32_t, kProgressiveSlots> dec_progressif;

  // Copy of the names taken at the start of each tick, read by the panels.
  std::array<std::string, kTrainEntries> panel_name;

  TrainTable() { reset(); }
  void reset() {
    en.fill(0);
    cmd.fill(-1);
    en_auto.fill(0);
    cons.fill(0);
    cmd_speed.fill(0);
    vit.fill(0);
    train_garage.fill(-1);
    capt.fill(0);
    mode.fill("SEL");
    cantons_txt.fill("");
    name.fill("");
    inv.fill(0);
    vmin.fill(0);
    vmax.fill(64);
    acc.fill(-1);
    dec.fill(-1);
    frein.fill(-1);
    long_name.fill("");
    reserve_color.fill(-1);
    reserve_count = 0;
    plus_key.fill(0);
    stop_key.fill(0);
    minus_key.fill(0);
    clav_level.fill(0);
    acc_progressif.fill(-1);
    dec_progressif.fill(-1);
  }
};

// Remote-control decoding state; the code itself arrives in ScreenState::remote_key.
struct RemoteState {
  int32_t remote_idle = 0;
  int32_t remote_digits = 0;
  int32_t remote_number = 0;
  int32_t remote_aig_mode = -1;  // -1 toggle, 0 set to 0, 1 set to 1
  int32_t remote_clav = 0;
};
