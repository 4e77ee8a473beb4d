// Movements: 73 ints a movement, -1 meaning "not given" unless said otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kMovements = 200;
constexpr int kDeplFields = 73;

enum DeplField : int {
  DEPL_CANTONS = 0,    // 10 pairs (canton or 1000 + siding, speed)
  DEPL_TURNOUTS = 20,  // 10 pairs (turnout, position)
  DEPL_PASS = 40,
  DEPL_LIBE = 42,
  DEPL_FIN = 44,
  DEPL_HALT = 46,
  DEPL_TAF = 48,
  DEPL_TSF = 49,
  DEPL_START_REQUEST = 50,  // depl_start_run_ (6500 + n)
  DEPL_STOP_REQUEST = 51,   // depl_stop_ (6700 + n)
  DEPL_STATE = 52,
  DEPL_TIMER = 53,
  DEPL_VARIABLES = 54,  // 4 pairs (kind, variable)
  DEPL_TRAIN = 62,
  DEPL_REQUIRED_TRAIN = 63,
  DEPL_START = 64,
  DEPL_START2 = 65,
  DEPL_STOP = 66,
  DEPL_ENDED_IN_SIDING = 67,
  DEPL_TARGET_SPEED = 68,
  DEPL_CURRENT_SPEED = 69,
  DEPL_SERVO = 70,
  DEPL_SERVO_POSITION = 71,
  DEPL_TEMPO = 72,
};

// Kinds of the start and end variables: written at the start (sdeb 1, cdeb 0), at the end
// (sfin 1, cfin 0), or both (sc: 1 at the start, 0 at the end).
enum DeplVariableKind : int {
  DEPL_SDEB = 0,
  DEPL_SFIN = 1,
  DEPL_CDEB = 2,
  DEPL_CFIN = 3,
  DEPL_SC = 4,
};

// The movement engine's states.
enum DeplState : int {
  DEPL_IDLE = 0,
  DEPL_WAIT_RESOURCES = 1,  // train, cantons, turnouts, sidings, servo
  DEPL_START_VARIABLES = 2,
  DEPL_START_DELAY = 3,
  DEPL_SET_TURNOUTS = 4,
  DEPL_WAIT_TURNOUTS = 5,
  DEPL_POWER = 6,  // leave the start siding, power the cantons
  DEPL_WAIT_PASS = 7,
  DEPL_WAIT_ARRIVAL = 8,
  DEPL_START_STOP_DELAY = 9,
  DEPL_STOP_DELAY = 10,
  DEPL_STANDSTILL = 11,  // wait for speed 0, park in the stop siding
  DEPL_START_RELEASE_DELAY = 12,
  DEPL_RELEASE_DELAY = 13,
  DEPL_END_VARIABLES = 14,
  DEPL_RELEASE = 15,
};
constexpr int kDeplStates = 16;

using DeplRecord = std::array<int32_t, kDeplFields>;

struct DeplTable {
  std::array<DeplRecord, kMovements> depl_record;
  std::array<std::string, kMovements> name;
  int32_t acc = -1;
  int32_t dec = -1;

  DeplTable() { reset(); }
  void reset() {
    for (auto& r : depl_record) {
      r.fill(-1);
      for (int f = DEPL_START_REQUEST; f <= DEPL_TIMER; ++f) r[f] = 0;
      // A movement started before its first speed step ramps up from standing, not from -1
      // (which the ramp would take for backward travel).
      r[DEPL_CURRENT_SPEED] = 0;
    }
    for (auto& n : name) n.clear();
    acc = -1;
    dec = -1;
  }
  bool has_start(int n) const { return depl_record[n][DEPL_START] != -1; }
};
