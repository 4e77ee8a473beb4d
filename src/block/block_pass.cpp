// How the trains engine runs the automatic turnouts and the block once per driven train.
//
// Taken literally, every driven train runs every rule of every table. Between two of those
// runs only the commanded speed of the train just processed changes, and the only variables
// written are turnout commands (automatic turnouts) and stop signals (block): the detections,
// reservations, turnout positions and other variables stay as they are for the whole pass. So
// unless some rule reads a turnout command or a stop signal, the pass runs everything once for
// the first driven train, then for each following train only the rules on cantons it holds
// (plus the automatic-turnout rules that met a locked turnout and fire every time), and works
// out each rule's conditions, blocage list and cantons to leave at most once. The results are
// exactly those of the literal order, which stays as the reference.
#include <algorithm>

#include "block/aigauto_engine.h"
#include "block/block_engine.h"
#include "block/rule_eval.h"
#include "core/system.h"
#include "core/var_bus.h"

namespace {

bool reads_own_outputs(int32_t var) {
  return (var >= 5000 && var < 5000 + kTurnouts) || (var >= 3200 && var < 4000);
}

// Calls f(list, cells) for the condition or blocage list of every rule, with its cells.
template <typename F>
void for_each_list(BlockState& b, F&& f) {
  for (size_t r = 0; r < b.vitmax.size(); ++r) f(b.vitmax[r].cond, b.cells.vitmax[r]);
  for (size_t r = 0; r < b.halt.size(); ++r) f(b.halt[r].cond, b.cells.halt[r]);
  for (size_t r = 0; r < b.cant.size(); ++r) f(b.cant[r].blocage, b.cells.cant[r]);
  for (size_t r = 0; r < b.aigauto.size(); ++r) f(b.aigauto[r].cond, b.cells.aigauto[r]);
}

// The train on a rule's canton, or -1.
int rule_train(const System& sys, int32_t canton) {
  CantonView v;
  return view_canton(sys, canton, v) ? v.train : -1;
}

// Counting sort of the rules in use by the train on their canton, keeping rule order.
template <typename Rules, int N>
void sort_by_train(const System& sys, const Rules& rules, RulesByTrain<N>& out) {
  const int n = rules_in_use(rules);
  std::array<int8_t, N> train_of{};
  std::array<int16_t, kTrainEntries + 1> next{};
  out.start.fill(0);
  for (int r = 0; r < n; ++r) {
    const int t = rule_train(sys, rules[static_cast<size_t>(r)].canton);
    train_of[static_cast<size_t>(r)] = static_cast<int8_t>(t);
    if (t >= 0) ++out.start[static_cast<size_t>(t + 1)];
  }
  for (int t = 0; t < kTrainEntries; ++t)
    out.start[static_cast<size_t>(t + 1)] += out.start[static_cast<size_t>(t)];
  std::copy(out.start.begin(), out.start.end(), next.begin());
  for (int r = 0; r < n; ++r) {
    const int t = train_of[static_cast<size_t>(r)];
    if (t >= 0)
      out.rules[static_cast<size_t>(next[static_cast<size_t>(t)]++)] = static_cast<int16_t>(r);
  }
}

// Calls f(r) for each rule of train t, in rule order.
template <int N, typename F>
void for_rules_of(const RulesByTrain<N>& by, int t, F&& f) {
  for (int k = by.start[static_cast<size_t>(t)]; k < by.start[static_cast<size_t>(t + 1)]; ++k)
    f(by.rules[static_cast<size_t>(k)]);
}

void literal_run(System& sys) {
  if (sys.general.aigauto != 0) evaluate_aigauto(sys);
  evaluate_speed_limits(sys);
  evaluate_halts(sys);
  evaluate_block_stops(sys);
}

void start_pass(System& sys) {
  BlockPass& p = sys.block.pass;
  p.vitmax_cond.fill(-1);
  p.halt_cond.fill(-1);
  p.cant_on_plusur.fill(-1);
  p.cant_closed.fill(-1);
  p.aigauto_on_plusur.fill(-1);
  p.aigauto_cond.fill(-1);
  p.aigauto_retry.fill(0);
  p.retry_count = 0;
  const BlockState& b = sys.block;
  sort_by_train(sys, b.vitmax, p.vitmax_of);
  sort_by_train(sys, b.halt, p.halt_of);
  sort_by_train(sys, b.cant, p.cant_of);
  sort_by_train(sys, b.aigauto, p.aigauto_of);
}

void shared_aigauto_rule(System& sys, int r) {
  BlockPass& p = sys.block.pass;
  const auto k = static_cast<size_t>(r);
  const int8_t retry = aigauto_rule(sys, r, &p.aigauto_on_plusur[k], &p.aigauto_cond[k]) ? 1 : 0;
  p.retry_count += retry - p.aigauto_retry[k];
  p.aigauto_retry[k] = retry;
}

void shared_full_run(System& sys) {
  BlockState& b = sys.block;
  BlockPass& p = b.pass;
  if (sys.general.aigauto != 0) {
    const int n = rules_in_use(b.aigauto);
    for (int r = 0; r < n; ++r) shared_aigauto_rule(sys, r);
  }
  b.vitmax_lim.fill(0);
  for (int r = 0, n = rules_in_use(b.vitmax); r < n; ++r)
    limit_rule(sys, r, &p.vitmax_cond[static_cast<size_t>(r)]);
  b.halt_flag.fill(0);
  for (int r = 0, n = rules_in_use(b.halt); r < n; ++r)
    halt_rule(sys, r, &p.halt_cond[static_cast<size_t>(r)]);
  b.bal_state.fill(0);
  b.bal_cant_p.fill(0);
  b.bal_cant_m.fill(0);
  for (int r = 0, n = rules_in_use(b.cant); r < n; ++r)
    stop_rule(sys, r, &p.cant_on_plusur[static_cast<size_t>(r)],
              &p.cant_closed[static_cast<size_t>(r)]);
}

// The automatic-turnout rules of train t and those that fire every time, in rule order.
void shared_aigauto_for(System& sys, int t) {
  BlockPass& p = sys.block.pass;
  if (p.retry_count == 0) {
    for_rules_of(p.aigauto_of, t, [&](int r) { shared_aigauto_rule(sys, r); });
    return;
  }
  const int n = rules_in_use(sys.block.aigauto);
  for (int r = 0; r < n; ++r) {
    if (p.aigauto_retry[static_cast<size_t>(r)] != 0 ||
        rule_train(sys, sys.block.aigauto[static_cast<size_t>(r)].canton) == t)
      shared_aigauto_rule(sys, r);
  }
}

void shared_run_for(System& sys, int t) {
  BlockState& b = sys.block;
  BlockPass& p = b.pass;
  const auto k = static_cast<size_t>(t);
  if (sys.general.aigauto != 0) shared_aigauto_for(sys, t);
  b.vitmax_lim[k] = 0;
  for_rules_of(p.vitmax_of, t,
               [&](int r) { limit_rule(sys, r, &p.vitmax_cond[static_cast<size_t>(r)]); });
  b.halt_flag[k] = 0;
  for_rules_of(p.halt_of, t,
               [&](int r) { halt_rule(sys, r, &p.halt_cond[static_cast<size_t>(r)]); });
  b.bal_state[k] = 0;
  for_rules_of(p.cant_of, t, [&](int r) { clear_stop_signal(sys, r); });
  for_rules_of(p.cant_of, t, [&](int r) {
    stop_rule(sys, r, &p.cant_on_plusur[static_cast<size_t>(r)],
              &p.cant_closed[static_cast<size_t>(r)]);
  });
}

}  // namespace

void block_pass_begin(System& sys) {
  sys.block.pass.runs = 0;
}

void block_run_for_train(System& sys, int train) {
  BlockState& b = sys.block;
  if (b.order == BlockOrder::Literal || b.rules_read_own_outputs) {
    literal_run(sys);
    return;
  }
  if (b.pass.runs++ == 0) {
    start_pass(sys);
    shared_full_run(sys);
  } else {
    shared_run_for(sys, train);
  }
}

void block_rules_changed(System& sys) {
  BlockState& b = sys.block;
  b.rules_read_own_outputs = false;
  for_each_list(b, [&](const auto& list, auto& cells) {
    for (size_t k = 0; k < list.var.size(); ++k) {
      const int32_t var = list.var[k];
      cells[k] = var < 0 || var == kOrMarker ? nullptr : var_cell(sys, var);
      b.rules_read_own_outputs = b.rules_read_own_outputs || reads_own_outputs(var);
    }
  });
  b.cells.owner = &sys;
}
