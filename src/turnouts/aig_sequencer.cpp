#include "turnouts/aig_sequencer.h"

#include "core/system.h"

namespace {

// Stores each slot's value into its output, up to the first slot whose output is -1.
template <size_t N>
void write_slots(System& sys, const std::array<AigSlot, N>& slots) {
  for (const AigSlot& slot : slots) {
    if (slot.out == -1) break;
    int index = aig_output_index(slot.out);
    if (index >= 0) sys.io.out[index] = slot.value;
  }
}

// A turnout whose command is not 0 or 1 has no direction to be moved in.
bool has_direction(const System& sys, int n) {
  return sys.aig.aig_cmd[n] == 0 || sys.aig.aig_cmd[n] == 1;
}

bool waiting(const System& sys, int n) {
  return sys.aig.defined(n) && !aig_in_position(sys, n) && has_direction(sys, n);
}

// The first waiting turnout after the one served last, cyclically; -1 when none.
int next_waiting_turnout(const System& sys) {
  int n = sys.aig.aig_seq_current;
  for (int step = 0; step < kTurnouts; ++step) {
    n = (n + 1) % kTurnouts;
    if (waiting(sys, n)) return n;
  }
  return -1;
}

const AigPhase& current_phase(const System& sys, int step) {
  const AigTable& a = sys.aig;
  return a.AIG_DESCR[a.aig_seq_current][3 * a.aig_seq_dir + step];
}

int current_duration(const System& sys, int step) {
  return aig_effective_duration(step, current_phase(sys, step).tic);
}

void clear_flags_out_of_position(System& sys) {
  for (int n = 0; n < kTurnouts; ++n) {
    if (aig_in_position(sys, n)) continue;
    sys.aig.pos0_aig[n] = 0;
    sys.aig.pos1_aig[n] = 0;
  }
}

void start_next_turnout(System& sys) {
  int n = next_waiting_turnout(sys);
  if (n < 0) return;
  AigTable& a = sys.aig;
  a.aig_seq_current = n;
  a.aig_seq_dir = a.aig_cmd[n];
  a.aig_seq_state = AIG_SEQ_PREPARE;
  a.aig_seq_count = current_duration(sys, AIG_STEP_PREPARE);
}

void finish_turnout(System& sys) {
  AigTable& a = sys.aig;
  a.aig_seq_state = AIG_SEQ_IDLE;
  a.pos0_aig[a.aig_seq_current] = a.aig_seq_dir == 0 ? 1 : 0;
  a.pos1_aig[a.aig_seq_current] = a.aig_seq_dir == 1 ? 1 : 0;
  write_slots(sys, a.AIG_DESCR_IDLE);
}

// One phase step: write its outputs, then count down or hand over to the next step.
void play_step(System& sys, int state) {
  AigTable& a = sys.aig;
  if (a.aig_seq_state != state) return;
  int step = state - AIG_SEQ_PREPARE;
  write_slots(sys, current_phase(sys, step).slot);
  if (a.aig_seq_count > 0) {
    --a.aig_seq_count;
  } else if (state == AIG_SEQ_RELEASE) {
    finish_turnout(sys);
  } else {
    a.aig_seq_state = state + 1;
    a.aig_seq_count = current_duration(sys, step + 1);
  }
}

}  // namespace

bool aig_in_position(const System& sys, int turnout) {
  if (turnout < 0 || turnout >= kTurnouts) return false;
  const AigTable& a = sys.aig;
  return (a.aig_cmd[turnout] == 0 && a.pos0_aig[turnout] == 1) ||
         (a.aig_cmd[turnout] == 1 && a.pos1_aig[turnout] == 1);
}

int aig_effective_duration(int step, int tic) {
  if (tic == -1) return 2;
  int shortest = step == AIG_STEP_ACT ? 1 : 0;
  return tic < shortest ? shortest : tic;
}

void aig_tick(System& sys) {
  clear_flags_out_of_position(sys);
  if (sys.aig.aig_seq_state == AIG_SEQ_IDLE) {
    write_slots(sys, sys.aig.AIG_DESCR_IDLE);
    start_next_turnout(sys);
  }
  // A step whose count is over hands over to the next one within the same tick.
  play_step(sys, AIG_SEQ_PREPARE);
  play_step(sys, AIG_SEQ_ACT);
  play_step(sys, AIG_SEQ_RELEASE);
}

void reset_turnout_states(System& sys) {
  AigTable& a = sys.aig;
  for (auto* table : {&a.aig_cmd, &a.pos0_aig, &a.pos1_aig, &a.aig_reserved}) table->fill(0);
}
