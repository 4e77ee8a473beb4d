// The automatic block and the automatic turnouts: the rule tables read from #balauto and
// #aigauto, what the block publishes per canton and per train, and the working memory the
// trains engine shares between its evaluations of one tick.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "trains/canton_table.h"

struct System;

constexpr int kVitmaxRules = 60;
constexpr int kHaltRules = 60;
constexpr int kCantRules = 100;
constexpr int kAigautoRules = 100;
constexpr int kRuleConditions = 6;   // conditions of a limit, halt or automatic-turnout rule
constexpr int kPlusurCantons = 6;    // cantons the train must have left
constexpr int kBlocageEntries = 22;  // conditions and OR markers of a block rule
constexpr int kAigautoActions = 6;   // turnouts an automatic-turnout rule throws
// The blocage entry that separates two groups of and-ed conditions.
constexpr int32_t kOrMarker = 30120;

// Variables and the values they must have; -1 ends the list.
template <int N>
struct VarList {
  std::array<int32_t, N> var;
  std::array<int32_t, N> val;
  VarList() {
    var.fill(-1);
    val.fill(-1);
  }
};

struct VitmaxRule {
  int32_t canton = -1;
  int32_t limit = 0;    // +V forward, -V backward
  int32_t active = -1;  // 1 when the rule acted in the last evaluation
  VarList<kRuleConditions> cond;
};

struct HaltRule {
  int32_t canton = -1;
  int32_t direction = 0;  // +1 forward, -1 backward
  int32_t active = -1;
  VarList<kRuleConditions> cond;
};

struct CantRule {
  int32_t canton = -1;
  int32_t direction = 0;
  int32_t dec = -1;    // deceleration index 1..28
  int32_t ral = -1;    // slow-down speed 1..64
  int32_t state = -1;  // 0 none, 1 slowed, 2 stopped
  std::array<int32_t, kPlusurCantons> plusur;
  VarList<kBlocageEntries> blocage;
  CantRule() { plusur.fill(-1); }
};

struct AigautoRule {
  int32_t canton = -1;
  int32_t speed = -1;  // +V forward, -V backward
  int32_t done = 0;    // 1 once the actions were issued, until the train leaves or stops
  std::array<int32_t, kPlusurCantons> plusur;
  VarList<kRuleConditions> cond;
  std::array<int32_t, kAigautoActions> aig;
  std::array<int32_t, kAigautoActions> pos;
  AigautoRule() {
    plusur.fill(-1);
    aig.fill(-1);
    pos.fill(-1);
  }
};

// Rules of each train, in rule order: rules[start[t]] .. rules[start[t + 1] - 1].
template <int N>
struct RulesByTrain {
  std::array<int16_t, kTrainEntries + 1> start{};
  std::array<int16_t, N> rules{};
};

// What stays true for a whole pass of the trains engine: the rules' conditions, the cantons
// they must have left and the way ahead depend on detections, reservations, turnout positions
// and variables, none of which change while the trains engine runs (unless a rule reads a
// variable the pass itself writes: then every evaluation is run in full).
// Memo cells: -1 not worked out yet in this pass, else 0 or 1.
struct BlockPass {
  int32_t runs = 0;  // evaluations already run in this pass
  std::array<int8_t, kVitmaxRules> vitmax_cond;
  std::array<int8_t, kHaltRules> halt_cond;
  std::array<int8_t, kCantRules> cant_on_plusur;
  std::array<int8_t, kCantRules> cant_closed;
  std::array<int8_t, kAigautoRules> aigauto_on_plusur;
  std::array<int8_t, kAigautoRules> aigauto_cond;
  // An automatic-turnout rule that met a locked turnout fires again in every evaluation.
  std::array<int8_t, kAigautoRules> aigauto_retry{};
  int32_t retry_count = 0;
  RulesByTrain<kVitmaxRules> vitmax_of;
  RulesByTrain<kHaltRules> halt_of;
  RulesByTrain<kCantRules> cant_of;
  RulesByTrain<kAigautoRules> aigauto_of;
};

// Where each rule's variables live, looked up once when the rules change (block_rules_changed)
// so that an evaluation reads them directly. They belong to the System that looked them up;
// any other System reads through the bus.
template <size_t N, size_t Rules>
using CellRows = std::array<std::array<const int32_t*, N>, Rules>;
struct RuleCells {
  const System* owner = nullptr;
  CellRows<kRuleConditions, kVitmaxRules> vitmax{};
  CellRows<kRuleConditions, kHaltRules> halt{};
  CellRows<kBlocageEntries, kCantRules> cant{};
  CellRows<kRuleConditions, kAigautoRules> aigauto{};
};

enum class BlockOrder {
  Shared,   // one full evaluation, then only the rules of the train just processed
  Literal,  // every evaluation in full over every rule (the reference order)
};

struct BlockState {
  std::array<int32_t, kCantons> bal_cant_p{};
  std::array<int32_t, kCantons> bal_cant_m{};

  // Per-train results of the block evaluations, read by the trains engine.
  std::array<int32_t, kTrainEntries> vitmax_lim{};  // signed speed limit, 0 = none
  std::array<int32_t, kTrainEntries> halt_flag{};   // 1 = stop at once
  std::array<int32_t, kTrainEntries> bal_state{};   // 0 none, 1 slow down, 2 stop
  std::array<int32_t, kTrainEntries> bal_dec;       // deceleration index of the rule, -1 none
  std::array<int32_t, kTrainEntries> bal_ral{};     // signed slow-down speed
  // Panel switches "OPT:5 BAL-HALTE INHIBITION" and "OPT:6 BLOCAGE INHIBITION".
  int32_t halt_inhibit = 0;
  int32_t block_inhibit = 0;
  // Ticks a held canton may stay undetected before tracking frees it (tempo-libe-cant).
  int32_t tempo_libe_cant = 0;

  // #balauto: each table ends at its first rule whose canton is -1.
  std::array<VitmaxRule, kVitmaxRules> vitmax{};
  std::array<HaltRule, kHaltRules> halt{};
  std::array<CantRule, kCantRules> cant{};
  int32_t vitmax_count = 0;
  int32_t halt_count = 0;
  // #aigauto
  std::array<AigautoRule, kAigautoRules> aigauto{};
  int32_t aigauto_count = 0;

  // Some rule reads aig_cmd_ or bal_cant_, which the evaluations themselves write.
  bool rules_read_own_outputs = false;
  RuleCells cells;
  BlockOrder order = BlockOrder::Shared;
  BlockPass pass;

  BlockState() { bal_dec.fill(-1); }
};

// No stop in force: the block's published flags at start-up.
inline void reset_block_stops(BlockState& block) {
  block.bal_cant_p.fill(0);
  block.bal_cant_m.fill(0);
}
