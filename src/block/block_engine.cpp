#include "block/block_engine.h"

#include "block/rule_eval.h"
#include "core/system.h"
#include "core/var_bus.h"

bool view_canton(const System& sys, int32_t canton, CantonView& v) {
  const int slot = canton_slot(canton);
  if (slot < 0) return false;
  const CantonTable& c = sys.cantons;
  const int train = c.num_train[static_cast<size_t>(slot)];
  if (train < 0 || train >= kTrainEntries) return false;
  v.slot = slot;
  v.train = train;
  v.orientation = c.Inverse[static_cast<size_t>(slot)] == 1 ? -1 : 1;
  v.vit_manu = c.Vit_MANU[static_cast<size_t>(slot)];
  v.asked = v.orientation * sys.trains.cmd_speed[static_cast<size_t>(train)];
  return true;
}

bool still_on_plusur(const System& sys, const std::array<int32_t, kPlusurCantons>& plusur,
                     int train) {
  const CantonTable& c = sys.cantons;
  for (const int32_t canton : plusur) {
    if (canton == -1) break;
    const int s = canton_slot(canton);
    if (s >= 0 && c.ResvMANU[static_cast<size_t>(s)] == 1 &&
        sys.io.det[static_cast<size_t>(s)] != 0 && c.num_train[static_cast<size_t>(s)] == train)
      return true;
  }
  return false;
}

int32_t list_value(System& sys, const int32_t* const* cells, int k, int32_t var) {
  const int32_t* cell = cells != nullptr ? cells[k] : nullptr;
  return cell != nullptr ? *cell : var_read(sys, var);
}

namespace {

// A canton held by a hand-driven train (a main canton) with a train 0..31.
bool manual_train_on(const System& sys, int32_t canton, CantonView& v) {
  return view_canton(sys, canton, v) && sys.cantons.ResvMANU[static_cast<size_t>(v.slot)] == 1;
}

// A turnout position condition is only tested while the turnout is at rest; while it moves
// the condition holds.
bool condition_holds(System& sys, const int32_t* const* cells, int k, int32_t var, int32_t value) {
  const bool position =
      (var >= 5100 && var < 5100 + kTurnouts) || (var >= 5200 && var < 5200 + kTurnouts);
  if (position) {
    const auto n = static_cast<size_t>(var % 100);
    if (sys.aig.pos0_aig[n] != 1 && sys.aig.pos1_aig[n] != 1) return true;
  }
  return list_value(sys, cells, k, var) == value;
}

bool conditions_hold(System& sys, const VarList<kRuleConditions>& list,
                     const int32_t* const* cells) {
  for (int k = 0; k < kRuleConditions && list.var[static_cast<size_t>(k)] != -1; ++k) {
    if (!condition_holds(sys, cells, k, list.var[static_cast<size_t>(k)],
                         list.val[static_cast<size_t>(k)]))
      return false;
  }
  return true;
}

// A canton detection in a blocage list means "occupied by another train", whatever value is
// written after it.
bool blocage_entry(System& sys, const int32_t* const* cells, int k, int32_t var, int32_t value,
                   int train) {
  const int s = detection_slot(var);
  if (s < 0) return condition_holds(sys, cells, k, var, value);
  const CantonTable& c = sys.cantons;
  const auto slot = static_cast<size_t>(s);
  if (c.num_train[slot] == train) return false;
  return c.ResvAUTO[slot] == 1 || c.ResvMANU[slot] == 1 || c.Res2MANU[slot] == 1 ||
         sys.io.det[slot] == 1;
}

// The blocage list is an OR of AND groups; an empty list closes the way.
bool way_closed(System& sys, const VarList<kBlocageEntries>& list, const int32_t* const* cells,
                int train) {
  bool group = true;
  for (int k = 0; k < kBlocageEntries; ++k) {
    const int32_t var = list.var[static_cast<size_t>(k)];
    if (var == -1) break;
    if (var == kOrMarker) {
      if (group) return true;
      group = true;
    } else if (group) {
      group = blocage_entry(sys, cells, k, var, list.val[static_cast<size_t>(k)], train);
    }
  }
  return group;
}

int32_t& stop_signal(BlockState& b, const CantRule& rule, int slot) {
  return (rule.direction == 1 ? b.bal_cant_p : b.bal_cant_m)[static_cast<size_t>(slot)];
}

}  // namespace

