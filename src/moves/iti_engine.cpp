#include "moves/iti_engine.h"

#include "core/system.h"

const char* const kItiStateText[kItiStates] = {
    "-.-.-.-.-.-.-.-.-.-.-.-.", "EN ATTENTE LOCO SUR CANT", " EN ATTENTE RÉSERVE AIG ",
    "EN ATTENTE POSITION AIG ", "EN ATTENTE LOCO CANT FIN", "  EN ATTENTE FIN TEMPO  ",
    "   ITINÉRAIRE  ETABLI   ", "       LIBÉRATION       ",
};

namespace {

// Calls f(turnout, position) for each entry of the route's list, up to the first entry that
// names no turnout.
template <typename F>
void for_each_turnout(const ItiRecord& r, F f) {
  for (int k = 0; k < kRouteTurnouts; ++k) {
    const int32_t turnout = r[ITI_TURNOUTS + 2 * k];
    if (turnout < 0 || turnout >= kTurnouts) return;
    f(turnout, r[ITI_TURNOUTS + 2 * k + 1]);
  }
}

bool lies_in(const AigTable& aig, int turnout, int32_t position) {
  return (position == 0 ? aig.pos0_aig[turnout] : aig.pos1_aig[turnout]) == 1;
}

// Every turnout of the list reports the route's position (an empty list does).
bool all_in_position(const AigTable& aig, const ItiRecord& r) {
  bool all = true;
  for_each_turnout(r, [&](int n, int32_t p) { all = all && lies_in(aig, n, p); });
  return all;
}

bool any_reserved(const AigTable& aig, const ItiRecord& r) {
  bool any = false;
  for_each_turnout(r, [&](int n, int32_t) { any = any || aig.aig_reserved[n] != 0; });
  return any;
}

// A start canton or stop canton is "not given" at -1; a number that names no canton never
// reads occupied.
bool canton_detected(const System& sys, int32_t canton) {
  const int slot = canton_slot(canton);
  return slot >= 0 && sys.io.det[slot] != 0;
}

void stop_request(ItiRecord& r) {
  if (r[ITI_STOP_REQUEST] == 0) return;
  r[ITI_STOP_REQUEST] = 0;
  if (r[ITI_STATE] == ITI_WAIT_TRAIN || r[ITI_STATE] == ITI_WAIT_FREE) {
    r[ITI_STATE] = ITI_IDLE;
    r[ITI_START_REQUEST] = 0;
  } else if (r[ITI_STATE] != ITI_IDLE) {
    r[ITI_STATE] = ITI_RELEASE;
  }
}

// Throws the turnouts nobody holds; the others are left as they are.
void direct_route(AigTable& aig, ItiRecord& r) {
  if (r[ITI_START_REQUEST] != 0) {
    r[ITI_START_REQUEST] = 0;
    for_each_turnout(r, [&](int n, int32_t p) {
      if (aig.aig_reserved[n] == 0) aig.aig_cmd[n] = p;
    });
  }
  r[ITI_OK] = all_in_position(aig, r) ? 1 : 0;
}

// The states follow one another within the tick as far as their conditions allow.
void onoff_route(System& sys, ItiRecord& r) {
  AigTable& aig = sys.aig;
  int32_t& state = r[ITI_STATE];
  if (state == ITI_IDLE && r[ITI_START_REQUEST] == 1) {
    r[ITI_START_REQUEST] = 0;
    state = ITI_WAIT_TRAIN;
  }
  if (state == ITI_WAIT_TRAIN &&
      (r[ITI_START_CANTON] == -1 || canton_detected(sys, r[ITI_START_CANTON])))
    state = ITI_WAIT_FREE;
  if (state == ITI_WAIT_FREE && !any_reserved(aig, r)) {
    for_each_turnout(r, [&](int n, int32_t p) {
      aig.aig_cmd[n] = p;
      aig.aig_reserved[n] = 1;
    });
    state = ITI_WAIT_POSITION;
  }
  if (state == ITI_WAIT_POSITION && all_in_position(aig, r)) state = ITI_WAIT_STOP_CANTON;
  if (state == ITI_WAIT_STOP_CANTON) {
    if (r[ITI_STOP_CANTON] == -1) {
      state = ITI_ESTABLISHED;
    } else if (canton_detected(sys, r[ITI_STOP_CANTON])) {
      state = ITI_RELEASE_DELAY;
      r[ITI_TIMER] = kItiReleaseDelay;
    }
  }
  if (state == ITI_RELEASE_DELAY) {
    if (r[ITI_TIMER] != 0) {
      --r[ITI_TIMER];
    } else {
      state = ITI_RELEASE;
    }
  }
  if (state == ITI_RELEASE) {
    for_each_turnout(r, [&](int n, int32_t) { aig.aig_reserved[n] = 0; });
    state = ITI_IDLE;
  }
  r[ITI_OK] = (state >= ITI_WAIT_STOP_CANTON && state <= ITI_ESTABLISHED) ? 1 : 0;
  r[ITI_WAIT] = (state >= ITI_WAIT_TRAIN && state <= ITI_WAIT_POSITION) ? 1 : 0;
}

}  // namespace

void iti_tick(System& sys) {
  for (ItiRecord& r : sys.iti.iti_record) {
    if (r[ITI_DEFINED] != 1) continue;
    stop_request(r);
    if (r[ITI_MODE] == 0) {
      direct_route(sys.aig, r);
    } else {
      onoff_route(sys, r);
    }
  }
}
