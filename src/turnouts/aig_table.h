// The turnouts: commanded position, position flags set by the sequencer, reservation, the
// motor description read from #aig and the sequencer that plays it.
#pragma once

#include <array>
#include <cstdint>

#include "cards/io_image.h"

constexpr int kTurnouts = 64;
constexpr int kAigPhases = 6;      // prep0 go0 lib0 prep1 go1 lib1
constexpr int kAigPhaseSlots = 8;  // outputs a phase sets
constexpr int kAigIdleSlots = 40;  // shared rest outputs
constexpr int kAigInfoFields = 5;

// The three steps of a direction; phase index = 3 * direction + step.
enum AigStep : int { AIG_STEP_PREPARE = 0, AIG_STEP_ACT = 1, AIG_STEP_RELEASE = 2 };

enum AigInfoField : int {
  AIG_INFO_DEFINED = 0,
  AIG_INFO_VERIF0_VAR = 1,
  AIG_INFO_VERIF0_VALUE = 2,
  AIG_INFO_VERIF1_VAR = 3,
  AIG_INFO_VERIF1_VALUE = 4,
};

// aig_seq_state
enum AigSeqState : int {
  AIG_SEQ_IDLE = 0,
  AIG_SEQ_PREPARE = 1,
  AIG_SEQ_ACT = 2,
  AIG_SEQ_RELEASE = 3,
};

// One output write: output number card * 100 + index (-1 ends a list) and the value stored.
struct AigSlot {
  int32_t out = -1;
  int32_t value = -1;
};

struct AigPhase {
  std::array<AigSlot, kAigPhaseSlots> slot{};
  int32_t tic = -1;  // duration in tics, -1 when not given
};

// Index in the I/O image's outputs of an output number card * 100 + index (cards 0..3, index
// 0..79), or -1 when the number names no output.
inline int aig_output_index(int32_t out) {
  if (out < 0 || out / 100 >= kCards || out % 100 >= kOutPerCard) return -1;
  return out / 100 * kOutPerCard + out % 100;
}

struct AigTable {
  std::array<int32_t, kTurnouts> aig_cmd{};
  std::array<int32_t, kTurnouts> pos0_aig{};
  std::array<int32_t, kTurnouts> pos1_aig{};
  std::array<int32_t, kTurnouts> aig_reserved{};

  std::array<std::array<AigPhase, kAigPhases>, kTurnouts> AIG_DESCR{};
  std::array<AigSlot, kAigIdleSlots> AIG_DESCR_IDLE{};
  std::array<std::array<int32_t, kAigInfoFields>, kTurnouts> AIG_DESCR_INFO{};

  int32_t aig_seq_state = AIG_SEQ_IDLE;
  int32_t aig_seq_current = -1;  // turnout being moved, or the last one served
  int32_t aig_seq_dir = 0;
  int32_t aig_seq_count = 0;  // tics left in the current phase

  AigTable() { reset_description(); }

  // The description and the sequencer as they are before #aig is read; commands, position
  // flags and reservations are left alone.
  void reset_description() {
    for (auto& phases : AIG_DESCR) phases.fill(AigPhase{});
    AIG_DESCR_IDLE.fill(AigSlot{});
    for (auto& info : AIG_DESCR_INFO) info = {0, -1, -1, -1, -1};
    aig_seq_state = AIG_SEQ_IDLE;
    aig_seq_current = -1;
    aig_seq_dir = 0;
    aig_seq_count = 0;
  }

  bool defined(int n) const {
    return n >= 0 && n < kTurnouts && AIG_DESCR_INFO[n][AIG_INFO_DEFINED] == 1;
  }
};
