#include "moves/depl_engine.h"

#include <algorithm>

#include "core/system.h"
#include "core/tokens.h"
#include "core/var_bus.h"
#include "moves/depl_config.h"
#include "trains/speed_profile.h"

namespace {

constexpr const char* kStateTexts[kDeplStates] = {
    "-.-.-.-.-.-.-.-.-.-.-.-.-.-.-.-",  //
    "EN ATTENTE RÉSERVE CANT ET AIG ",  //
    "POSITIONNE VARIABLES DEBUT_DÉPL",  //
    "TEMPO EN COURS AVANT DÉPLACEMEN",  //
    " ÉTABLI POSITIONS D'AIGUILLAGES",  //
    "EN ATTENTE POSITION AIGUILLAGES",  //
    "RÉSERVATION+ALIMENTATION CANTON",  //
    "EN ATTENTE PASSAGE CANTON PASS:",  //
    "EN ATTENTE ARRIVÉE CANTON/GARAG",  //
    " ÉTABLI LA TEMPO D'ARRÊT TRAIN ",  //
    "TEMPO EN COURS ARRÊT DU TRAIN  ",  //
    "FIN DÉPLACEMENT,RAZ DES CANTONS",  //
    "ÉTABLI LA TEMPO LIBÉRATION CANT",  //
    "TEMPO EN COURS LIBÉRATION CANTO",  //
    "POSITIONNE VARIABLES FIN_DEPLAC",  //
    "FIN RÉSERVATION CANTONS,AIG,SRV",  //
};

constexpr int kListEntries = 10;
constexpr int kVariableEntries = 4;
constexpr int kNoTargetSpeed = -1;
constexpr int kSpeedWhenUnseen = 10;  // no canton of the list sees the train
constexpr int kNoBraking = -1;
constexpr int kFullSpeed = 64;

bool valid_train(int train) {
  return train >= 0 && train < kTrainEntries;
}

// Siding g of a canton number kSidingCanton + g, or -1.
int siding_of(int canton) {
  return canton >= kSidingCanton && canton < kSidingCanton + kSidings ? canton - kSidingCanton : -1;
}

// Index of a servo number (card * 100 + 0..4) in the per-servo tables, or -1.
int servo_slot(int servo) {
  if (servo < 0 || servo / 100 >= kCards || servo % 100 >= kServoPerCard) return -1;
  return servo / 100 * kServoPerCard + servo % 100;
}

int servo_command_index(int servo) {
  return servo / 100 * kSrvCmdPerCard + servo % 100;
}

bool detected(const System& sys, int slot) {
  return sys.io.det[static_cast<size_t>(slot)] == 1;
}

// The canton entries of a movement's list that name a canton: f(slot, configured speed).
template <typename F>
void for_each_canton(const DeplRecord& r, F f) {
  for (int k = 0; k < kListEntries; ++k) {
    const int canton = r[DEPL_CANTONS + 2 * k];
    if (canton == -1) break;
    const int slot = canton_slot(canton);
    if (slot >= 0) f(slot, r[DEPL_CANTONS + 2 * k + 1]);
  }
}

// The entries that name a siding: f(g).
template <typename F>
void for_each_siding(const DeplRecord& r, F f) {
  for (int k = 0; k < kListEntries; ++k) {
    const int canton = r[DEPL_CANTONS + 2 * k];
    if (canton == -1) break;
    const int g = siding_of(canton);
    if (g >= 0) f(g);
  }
}

// The turnout entries: f(turnout, position).
template <typename F>
void for_each_turnout(const DeplRecord& r, F f) {
  for (int k = 0; k < kListEntries; ++k) {
    const int turnout = r[DEPL_TURNOUTS + 2 * k];
    if (turnout == -1) break;
    if (turnout >= 0 && turnout < kTurnouts) f(turnout, r[DEPL_TURNOUTS + 2 * k + 1]);
  }
}

void set_train_mode(System& sys, const DeplRecord& r, const char* mode) {
  if (valid_train(r[DEPL_TRAIN])) sys.trains.mode[static_cast<size_t>(r[DEPL_TRAIN])] = mode;
}

// Start or end variables of the given kinds get `value`; an unknown label (-1) gets nothing.
void write_variables(System& sys, const DeplRecord& r, int kind_a, int kind_b, int value) {
  for (int k = 0; k < kVariableEntries; ++k) {
    const int kind = r[DEPL_VARIABLES + 2 * k];
    const int var = r[DEPL_VARIABLES + 2 * k + 1];
    if ((kind == kind_a || kind == kind_b) && var >= 0) var_write(sys, var, value);
  }
}

// The train of a start canton that holds a manual train's main canton; `qualifies` false when
// the canton is not one.
int manual_train_on(const System& sys, int canton, bool& qualifies) {
  const int slot = canton_slot(canton);
  qualifies = slot >= 0 && sys.cantons.ResvMANU[static_cast<size_t>(slot)] != 0;
  return qualifies ? sys.cantons.num_train[static_cast<size_t>(slot)] : -1;
}

// The train to drive: the one parked in the start siding, or the manual train on start2 or
// start (two different trains there: none). -1 while there is none.
int find_train(const System& sys, const DeplRecord& r) {
  const int g = siding_of(r[DEPL_START]);
  if (g >= 0) {
    const GarageTable& garage = sys.garage;
    if (garage.res_auto[g] == 1 || garage.state_lock[g] == 0) return -1;
    return valid_train(garage.num_train[g]) ? garage.num_train[g] : -1;
  }
  bool s_ok = false, s2_ok = false;
  const int s_train = manual_train_on(sys, r[DEPL_START], s_ok);
  const int s2_train = manual_train_on(sys, r[DEPL_START2], s2_ok);
  if (s_ok && s2_ok && s_train != s2_train) return -1;
  const int train = s2_ok ? s2_train : s_ok ? s_train : -1;
  return valid_train(train) ? train : -1;
}

bool cantons_free(const System& sys, const DeplRecord& r, int train) {
  const CantonTable& c = sys.cantons;
  bool free = true;
  for_each_canton(r, [&](int slot, int speed) {
    const int canton = canton_number(slot);
    const bool start = canton == r[DEPL_START] || canton == r[DEPL_START2];
    if (c.ResvAUTO[slot] == 1) free = false;
    if (!start && c.ResvMANU[slot] == 1) free = false;
    // Reserved and already powered ahead of another manual train.
    if (c.Res2MANU[slot] == 1 && c.num_train[slot] != train) free = false;
    if (speed > 0 && (c.sens_ok[slot] & 1) == 0) free = false;
    if (speed < 0 && (c.sens_ok[slot] & 2) == 0) free = false;
  });
  return free;
}

bool sidings_free(const System& sys, const DeplRecord& r) {
  const GarageTable& garage = sys.garage;
  const int start = siding_of(r[DEPL_START]);
  bool free = true;
  for_each_siding(r, [&](int g) {
    if (garage.res_auto[g] == 1) free = false;
    if (g != start && garage.state_lock[g] == 1) free = false;
  });
  const int stop = siding_of(r[DEPL_STOP]);
  if (stop >= 0 && garage.state_lock[stop] != 0) free = false;
  return free;
}

bool turnouts_free(const System& sys, const DeplRecord& r) {
  bool free = true;
  for_each_turnout(r, [&](int t, int) {
    if (sys.aig.aig_reserved[t] == 1) free = false;
  });
  const int servo = servo_slot(r[DEPL_SERVO]);
  if (servo >= 0 && sys.io.srv_reserved[static_cast<size_t>(servo)] != 0) free = false;
  return free;
}

// Every check is made each time, so a waiting movement costs the same whatever blocks it.
bool may_start(const System& sys, const DeplRecord& r, int train) {
  const TrainTable& t = sys.trains;
  bool ok = t.en_auto[train] != 0 && t.en[train] != 0;
  ok &= r[DEPL_REQUIRED_TRAIN] == -1 || r[DEPL_REQUIRED_TRAIN] == train;
  ok &= sidings_free(sys, r);
  ok &= cantons_free(sys, r, train);
  ok &= turnouts_free(sys, r);
  return ok;
}

void hold_siding(System& sys, int g) {
  if (g >= 0) sys.garage.res_auto[g] = 1;
}

void reserve(System& sys, DeplRecord& r, int train) {
  CantonTable& c = sys.cantons;
  for_each_canton(r, [&](int slot, int) {
    c.ResvAUTO[slot] = 1;
    c.Vit_AUTO[slot] = 0;
    c.ResvMANU[slot] = 0;
    c.num_train[slot] = train;
  });
  for_each_siding(r, [&](int g) { hold_siding(sys, g); });
  hold_siding(sys, siding_of(r[DEPL_STOP]));
  // The start siding too: a connect request would hand the train back under the movement.
  hold_siding(sys, siding_of(r[DEPL_START]));
  for_each_turnout(r, [&](int t, int) { sys.aig.aig_reserved[t] = 1; });
  const int servo = servo_slot(r[DEPL_SERVO]);
  if (servo >= 0) sys.io.srv_reserved[static_cast<size_t>(servo)] = 1;
  sys.trains.mode[static_cast<size_t>(train)] = "AUTO";
  r[DEPL_ENDED_IN_SIDING] = 0;
  r[DEPL_STATE] = DEPL_START_VARIABLES;
}

void wait_resources(System& sys, DeplRecord& r) {
  const int train = find_train(sys, r);
  if (train < 0) return;
  r[DEPL_TRAIN] = train;
  if (may_start(sys, r, train)) reserve(sys, r, train);
}

// A timed state: counts down, then goes to `next`.
void count_down(DeplRecord& r, int next) {
  if (r[DEPL_TIMER] > 0) {
    --r[DEPL_TIMER];
  } else {
    r[DEPL_STATE] = next;
  }
}

// Starts a delay of `tics` in state `timed`, or goes straight to `next`.
void start_delay(DeplRecord& r, int tics, int timed, int next) {
  if (tics > 0) {
    r[DEPL_STATE] = timed;
    r[DEPL_TIMER] = tics;
  } else {
    r[DEPL_STATE] = next;
  }
}

void start_variables(System& sys, DeplRecord& r) {
  write_variables(sys, r, DEPL_SDEB, DEPL_SC, 1);
  write_variables(sys, r, DEPL_CDEB, DEPL_CDEB, 0);
  start_delay(r, r[DEPL_TEMPO], DEPL_START_DELAY, DEPL_SET_TURNOUTS);
}

void set_turnouts(System& sys, DeplRecord& r) {
  for_each_turnout(r, [&](int t, int position) { sys.aig.aig_cmd[t] = position; });
  if (servo_slot(r[DEPL_SERVO]) >= 0)
    sys.io.srv_cmd[static_cast<size_t>(servo_command_index(r[DEPL_SERVO]))] =
        r[DEPL_SERVO_POSITION];
  r[DEPL_STATE] = DEPL_WAIT_TURNOUTS;
}

void wait_turnouts(System& sys, DeplRecord& r) {
  bool ready = true;
  for_each_turnout(r, [&](int t, int position) {
    const auto& flag = position == 0 ? sys.aig.pos0_aig : sys.aig.pos1_aig;
    if (flag[t] == 0) ready = false;
  });
  const int servo = servo_slot(r[DEPL_SERVO]);
  if (servo >= 0 && sys.io.srv_pos[static_cast<size_t>(servo)] != r[DEPL_SERVO_POSITION])
    ready = false;
  if (ready) r[DEPL_STATE] = DEPL_POWER;
}

void power(System& sys, DeplRecord& r) {
  const int g = siding_of(r[DEPL_START]);
  if (g >= 0) {
    sys.garage.cmd_lock[g] = 0;
    sys.garage.state_lock[g] = 0;
    sys.garage.num_train[g] = -1;
    if (valid_train(r[DEPL_TRAIN]))
      sys.trains.train_garage[static_cast<size_t>(r[DEPL_TRAIN])] = -1;
  }
  for_each_canton(r, [&](int slot, int speed) { sys.cantons.Vit_AUTO[slot] = speed; });
  r[DEPL_STATE] = DEPL_WAIT_PASS;
}

// A watched variable (pass, libe, fin, halt) is given and reads 1.
bool reads_one(System& sys, const DeplRecord& r, int field) {
  return r[field] >= 0 && var_read(sys, r[field]) == r[field + 1];
}

void wait_pass(System& sys, DeplRecord& r) {
  if (r[DEPL_PASS] == -1 || reads_one(sys, r, DEPL_PASS)) r[DEPL_STATE] = DEPL_WAIT_ARRIVAL;
}

void wait_arrival(System& sys, DeplRecord& r) {
  if (reads_one(sys, r, DEPL_HALT)) {
    r[DEPL_STATE] = DEPL_START_STOP_DELAY;
    r[DEPL_CURRENT_SPEED] = 0;
  }
  const bool released = r[DEPL_LIBE] == -1 || !reads_one(sys, r, DEPL_LIBE);
  if (released && reads_one(sys, r, DEPL_FIN)) r[DEPL_STATE] = DEPL_START_STOP_DELAY;
}

void stop_cantons(System& sys, const DeplRecord& r) {
  for_each_canton(r, [&](int slot, int) { sys.cantons.Vit_AUTO[slot] = 0; });
}

// Once the train stands still: the cantons lose their speed and the train is parked in the
// stop siding when there is one.
void standstill(System& sys, DeplRecord& r) {
  if (r[DEPL_CURRENT_SPEED] != 0) return;
  stop_cantons(sys, r);
  const int g = siding_of(r[DEPL_STOP]);
  const int train = r[DEPL_TRAIN];
  if (g >= 0 && sys.garage.ass_canton[g] != -1 && valid_train(train)) {
    sys.garage.cmd_lock[g] = 1;
    sys.garage.state_lock[g] = 1;
    sys.garage.num_train[g] = train;
    sys.trains.train_garage[static_cast<size_t>(train)] = g;
    r[DEPL_ENDED_IN_SIDING] = 1;
  }
  r[DEPL_STATE] = DEPL_START_RELEASE_DELAY;
}

void end_variables(System& sys, DeplRecord& r) {
  write_variables(sys, r, DEPL_SFIN, DEPL_SFIN, 1);
  write_variables(sys, r, DEPL_CFIN, DEPL_SC, 0);
  stop_cantons(sys, r);
  r[DEPL_TIMER] = 0;
  r[DEPL_STATE] = DEPL_RELEASE;
}

void let_go_siding(System& sys, int g) {
  if (g >= 0) sys.garage.res_auto[g] = 0;
}

// Hands everything back. The train becomes manual on the cantons of the list that see it, or
// on the last canton of the list when none does; a train parked in a siding leaves the cantons.
void release(System& sys, DeplRecord& r) {
  CantonTable& c = sys.cantons;
  const bool parked = r[DEPL_ENDED_IN_SIDING] == 1;
  bool seen = false;
  int last_slot = -1;
  for_each_canton(r, [&](int slot, int) {
    c.ResvAUTO[slot] = 0;
    c.Vit_AUTO[slot] = 0;
    if (!parked && detected(sys, slot)) {
      c.ResvMANU[slot] = 1;
      seen = true;
    }
    if (parked) c.num_train[slot] = -1;
    last_slot = slot;
  });
  for_each_siding(r, [&](int g) { let_go_siding(sys, g); });
  let_go_siding(sys, siding_of(r[DEPL_STOP]));
  let_go_siding(sys, siding_of(r[DEPL_START]));
  if (!parked && !seen && last_slot >= 0) c.ResvMANU[last_slot] = 1;
  for_each_turnout(r, [&](int t, int) { sys.aig.aig_reserved[t] = 0; });
  const int servo = servo_slot(r[DEPL_SERVO]);
  if (servo >= 0) sys.io.srv_reserved[static_cast<size_t>(servo)] = 0;
  set_train_mode(sys, r, "SEL");
  r[DEPL_STATE] = DEPL_IDLE;
  r[DEPL_START_REQUEST] = 0;
}

// A stop request: a waiting movement gives up, a running one lets go at once (no braking, no
// end variables).
void stop_request(DeplRecord& r) {
  if (r[DEPL_STOP_REQUEST] == 0) return;
  r[DEPL_STOP_REQUEST] = 0;
  r[DEPL_TIMER] = 0;
  if (r[DEPL_STATE] == DEPL_WAIT_RESOURCES) {
    r[DEPL_STATE] = DEPL_IDLE;
    r[DEPL_START_REQUEST] = 0;
  } else if (r[DEPL_STATE] != DEPL_IDLE) {
    r[DEPL_STATE] = DEPL_RELEASE;
  }
}

using Step = void (*)(System&, DeplRecord&);

// The step of each state, in order: a state entered by one step is carried on by the next
// step in the same tick.
constexpr Step kSteps[kDeplStates] = {
    nullptr,
    wait_resources,
    start_variables,
    [](System&, DeplRecord& r) { count_down(r, DEPL_SET_TURNOUTS); },
    set_turnouts,
    wait_turnouts,
    power,
    wait_pass,
    wait_arrival,
    [](System&, DeplRecord& r) { start_delay(r, r[DEPL_TAF], DEPL_STOP_DELAY, DEPL_STANDSTILL); },
    [](System&, DeplRecord& r) { count_down(r, DEPL_STANDSTILL); },
    standstill,
    [](System&, DeplRecord& r) {
      start_delay(r, r[DEPL_TSF], DEPL_RELEASE_DELAY, DEPL_END_VARIABLES);
    },
    [](System&, DeplRecord& r) { count_down(r, DEPL_END_VARIABLES); },
    end_variables,
    release,
};

void advance(System& sys, DeplRecord& r) {
  stop_request(r);
  if (r[DEPL_STATE] == DEPL_IDLE) {
    if (r[DEPL_START_REQUEST] == 0) return;
    r[DEPL_STATE] = DEPL_WAIT_RESOURCES;
  }
  for (int s = DEPL_WAIT_RESOURCES; s < kDeplStates; ++s)
    if (r[DEPL_STATE] == s) kSteps[s](sys, r);
}

// The ramp level of the train, or the global one of #depl when given and lower (a faster
// ramp). A train without inertia (-1) keeps none.
int ramp_level(const std::array<int32_t, kProfileRows>& levels, int train, int global) {
  const int own = valid_train(train) ? levels[static_cast<size_t>(train)] : -1;
  return global != -1 && global < own ? global : own;
}

// A configured speed without its sign, within full speed.
int speed_magnitude(int speed) {
  return speed < 0 ? (speed < -kFullSpeed ? kFullSpeed : -speed) : std::min(speed, kFullSpeed);
}

// The average configured speed of the list's cantons that see the train; the last canton of
// the list, once it sees the train, alone sets the speed.
int target_speed(const System& sys, const DeplRecord& r) {
  int sum = 0;
  int count = 0;
  for (int k = 0; k < kListEntries; ++k) {
    const int canton = r[DEPL_CANTONS + 2 * k];
    if (canton == -1) break;
    const int slot = canton_slot(canton);
    if (slot < 0 || !detected(sys, slot)) continue;
    const int speed = speed_magnitude(r[DEPL_CANTONS + 2 * k + 1]);
    const bool last = k == kListEntries - 1 || r[DEPL_CANTONS + 2 * k + 2] == -1;
    sum = last ? speed : sum + speed;
    count = last ? 1 : count + 1;
  }
  return count > 0 ? sum / count : kSpeedWhenUnseen;
}

void drive_cantons(System& sys, const DeplRecord& r) {
  const int speed = r[DEPL_CURRENT_SPEED];
  for_each_canton(r, [&](int slot, int configured) {
    sys.cantons.Vit_AUTO[slot] = configured < 0 ? -speed : speed;
  });
}

void speed_step(System& sys, DeplRecord& r) {
  const int state = r[DEPL_STATE];
  const int train = r[DEPL_TRAIN];
  const TrainTable& t = sys.trains;
  if (state >= DEPL_WAIT_PASS && state <= DEPL_STOP_DELAY) {
    r[DEPL_TARGET_SPEED] = target_speed(sys, r);
    r[DEPL_CURRENT_SPEED] = ramp_step(sys, r[DEPL_TARGET_SPEED], r[DEPL_CURRENT_SPEED],
                                      ramp_level(t.acc, train, sys.depl.acc),
                                      ramp_level(t.dec, train, sys.depl.dec), kNoBraking);
    drive_cantons(sys, r);
  } else if (state == DEPL_STANDSTILL) {
    const int level = ramp_level(t.dec, train, sys.depl.dec);
    r[DEPL_CURRENT_SPEED] = ramp_step(sys, 0, r[DEPL_CURRENT_SPEED], level, level, kNoBraking);
    drive_cantons(sys, r);
  } else {
    r[DEPL_TARGET_SPEED] = kNoTargetSpeed;
    r[DEPL_CURRENT_SPEED] = 0;
  }
}

}  // namespace

void depl_tick(System& sys) {
  for (DeplRecord& r : sys.depl.depl_record) advance(sys, r);
  for (DeplRecord& r : sys.depl.depl_record) speed_step(sys, r);
}

void depl_reload(System& sys) {
  for (DeplRecord& r : sys.depl.depl_record)
    if (r[DEPL_STATE] != DEPL_IDLE && r[DEPL_STATE] != DEPL_WAIT_RESOURCES) release(sys, r);
  read_depl_section(sys);
}

const char* depl_state_text(int state) {
  return state >= 0 && state < kDeplStates ? kStateTexts[state] : "";
}
