#include "logic/tdv_engine.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/var_bus.h"

namespace {

constexpr VarNum kPulseCmdBase = 8500;

// ---- pulses ----

// What a phase does when its countdown has run out: the next state, the duration that starts,
// and the value written to the variables when the "on" duration it belongs to is not 0.
struct PhaseEnd {
  int32_t next;
  int next_time;  // index of the next phase's duration, -1 for none
  int on_time;    // index of the "on" duration that decides the write, -1 for none
  int32_t value;
};

// Indexed by state - 1.
constexpr std::array<PhaseEnd, 5> kPhaseEnds{{
    {kPulseFirstOn, 1, 1, 1},
    {kPulseSecondPause, 2, 1, 0},
    {kPulseSecondOn, 3, 3, 1},
    {kPulseLastPause, 4, 3, 0},
    {kPulseIdle, -1, -1, 0},
}};

void write_pulse_vars(System& sys, size_t p, int32_t value) {
  const PulseTable& pulse = sys.tdv.pulse;
  if (pulse.var1[p] >= 0) var_write(sys, pulse.var1[p], value);
  if (pulse.var2[p] >= 0) var_write(sys, pulse.var2[p], value);
}

void run_pulse(System& sys, size_t p) {
  PulseTable& pulse = sys.tdv.pulse;
  const VarNum trigger = kPulseCmdBase + static_cast<VarNum>(p);
  if (pulse.state[p] == kPulseIdle && var_read(sys, trigger) == 1) {
    var_write(sys, trigger, 0);
    pulse.state[p] = kPulseFirstPause;
    pulse.count[p] = pulse.time[p][0];
  }
  // The phases are tested one after the other, so a phase of 0 ticks ends in the tick it began.
  for (int32_t s = kPulseFirstPause; s <= kPulseLastPause; ++s) {
    if (pulse.state[p] != s) continue;
    if (pulse.count[p] > 0) {
      --pulse.count[p];
      continue;
    }
    const PhaseEnd& end = kPhaseEnds[static_cast<size_t>(s - 1)];
    pulse.state[p] = end.next;
    pulse.count[p] = end.next_time >= 0 ? pulse.time[p][static_cast<size_t>(end.next_time)] : 0;
    if (end.on_time >= 0 && pulse.time[p][static_cast<size_t>(end.on_time)] != 0) {
      write_pulse_vars(sys, p, end.value);
    }
  }
}

// ---- truth tables ----

[[noreturn]] void too_many_vars(System& sys, const char* what) {
  fatal_config_box(sys, "ZIR - Erreur",
                   "Erreur, une ligne dans une table n°xxx de la section 'tdv:' du fichier "
                   "'config.txt'\ncontient plus de  " +
                       std::to_string(kTableMaxVars) + "  " + what);
}

// One table's walk: the items from its start up to `stop` (exclusive).
class TableRun {
 public:
  TableRun(System& sys, int32_t stop) : sys_(sys), prog_(sys.tdv.prog), stop_(stop) {}

  void run(int32_t k) {
    while (k < stop_ && prog_[idx(k)] != kOpEnd) {
      switch (prog_[idx(k)]) {
        case kOpIn:
          k = read_inputs(k + 1);
          break;
        case kOpOut:
          k = read_outputs(k + 1);
          break;
        case kOpInit:
          inputs_ = outputs_ = 0;
          k = write_pairs(k + 1, true);
          break;
        case kOpRow:
          k = run_row(k + 1);
          break;
        default:
          ++k;
      }
    }
  }

 private:
  static size_t idx(int32_t k) { return static_cast<size_t>(k); }
  bool operand(int32_t k) const { return k < stop_ && prog_[idx(k)] < kOpcodeBase; }

  int32_t read_inputs(int32_t k) {
    inputs_ = outputs_ = 0;
    for (; operand(k); ++k) {
      if (inputs_ == kTableMaxVars) too_many_vars(sys_, "variables d'entrées.");
      input_value_[idx(inputs_++)] = var_read(sys_, prog_[idx(k)]);
    }
    return k;
  }

  int32_t read_outputs(int32_t k) {
    outputs_ = 0;
    for (; operand(k); ++k) {
      if (outputs_ == kTableMaxVars) too_many_vars(sys_, "variables de sorties.");
      output_var_[idx(outputs_++)] = prog_[idx(k)];
    }
    return k;
  }

  // (code, variable) pairs: 1 for the set code, 0 for any other.
  int32_t write_pairs(int32_t k, bool matched) {
    for (; operand(k) && operand(k + 1); k += 2) {
      if (matched) var_write(sys_, prog_[idx(k + 1)], prog_[idx(k)] == kCodeSet ? 1 : 0);
    }
    return k;
  }

  // A row holds one value per input, one per output, then clear/set pairs. A row cut short by
  // the next opcode does not match.
  int32_t run_row(int32_t k) {
    bool matched = true;
    for (int i = 0; i < inputs_; ++i, ++k) {
      if (!operand(k)) return k;
      const int32_t want = prog_[idx(k)];
      if (want != kAnyValue && want != input_value_[idx(i)]) matched = false;
    }
    for (int j = 0; j < outputs_ && operand(k); ++j, ++k) {
      const int32_t value = prog_[idx(k)];
      if (matched && (value == 0 || value == 1)) var_write(sys_, output_var_[idx(j)], value);
    }
    return write_pairs(k, matched);
  }

