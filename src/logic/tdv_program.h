// The compiled logic of #tdv: one flat program of integers, the truth-table starts with their
// on/off values, and the pulse records with the engine's run state.
#pragma once

#include <array>
#include <cstdint>

#include "logic/logic_state.h"

constexpr int kProgramMax = 20000;
constexpr int kTdvTables = 50;
constexpr int kPulseTimes = 5;     // pause, on, pause, on, pause
constexpr int kTableMaxVars = 20;  // inputs or outputs of one truth table

// Program items: variable numbers, small values, constants and these opcodes.
enum TdvOp : int32_t {
  kOpStart = 30000,
  kOpIn = 30001,
  kOpInit = 30002,
  kOpRow = 30003,
  kOpEnd = 30004,
  kOpOut = 30005,
  kOpLoad = 30100,  // 30101..30106: load a comparison
  kOpLoadEq = 30101,
  kOpLoadNe = 30102,
  kOpLoadGt = 30103,
  kOpLoadGe = 30104,
  kOpLoadLt = 30105,
  kOpLoadLe = 30106,
  kOpAnd = 30110,
  kOpOr = 30120,
  kOpXor = 30130,
  kOpAssign = 30140,
  kOpSet = 30150,
  kOpClr = 30160,
  kOpNum = 30170,
  kOpVal = 30180,
  kOpVar = 30190,
  kOpLoadNot = 30200,
  kOpAndNot = 30210,
  kOpOrNot = 30220,
  kOpXorNot = 30230,
  kOpVarX4 = 30240,
};

constexpr int32_t kOpcodeBase = 30000;  // items from here on are opcodes
// Values inside rows and init: pairs.
constexpr int32_t kAnyValue = 120;  // 'x': any input value, output left alone
constexpr int32_t kCodeClear = 99;
constexpr int32_t kCodeSet = 115;

// Pulse run states.
enum PulseState : int32_t {
  kPulseIdle = 0,
  kPulseFirstPause = 1,
  kPulseFirstOn = 2,
  kPulseSecondPause = 3,
  kPulseSecondOn = 4,
  kPulseLastPause = 5,
};

struct PulseTable {
  std::array<int32_t, kPulses> defined{};
  std::array<std::array<int32_t, kPulseTimes>, kPulses> time{};  // in ticks
  std::array<int32_t, kPulses> var1{};                           // -1 when absent
  std::array<int32_t, kPulses> var2{};
  std::array<int32_t, kPulses> state{};
  std::array<int32_t, kPulses> count{};  // countdown of the current phase, in ticks
};

// Everything #tdv compiles to; rebuilt in place at every read of the section.
struct TdvLogic {
  std::array<int32_t, kProgramMax> prog{};
  int32_t length = 0;
  std::array<int32_t, kTdvTables> start{};  // index of the table in the program, -1 undefined
  std::array<int32_t, kTdvTables> on{};     // 0 = off, any other value = on
  PulseTable pulse;
};
