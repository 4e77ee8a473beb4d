#include "panels/panel_interaction.h"

#include <algorithm>

#include "core/screens.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "trains/split_join.h"

namespace {

constexpr int kFirstWagon = 16;
constexpr int kServoSpeedOffset = 10;     // srv_cmd_ + 10: the servo's speed
constexpr int kServoPositionBase = 2800;  // srv_pos_: the servo's real position
constexpr int kServoCommandBase = 8000;   // srv_cmd_
constexpr int kServoTop = 1023;
constexpr int kLastJumpScreen = 57;
constexpr int kRouteLocked = 1;

constexpr size_t at(int k) {
  return static_cast<size_t>(k);
}

int32_t& countdown(System& sys, int which) {
  return sys.ticks.panel_countdown[at(which)];
}

// ---- Places: a canton 0..315 or a siding 1000..1031 ------------------------------------------

int siding_of(int32_t k) {
  return k >= kSidingCanton && k < kSidingCanton + kSidings ? k - kSidingCanton : -1;
}

bool names_place(int32_t k) {
  return canton_slot(k) >= 0 || siding_of(k) >= 0;
}

bool detected_canton(const System& sys, int32_t k) {
  const int slot = canton_slot(k);
  return slot >= 0 && sys.io.det[at(slot)] == 1;
}

bool isolated_siding(const System& sys, int32_t k) {
  const int g = siding_of(k);
  return g >= 0 && sys.garage.state_lock[at(g)] == 1;
}

// The slot of the canton that feeds siding g, or -1.
int feeding_slot(const System& sys, int g) {
  return canton_slot(sys.garage.ass_canton[at(g)]);
}

// A place a selection may start from: a detected canton, or a siding with its canton that is
// isolated or whose canton is detected.
bool usable_source(const System& sys, int32_t k) {
  if (canton_slot(k) >= 0) return detected_canton(sys, k);
  const int g = siding_of(k);
  if (g < 0) return false;
  const int slot = feeding_slot(sys, g);
  return slot >= 0 && (sys.garage.state_lock[at(g)] == 1 || sys.io.det[at(slot)] == 1);
}

// A place a movement may go to: a free canton, or a siding that is not isolated.
bool usable_destination(const System& sys, int32_t k) {
  if (canton_slot(k) >= 0) return !detected_canton(sys, k);
  return siding_of(k) >= 0 && !isolated_siding(sys, k);
}

// A detected canton whose train is driven by hand.
bool manual_canton(const System& sys, int32_t k) {
  return detected_canton(sys, k) && sys.cantons.ResvMANU[at(canton_slot(k))] == 1;
}

// A siding no movement holds, isolated (a train parked in it) or connected.
bool siding_with_lock(const System& sys, int32_t k, int32_t state_lock) {
  const int g = siding_of(k);
  return g >= 0 && sys.garage.state_lock[at(g)] == state_lock && sys.garage.res_auto[at(g)] == 0;
}
bool parked_siding(const System& sys, int32_t k) {
  return siding_with_lock(sys, k, 1);
}
bool free_siding(const System& sys, int32_t k) {
  return siding_with_lock(sys, k, 0);
}

int train_on_canton(const System& sys, int slot) {
  return slot < 0 ? -1 : sys.cantons.num_train[at(slot)];
}

// The train on a place: a canton's; for a connected siding its canton's; for an isolated
// siding the train it held as the tick began (joins and splits) or none (the siding step).
int train_on(const System& sys, int32_t k, bool parked_counts) {
  if (canton_slot(k) >= 0) return train_on_canton(sys, canton_slot(k));
  const int g = siding_of(k);
  if (g < 0) return -1;
  if (sys.garage.state_lock[at(g)] == 1)
    return parked_counts ? sys.cantons.prev_garage_num_train[at(g)] : -1;
  return train_on_canton(sys, feeding_slot(sys, g));
}

bool is_locomotive(int t) {
  return t >= 0 && t < kFirstWagon;
}
bool is_wagon_group(int t) {
  return t >= kFirstWagon && t < kTrainEntries;
}
bool manual_mode(const System& sys, int t) {
  return t >= 0 && t < kTrainEntries && sys.trains.mode[at(t)] == "SEL";
}

// ---- Selection --------------------------------------------------------------------------

// The selection ends; the source and destination blocks show the result frame.
void end_selection(System& sys, int32_t destination) {
  countdown(sys, kSelectionCountdown) = 0;
  countdown(sys, kResultCountdown) = kResultTicks;
  sys.panels.action.result = 0;
  sys.panels.action.destination = destination;
}

void start_movement(System& sys, int32_t source, int32_t target) {
  const int n = movement_between(sys, source, target);
  if (n < 0) return;
  var_write(sys, 6500 + n, 1);  // depl_start_run_
  sys.panels.action.result = 1;
}

// A press on the occupancy lamp of place k: the first press picks the source, the second the
// destination of a movement.
void select_canton(System& sys, int32_t k) {
  PanelAction& a = sys.panels.action;
  a.selection_held = 0;
  if (countdown(sys, kSelectionCountdown) == 0) {
    if (usable_source(sys, k)) {
      countdown(sys, kSelectionCountdown) = kSelectionTicks;
      countdown(sys, kResultCountdown) = 0;
      a.source = k;
      a.destination = -1;
      a.selection_held = 1;
    } else {
      a.source = k;
      end_selection(sys, k);
    }
    return;
  }
  const int32_t s = a.source;
  const bool source_holds = detected_canton(sys, s) || isolated_siding(sys, s);
  end_selection(sys, k);
  if (source_holds && usable_destination(sys, k)) start_movement(sys, s, k);
}

// ---- Drag gestures ----------------------------------------------------------------------

// Train t leaves a new wagon group at the two places; nothing when all of 16..31 are in use.
bool split_or_park(System& sys, int32_t from, int32_t to, int t) {
  const int w = free_wagon_entry(sys);
  return w >= 0 && split_train(sys, from, to, t, w);
}

// Join when one is a locomotive and the other a wagon group, both driven by hand; split when
// both cantons hold the same locomotive. True when a join or split was done.
bool join_or_split(System& sys, int32_t s, int32_t h) {
  const int v = train_on(sys, s, true);
  const int t = train_on(sys, h, true);
  const bool pair =
      (is_locomotive(v) && is_wagon_group(t)) || (is_wagon_group(v) && is_locomotive(t));
  if (pair && manual_mode(sys, v) && manual_mode(sys, t))
    return join_train(sys, s, h, std::min(v, t), std::max(v, t));
  const bool both_cantons = canton_slot(s) >= 0 && canton_slot(h) >= 0;
  if (v == t && is_locomotive(v) && manual_mode(sys, v) && both_cantons)
    return split_or_park(sys, s, h, v);
  return false;
}

// Between a canton and a siding: the wagons are left in the siding, or the locomotive is
// parked in it and the wagons keep its cantons.
bool siding_step(System& sys, int32_t s, int32_t h) {
  const int b = train_on(sys, s, false);
  if (b != train_on(sys, h, false) || !is_locomotive(b) || !manual_mode(sys, b)) return false;
  const bool canton_siding = canton_slot(s) >= 0 && siding_of(h) >= 0;
  const bool siding_canton = siding_of(s) >= 0 && canton_slot(h) >= 0;
  return (canton_siding || siding_canton) && split_or_park(sys, s, h, b);
}

// Press on the lamp of s, release on the lamp of h.
void drag(System& sys, int32_t s, int32_t h) {
  const auto held_or_siding = [&](int32_t k) {
    return detected_canton(sys, k) || siding_of(k) >= 0;
  };
  if (!held_or_siding(s) || !held_or_siding(h)) {
    end_selection(sys, s);
    return;
  }
  const auto joinable = [&](int32_t k) { return manual_canton(sys, k) || parked_siding(sys, k); };
  if (joinable(s) && joinable(h)) {
    end_selection(sys, h);
    if (join_or_split(sys, s, h)) {
      sys.panels.action.result = 2;
      return;
    }
  }
  const bool goes_on = manual_canton(sys, s) || (free_siding(sys, s) && manual_canton(sys, h)) ||
                       free_siding(sys, h);
  if (!goes_on) return;
  end_selection(sys, h);
  if (siding_step(sys, s, h)) sys.panels.action.result = 2;
}

// ---- Left press, block by block ----------------------------------------------------------

struct Press {
  System& sys;
  TcoCell& cell;
  int panel;
  int x;  // window pixels
  int y;