  System& sys_;
  const std::array<int32_t, kProgramMax>& prog_;
  const int32_t stop_;
  int inputs_ = 0;
  int outputs_ = 0;
  std::array<int32_t, kTableMaxVars> input_value_{};
  std::array<VarNum, kTableMaxVars> output_var_{};
};

// ---- equations ----

bool truth(System& sys, VarNum v) {
  return var_read(sys, v) != 0;
}

// Wraps on overflow as the 32-bit arithmetic of the cards' host always did.
int32_t times4(int32_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) * 4u);
}

int operand_count(int32_t op) {
  switch (op) {
    case kOpLoad:
    case kOpLoadNot:
    case kOpAnd:
    case kOpAndNot:
    case kOpOr:
    case kOpOrNot:
    case kOpXor:
    case kOpXorNot:
    case kOpAssign:
    case kOpSet:
    case kOpClr:
      return 1;
    case kOpLoadEq:
    case kOpLoadNe:
    case kOpLoadGt:
    case kOpLoadGe:
    case kOpLoadLt:
    case kOpLoadLe:
    case kOpNum:
    case kOpVal:
    case kOpVar:
    case kOpVarX4:
      return 2;
    default:
      return 0;  // not an equation opcode
  }
}

// One equation opcode with its operands `a` (a variable) and `b` (a constant or a variable).
void run_equation(System& sys, int32_t op, int32_t a, int32_t b, bool& acc) {
  switch (op) {
    case kOpLoad:
      acc = truth(sys, a);
      break;
    case kOpLoadNot:
      acc = !truth(sys, a);
      break;
    case kOpAnd:
      acc = acc && truth(sys, a);
      break;
    case kOpAndNot:
      acc = acc && !truth(sys, a);
      break;
    case kOpOr:
      acc = acc || truth(sys, a);
      break;
    case kOpOrNot:
      acc = acc || !truth(sys, a);
      break;
    case kOpXor:
      acc = acc != truth(sys, a);
      break;
    case kOpXorNot:
      acc = acc == truth(sys, a);
      break;
    case kOpLoadEq:
      acc = var_read(sys, a) == b;
      break;
    case kOpLoadNe:
      acc = var_read(sys, a) != b;
      break;
    case kOpLoadGt:
      acc = var_read(sys, a) > b;
      break;
    case kOpLoadGe:
      acc = var_read(sys, a) >= b;
      break;
    case kOpLoadLt:
      acc = var_read(sys, a) < b;
      break;
    case kOpLoadLe:
      acc = var_read(sys, a) <= b;
      break;
    case kOpAssign:
      var_write(sys, a, acc ? 1 : 0);
      break;
    case kOpSet:
      if (acc) var_write(sys, a, 1);
      break;
    case kOpClr:
      if (acc) var_write(sys, a, 0);
      break;
    case kOpNum:
      var_write(sys, a, b);
      break;
    case kOpVal:
      if (acc) var_write(sys, a, b);
      break;
    case kOpVar:
      if (acc) var_write(sys, a, var_read(sys, b));
      break;
    case kOpVarX4:
      if (acc) var_write(sys, a, times4(var_read(sys, b)));
      break;
    default:
      break;
  }
}

}  // namespace

void pulses_step(System& sys) {
  for (size_t p = 0; p < static_cast<size_t>(kPulses); ++p) {
    if (sys.tdv.pulse.defined[p]) run_pulse(sys, p);
  }
}

void tables_step(System& sys) {
  const TdvLogic& tdv = sys.tdv;
  for (size_t t = 0; t < static_cast<size_t>(kTdvTables); ++t) {
    const int32_t start = tdv.start[t];
    if (start < 0 || tdv.on[t] == 0) continue;
    int32_t stop = tdv.length;
    if (t + 1 < static_cast<size_t>(kTdvTables) && tdv.start[t + 1] >= 0) {
      stop = std::min(stop, tdv.start[t + 1]);
    }
    TableRun(sys, stop).run(start);
  }
}

void equations_step(System& sys) {
  const TdvLogic& tdv = sys.tdv;
  bool acc = false;
  // The end item is the last one; an opcode whose operands would reach it ends the walk.
  const int32_t end = tdv.length - 1;
  for (int32_t k = 0; k < end;) {
    const int32_t op = tdv.prog[static_cast<size_t>(k)];
    const int n = operand_count(op);
    if (n == 0) {
      ++k;
      continue;
    }
    if (k + n >= end) return;
    const int32_t a = tdv.prog[static_cast<size_t>(k + 1)];
    const int32_t b = n == 2 ? tdv.prog[static_cast<size_t>(k + 2)] : 0;
    run_equation(sys, op, a, b, acc);
    k += n + 1;
  }
}

void tdv_tick(System& sys) {
  pulses_step(sys);
  tables_step(sys);
  equations_step(sys);
}

void reset_user_vars(System& sys) {
  sys.logic.var.fill(0);
}
