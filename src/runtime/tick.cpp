#include "runtime/tick.h"

#include "cards/card_exchange.h"
#include "cards/card_screen.h"
#include "clock/exe_engine.h"
#include "clock/horo_engine.h"
#include "clock/vib_engine.h"
#include "core/special_vars.h"
#include "core/system.h"
#include "logic/tdv_engine.h"
#include "moves/depl_engine.h"
#include "moves/garage_engine.h"
#include "moves/iti_engine.h"
#include "runtime/window_events.h"
#include "trains/canton_engine.h"
#include "trains/driving.h"
#include "trains/speed_profile.h"
#include "trains/split_join.h"
#include "trains/tracking.h"
#include "turnouts/aig_sequencer.h"

void simulation_switch(System& sys) {
  const auto& var = sys.logic.var;
  if (var[499] != 1) return;
  // det_0..15 and det_100..115 (the first 32 detections) follow var_450..481.
  for (size_t i = 0; i < 32; ++i) sys.io.det[i] = var[450 + i];
  for (size_t i = 0; i < kInPerCard; ++i) sys.io.in[i] = var[500 + i];
}

void emergency_stop_toggle(System& sys) {
  TickState& t = sys.ticks;
  if (t.arret_urg_on == 1 && t.arret_urg_prev == 0) t.arret_urg_state ^= 1;
  t.arret_urg_prev = t.arret_urg_on;
}

namespace {

void panel_countdowns(System& sys) {
  for (int32_t& countdown : sys.ticks.panel_countdown)
    if (countdown > 0) --countdown;
}

// Every engine in its fixed order: each reads what the steps before it wrote in this tick
// and what the card exchange brought in. Values computed after the exchange reach the cards
// in the next tick's frame.
void run_tick_steps(System& sys) {
  remote_step(sys);
  snapshot_step(sys);
  lost_train_step(sys);
  ++sys.ticks.tick;
  panel_countdowns(sys);
  special_vars_step(sys);
  tdv_tick(sys);
  servo_ramp(sys);
  exchange_cards(sys);
  simulation_switch(sys);
  emergency_stop_toggle(sys);
  panel_tick_paint(sys);
  trains_engine_step(sys);
  tracking_step(sys);
  depl_tick(sys);
  canton_update_step(sys);
  horo_tick(sys);
  iti_tick(sys);
  split_join_tick(sys);
  aig_tick(sys);
  vib_tick(sys);
  garage_tick(sys);
  exe_tick(sys);
  real_speed_update(sys);
  table_screen_tick_redraw(sys);
  card_screen_tick(sys);
}

}  // namespace

bool tick(System& sys) {
  if (sys.ticks.busy) return false;
  sys.ticks.busy = true;
  struct ClearBusy {
    System& sys;
    ~ClearBusy() { sys.ticks.busy = false; }
  } clear_busy{sys};
  run_tick_steps(sys);
  return true;
}