  int32_t f(int field) const { return cell.f[at(field)]; }
  int32_t v(int k) const { return cell.f[at(CELL_V1 + k)]; }
};

bool read_var(System& sys, int n, int32_t& value) {
  if (n == -1 || !var_readable(sys, n)) return false;
  value = var_read(sys, n);
  return true;
}

void write_var(System& sys, int n, int value) {
  if (n != -1) var_write(sys, n, value);
}

// Only one button is held at a time: a press lets go of one left held (a release was lost).
void hold_button(System& sys, int32_t var, HeldButton::Kind kind) {
  panel_let_go(sys);
  sys.panels.held_button = {var, kind};
}

void press_switch(const Press& p) {
  int32_t value = 0;
  if (read_var(p.sys, p.v(0), value)) write_var(p.sys, p.v(0), value == 0 ? 1 : 0);
}

// Servo setpoints srv_cmd_ 0..4 of each card (+ 10 would be another setpoint's speed).
bool servo_setpoint(int32_t n) {
  const int offset = n - kServoCommandBase;
  return offset >= 0 && offset / 100 < kCards && offset % 100 < kServoPerCard;
}

void press_servo(const Press& p) {
  const int32_t setpoint = p.v(0);
  if (!servo_setpoint(setpoint)) return;
  const int opt = p.f(CELL_OPT);
  const int speed = std::clamp(opt != 0 ? 972 / opt + 1 : kServoTop, 1, kServoTop);
  const int p1 = p.f(CELL_P1);
  const int p2 = p.f(CELL_P2);
  const bool backwards = p.f(CELL_SENS) == 1;
  const int position = var_read(p.sys, setpoint);
  int target = -1;
  if (p1 == -1 && p2 == -1) {
    target = backwards ? 0 : kServoTop;
    hold_button(p.sys, setpoint, HeldButton::Servo);
  } else if (p1 == -1 && p2 >= 0 && p2 <= kServoTop) {
    target = p2;
  } else if (p1 != -1 && p2 == -1) {
    target = std::clamp(backwards ? position - p1 : position + p1, 0, kServoTop);
  } else if (p1 != -1 && p2 != -1 && p.v(1) == -1) {
    target = std::clamp(position != p1 ? p1 : p2, 0, kServoTop);
  }
  if (target < 0) return;
  var_write(p.sys, setpoint, target);
  var_write(p.sys, setpoint + kServoSpeedOffset, speed);
}

void press_push_button(const Press& p) {
  if (p.v(0) != -1) {
    hold_button(p.sys, p.v(0), HeldButton::Push);
    var_write(p.sys, p.v(0), 1);
  }
  write_var(p.sys, p.v(1), 1);
  write_var(p.sys, p.v(2), 0);
}

void stop_all_movements(System& sys) {
  for (int n = 0; n < kMovements; ++n)
    if (sys.depl.has_start(n) && sys.depl.depl_record[at(n)][DEPL_STATE] != 0)
      var_write(sys, 6700 + n, 1);  // depl_stop_
}

void stop_all_routes(System& sys) {
  for (int n = 0; n < kRoutes; ++n) {
    const ItiRecord& r = sys.iti.iti_record[at(n)];
    if (r[ITI_DEFINED] == 1 && r[ITI_STATE] != 0) var_write(sys, 6100 + n, 1);  // iti_stop_
  }
}

// The lost train is put on the canton that is detected without a train.
void assign_lost_train(System& sys) {
  int t = -1;
  int slot = -1;
  if (!lost_train_candidate(sys, t, slot)) return;
  CantonTable& c = sys.cantons;
  // The display saw the cantons as the tick began: tracking may have given this one a train since.
  if (c.num_train[at(slot)] != -1) return;
  for (int s = 0; s < kCantons; ++s) {
    if (c.num_train[at(s)] != t) continue;
    c.ResvMANU[at(s)] = 0;
    c.Inverse[at(s)] = 0;
    c.Res2MANU[at(s)] = 0;
  }
  const int g = sys.trains.train_garage[at(t)];
  if (g >= 0 && g < kSidings) {
    sys.garage.cmd_lock[at(g)] = 0;
    sys.garage.state_lock[at(g)] = 0;
    sys.garage.res_auto[at(g)] = 0;
    sys.garage.num_train[at(g)] = -1;
    sys.trains.train_garage[at(t)] = -1;
  }
  c.num_train[at(slot)] = t;
  c.ResvMANU[at(slot)] = 1;
  c.Inverse[at(slot)] = 0;
  c.Res2MANU[at(slot)] = 0;
}

// Inversions are reset on the cantons of trains standing still and not held by the block.
void reset_inversions(System& sys) {
  CantonTable& c = sys.cantons;
  for (int s = 0; s < kCantons; ++s) {
    const int t = c.num_train[at(s)];
    if ((c.ResvMANU[at(s)] == 0 && c.Res2MANU[at(s)] == 0) || c.Vit_MANU[at(s)] != 0) continue;
    if (t < 0 || t >= kTrainEntries) continue;
    if (sys.block.halt_flag[at(t)] == 0 && sys.block.bal_state[at(t)] == 0) c.Inverse[at(s)] = 0;
  }
}

void flip(int32_t& flag) {
  flag = flag == 0 ? 1 : 0;
}

void press_multi_function(const Press& p) {
  System& sys = p.sys;
  auto& held = sys.panels.action.held;
  const int opt = p.f(CELL_OPT);
  if (opt >= 1 && opt <= 8) held[at(opt)] = 1;
  switch (opt) {
    case 1:
      stop_all_movements(sys);
      break;
    case 2:
      stop_all_routes(sys);
      break;
    case 3:
      assign_lost_train(sys);
      break;
    case 4:
      flip(sys.ticks.arret_urg_state);
      break;
    case 5:
      flip(sys.block.halt_inhibit);
      break;
    case 6:
      flip(sys.block.block_inhibit);
      break;
    case 56:
      held[0] = held[5] = held[6] = 1;
      flip(sys.block.halt_inhibit);
      flip(sys.block.block_inhibit);
      break;
    case 8:
      reset_inversions(sys);
      break;
    default:
      break;
  }
}

// The edges lock or free the route; the middle starts it unless it is locked.
void press_route(const Press& p) {
  int32_t& opt = p.cell.f[at(CELL_OPT)];
  const int dx = p.x % kCellPixels;
  if (dx < 8 || dx > 32) {
    opt = (opt & 1) + 1;
  } else if (opt != kRouteLocked) {
    write_var(p.sys, p.v(0), 1);
  }
}

void press_clock(const Press& p) {
  flip(p.sys.clock.running);
}

bool free_turnout(const System& sys, int n) {
  return n >= 0 && n < kTurnouts && sys.aig.aig_reserved[at(n)] == 0;
}

void press_turnout(const Press& p) {
  const int n = p.f(CELL_P1);
  if (free_turnout(p.sys, n)) flip(p.sys.aig.aig_cmd[at(n)]);
}

// A three-way turnout steps (0, 0) -> (1, 0) -> (0, 1) -> (0, 0).
void press_three_way(const Press& p) {
  const int m1 = p.f(CELL_P1);
  const int m2 = p.f(CELL_P2);
  if (!free_turnout(p.sys, m1) || !free_turnout(p.sys, m2)) return;
  int32_t& a = p.sys.aig.aig_cmd[at(m1)];
  int32_t& b = p.sys.aig.aig_cmd[at(m2)];
  const bool straight = a == 0 && b == 0;
  const bool first_branch = a == 1 && b == 0;
  a = straight ? 1 : 0;
  b = first_branch ? 1 : 0;
}

void press_screen_jump(const Press& p) {
  System& sys = p.sys;
  sys.screen.last_panel = p.panel;
  const int screen = p.f(CELL_OPT);
  if (screen >= 0 && screen <= kLastJumpScreen) show_screen(sys, screen);
  sys.host.request_repaint();
}

// One half of the block allows one direction: the right half (the top of the vertical block)
// the plus direction when S+ is 0.
void press_imposed_direction(const Press& p) {
  int k = p.f(CELL_CANT);
  const int sens = p.f(CELL_SENS);
  if (sens != 0 && sens != 1) return;
  const int g = siding_of(k);
  if (g >= 0) k = p.sys.garage.ass_canton[at(g)];
  const int slot = canton_slot(k);
  if (slot < 0) return;
  const bool plus_half =
      p.cell.f[at(CELL_VARIANT)] == 16 ? p.y % kCellPixels < 20 : p.x % kCellPixels >= 20;
  const int bit = plus_half == (sens == 0) ? 1 : 2;
  p.sys.cantons.sens_perm[at(slot)] ^= bit;
}

// A siding is isolated or connected again by the siding engine; a movement holding it refuses.
void press_siding_information(const Press& p) {
  const int g = siding_of(p.f(CELL_CANT));
  if (g < 0) return;
  var_write(p.sys, 6900 + g, p.sys.garage.cmd_lock[at(g)] == 0 ? 1 : 0);  // garage_lock_cmd_
}

void press_occupancy_lamp(const Press& p) {
  if (names_place(p.f(CELL_CANT))) select_canton(p.sys, p.f(CELL_CANT));
}

template <typename... V>
constexpr uint32_t variants(V... v) {
  return ((1u << v) | ...);
}

struct PressAction {
  int family;
  uint32_t variants;
  void (*act)(const Press& p);
};

// In the order they are tried on the pressed cell.
constexpr PressAction kPressActions[] = {
    {FAMILY_CONTROL, variants(1), press_switch},
    {FAMILY_CONTROL, variants(8), press_servo},
    {FAMILY_CONTROL, variants(0), press_push_button},
    {FAMILY_CONTROL, variants(10), press_multi_function},
    {FAMILY_CONTROL, variants(2), press_route},
    {FAMILY_EQUIPMENT, variants(8), press_clock},
    {FAMILY_TURNOUT, variants(0, 1, 3, 4, 6, 7, 8, 9), press_turnout},
    {FAMILY_TURNOUT, variants(2, 5), press_three_way},
    {FAMILY_CONTROL, variants(7), press_screen_jump},
    {FAMILY_EQUIPMENT, variants(5, 16), press_imposed_direction},
    {FAMILY_EQUIPMENT, variants(2, 13), press_siding_information},
    {FAMILY_EQUIPMENT, variants(0, 12), press_occupancy_lamp},
};

// The cell under a pixel, or null outside the grid (negative pixels included).
TcoCell* cell_at(System& sys, int panel, int x, int y) {
  if (panel < 0 || panel >= kTcoPanels || x < 0 || y < 0) return nullptr;
  const int column = x / kCellPixels;
  const int row = y / kCellPixels;
  if (column >= kTcoColumns || row >= kTcoRows) return nullptr;
  return &sys.panels.cell(panel, column, row);
}

bool occupancy_lamp(const TcoCell& c) {
  const int32_t v = c.f[at(CELL_VARIANT)];
  return c.f[at(CELL_FAMILY)] == FAMILY_EQUIPMENT && (v == 0 || v == 12);
}

void left_press(System& sys, int panel, int x, int y) {
  TcoCell* cell = cell_at(sys, panel, x, y);
  if (!cell) return;
  const int32_t variant = cell->f[at(CELL_VARIANT)];
  if (variant < 0 || variant > 31) return;
  for (const PressAction& a : kPressActions) {
    if (cell->f[at(CELL_FAMILY)] != a.family || !(a.variants & (1u << variant))) continue;
    a.act(Press{sys, *cell, panel, x, y});
    return;
  }
}

// The end of a press on an occupancy lamp: a drag to another lamp, or a click.
void release_selection(System& sys, const TcoCell* cell) {
  PanelAction& a = sys.panels.action;
  const int32_t h = cell && names_place(cell->f[at(CELL_CANT)]) ? cell->f[at(CELL_CANT)] : -1;
  const int32_t s = a.source;
  const bool held = a.selection_held == 1 && countdown(sys, kSelectionCountdown) > 0;
  const bool loose_siding = siding_of(s) >= 0 && !isolated_siding(sys, s);
  if (!held) return;
  if (h == -1 || !occupancy_lamp(*cell)) {
    if (loose_siding) end_selection(sys, s);
  } else if (h != s) {
    if (canton_slot(h) >= 0 || canton_slot(s) >= 0) drag(sys, s, h);
  } else if (loose_siding) {
    end_selection(sys, s);
  }
}

void left_release(System& sys, int panel, int x, int y) {
  const bool button_was_held = sys.panels.held_button.var != -1;
  panel_let_go(sys);
  if (!button_was_held) release_selection(sys, cell_at(sys, panel, x, y));
  sys.panels.action.selection_held = 0;
}

// Only route buttons answer the right button: it stops the route, or clears its start.
void right_press(System& sys, int panel, int x, int y) {
  const TcoCell* cell = cell_at(sys, panel, x, y);
  if (!cell || cell->f[at(CELL_FAMILY)] != FAMILY_CONTROL || cell->f[at(CELL_VARIANT)] != 2) return;
  if (cell->f[at(CELL_OPT)] == kRouteLocked) return;
  const int32_t start = cell->f[at(CELL_V1)];
  const int32_t stop = cell->f[at(CELL_V1 + 1)];
  if (stop != -1) {
    var_write(sys, stop, 1);
  } else if (start != -1) {
    var_write(sys, start, 0);
  }
}

}  // namespace

