#include "block/aigauto_engine.h"

#include "block/rule_eval.h"
#include "core/system.h"

namespace {

// The variable has its value, and a canton named by its detection is not held or reserved by
// another train (a canton reserved ahead of another train counts even before it is detected).
bool condition_holds(System& sys, int32_t current, int32_t var, int32_t value, int train) {
  if (current != value) return false;
  const int s = detection_slot(var);
  if (s < 0) return true;
  const CantonTable& c = sys.cantons;
  const auto k = static_cast<size_t>(s);
  const bool reserved = c.ResvAUTO[k] == 1 || c.ResvMANU[k] == 1 || c.Res2MANU[k] == 1;
  return !reserved || c.num_train[k] == train;
}

bool conditions_hold(System& sys, const VarList<kRuleConditions>& list, const int32_t* const* cells,
                     int train) {
  for (int k = 0; k < kRuleConditions && list.var[static_cast<size_t>(k)] != -1; ++k) {
    const int32_t var = list.var[static_cast<size_t>(k)];
    if (!condition_holds(sys, list_value(sys, cells, k, var), var, list.val[static_cast<size_t>(k)],
                         train))
      return false;
  }
  return true;
}

// Each turnout at rest in the other position is commanded; a locked one (held by a route or a
// movement) is left alone and the rule is tried again. True when a turnout was locked.
bool throw_turnouts(System& sys, const AigautoRule& rule) {
  AigTable& a = sys.aig;
  bool locked = false;
  for (int k = 0; k < kAigautoActions; ++k) {
    const int32_t n = rule.aig[static_cast<size_t>(k)];
    if (n == -1) break;
    if (n < 0 || n >= kTurnouts) continue;
    const auto t = static_cast<size_t>(n);
    const int32_t p = rule.pos[static_cast<size_t>(k)];
    if (a.aig_reserved[t] != 0) {
      locked = true;
    } else if ((a.pos0_aig[t] == 1 && p == 1) || (a.pos1_aig[t] == 1 && p == 0)) {
      a.aig_cmd[t] = p;
    }
  }
  return locked;
}

}  // namespace

bool aigauto_rule(System& sys, int r, int8_t* plusur_memo, int8_t* cond_memo) {
  AigautoRule& rule = sys.block.aigauto[static_cast<size_t>(r)];
  const int slot = canton_slot(rule.canton);
  if (slot < 0) return false;
  const CantonTable& c = sys.cantons;
  const auto k = static_cast<size_t>(slot);
  const bool held = c.ResvMANU[k] == 1;
  const bool detected = sys.io.det[k] == 1;
  CantonView v;
  const bool has_train = view_canton(sys, rule.canton, v);
  if (held && detected && rule.done == 0) {
    if (!has_train || !reaches(v, rule.speed)) return false;
    if (remembered(plusur_memo, [&] { return still_on_plusur(sys, rule.plusur, v.train); }))
      return false;
    const BlockState& b = sys.block;
    const auto* cells = rule_cells(sys, b.cells, b.cells.aigauto, r);
    if (!remembered(cond_memo, [&] { return conditions_hold(sys, rule.cond, cells, v.train); }))
      return false;
    rule.done = 1;
    if (!throw_turnouts(sys, rule)) return false;
    rule.done = 0;
    return true;
  }
  // Re-armed once the train has left the canton, or stands still on it (a canton without a
  // train counts as standing still).
  const bool left = c.ResvMANU[k] == 0 && sys.io.det[k] == 0;
  const bool still = c.Vit_MANU[k] == 0 && (!has_train || v.asked == 0);
  if (left || still) rule.done = 0;
  return false;
}

void evaluate_aigauto(System& sys) {
  const int n = rules_in_use(sys.block.aigauto);
  for (int r = 0; r < n; ++r) aigauto_rule(sys, r, nullptr, nullptr);
}