void limit_rule(System& sys, int r, int8_t* cond_memo) {
  VitmaxRule& rule = sys.block.vitmax[static_cast<size_t>(r)];
  rule.active = 0;
  CantonView v;
  if (!manual_train_on(sys, rule.canton, v) || !reaches(v, rule.limit)) return;
  const BlockState& b = sys.block;
  const auto* cells = rule_cells(sys, b.cells, b.cells.vitmax, r);
  if (!remembered(cond_memo, [&] { return conditions_hold(sys, rule.cond, cells); })) return;
  rule.active = 1;
  // The tightest limit wins.
  const int m = v.orientation * rule.limit;
  int32_t& lim = sys.block.vitmax_lim[static_cast<size_t>(v.train)];
  if (lim == 0 || (m > 0 && lim > m) || (m < 0 && lim < m)) lim = m;
}

void halt_rule(System& sys, int r, int8_t* cond_memo) {
  HaltRule& rule = sys.block.halt[static_cast<size_t>(r)];
  rule.active = 0;
  CantonView v;
  if (!manual_train_on(sys, rule.canton, v) || !reaches(v, rule.direction)) return;
  const BlockState& b = sys.block;
  const auto* cells = rule_cells(sys, b.cells, b.cells.halt, r);
  if (!remembered(cond_memo, [&] { return conditions_hold(sys, rule.cond, cells); })) return;
  rule.active = 1;
  sys.block.halt_flag[static_cast<size_t>(v.train)] = 1;
}

void clear_stop_signal(System& sys, int r) {
  const CantRule& rule = sys.block.cant[static_cast<size_t>(r)];
  const int slot = canton_slot(rule.canton);
  if (slot >= 0) stop_signal(sys.block, rule, slot) = 0;
}

void stop_rule(System& sys, int r, int8_t* plusur_memo, int8_t* closed_memo) {
  BlockState& b = sys.block;
  CantRule& rule = b.cant[static_cast<size_t>(r)];
  rule.state = 0;
  CantonView v;
  if (!manual_train_on(sys, rule.canton, v) || !reaches(v, rule.direction)) return;
  const auto* cells = rule_cells(sys, b.cells, b.cells.cant, r);
  if (!remembered(closed_memo, [&] { return way_closed(sys, rule.blocage, cells, v.train); }))
    return;
  const auto t = static_cast<size_t>(v.train);
  if (!remembered(plusur_memo, [&] { return still_on_plusur(sys, rule.plusur, v.train); })) {
    rule.state = 2;
    b.bal_state[t] = 2;
    b.bal_dec[t] = rule.dec;
    stop_signal(b, rule, v.slot) = 1;
    return;
  }
  // A slow-down never turns a stop of this evaluation back into running at `ral`.
  if (rule.ral == -1 || b.bal_state[t] == 2) return;
  rule.state = 1;
  b.bal_state[t] = 1;
  b.bal_dec[t] = rule.dec;
  b.bal_ral[t] = v.orientation * rule.direction * rule.ral;
}

void evaluate_speed_limits(System& sys) {
  sys.block.vitmax_lim.fill(0);
  const int n = rules_in_use(sys.block.vitmax);
  for (int r = 0; r < n; ++r) limit_rule(sys, r, nullptr);
}

void evaluate_halts(System& sys) {
  sys.block.halt_flag.fill(0);
  const int n = rules_in_use(sys.block.halt);
  for (int r = 0; r < n; ++r) halt_rule(sys, r, nullptr);
}

// The stop signals are cleared once before the rules: a canton and direction reads 1 while any
// of its rules stops a train.
void evaluate_block_stops(System& sys) {
  BlockState& b = sys.block;
  b.bal_state.fill(0);
  b.bal_cant_p.fill(0);
  b.bal_cant_m.fill(0);
  const int n = rules_in_use(b.cant);
  for (int r = 0; r < n; ++r) stop_rule(sys, r, nullptr, nullptr);
}