void panel_event(System& sys, int panel, int mode) {
  const int x = sys.screen.mouse_x;
  const int y = sys.screen.mouse_y;
  switch (mode) {
    case kLeftPress:
      left_press(sys, panel, x, y);
      break;
    case kLeftRelease:
      left_release(sys, panel, x, y);
      break;
    case kRightPress:
      right_press(sys, panel, x, y);
      break;
    default:
      break;
  }
}

void panel_let_go(System& sys) {
  sys.panels.action.held.fill(0);
  HeldButton& b = sys.panels.held_button;
  if (b.var == -1) return;
  if (b.kind == HeldButton::Servo) {
    // The servo stops where it is.
    const int position = kServoPositionBase + (b.var - kServoCommandBase);
    var_write(sys, b.var, var_read(sys, position));
  } else {
    var_write(sys, b.var, 0);
  }
  b = HeldButton{};
}

void clear_panel_action(System& sys) {
  sys.panels.action = PanelAction{};
  sys.ticks.panel_countdown.fill(0);
  sys.ticks.arret_urg_state = 0;
  sys.block.halt_inhibit = 0;
  sys.block.block_inhibit = 0;
}

int movement_between(const System& sys, int32_t source, int32_t target) {
  for (int n = 0; n < kMovements; ++n) {
    const DeplRecord& r = sys.depl.depl_record[at(n)];
    if (r[DEPL_START] != source) continue;
    if (r[DEPL_STOP] == target || (canton_slot(target) >= 0 && r[DEPL_FIN] == target)) return n;
  }
  return -1;
}

bool lost_train_candidate(const System& sys, int& train, int& slot) {
  int lost = 0;
  for (int t = 0; t < kFirstWagon; ++t)
    if (sys.cantons.pb_capt_t[at(t)]) train = t, ++lost;
  int orphans = 0;
  for (int s = 0; s < kCantons; ++s)
    if (sys.io.det[at(s)] == 1 && sys.cantons.prev_num_train[at(s)] == -1) slot = s, ++orphans;
  return lost == 1 && orphans == 1;
}

bool multi_function_held(const System& sys, int opt) {
  const auto& held = sys.panels.action.held;
  if (opt == 56) return held[0] == 1;
  return opt >= 1 && opt <= 8 && held[at(opt)] == 1;
}
