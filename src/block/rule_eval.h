// What the automatic block and the automatic turnouts share when they look at a rule: the
// train on the rule's canton, its speed in the canton's own direction, the cantons it must
// have left, and each rule kind's step. Used by block_engine, aigauto_engine and block_pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "block/block_state.h"

struct System;

// A train 0..31 on a canton, seen in the canton's own direction.
struct CantonView {
  int slot = -1;
  int train = -1;
  int orientation = 1;  // -1 when the canton is inverted
  int vit_manu = 0;     // the speed the canton receives
  int asked = 0;        // orientation x the train's commanded speed
};

// The canton exists and holds a train 0..31 (a held canton without a train gives false: its -1
// must never index a per-train table).
bool view_canton(const System& sys, int32_t canton, CantonView& v);

// The train runs at `threshold` or beyond it (signed): by what the canton receives or by what
// the driver asks. With a threshold of +1 or -1 this is "moving in that direction".
inline bool reaches(const CantonView& v, int threshold) {
  if (threshold > 0) return v.vit_manu >= threshold || v.asked >= threshold;
  if (threshold < 0) return v.vit_manu <= threshold || v.asked <= threshold;
  return false;
}

// The train is still detected on one of the cantons it must have left.
bool still_on_plusur(const System& sys, const std::array<int32_t, kPlusurCantons>& plusur,
                     int train);

// The canton whose detection variable `var` is, or -1.
inline int detection_slot(int32_t var) {
  return canton_slot(var);
}

// The cells of rule r's variables (see RuleCells), or null when they were not looked up for
// this System.
template <size_t N, size_t Rules>
const int32_t* const* rule_cells(const System& sys, const RuleCells& cells,
                                 const CellRows<N, Rules>& rows, int r) {
  return cells.owner == &sys ? rows[static_cast<size_t>(r)].data() : nullptr;
}

// The value of entry k of a list: straight from its cell when known, else through the bus.
int32_t list_value(System& sys, const int32_t* const* cells, int k, int32_t var);

// A memo cell of the trains engine's pass (-1 unknown), or null to work it out every time.
template <typename Work>
bool remembered(int8_t* memo, Work&& work) {
  if (memo != nullptr && *memo >= 0) return *memo != 0;
  const bool value = work();
  if (memo != nullptr) *memo = value ? 1 : 0;
  return value;
}

// One rule of each kind, as one evaluation runs it.
void limit_rule(System& sys, int r, int8_t* cond_memo);
void halt_rule(System& sys, int r, int8_t* cond_memo);
void clear_stop_signal(System& sys, int r);
void stop_rule(System& sys, int r, int8_t* plusur_memo, int8_t* closed_memo);
// True when the rule fired and met a locked turnout: it fires again at the next evaluation.
bool aigauto_rule(System& sys, int r, int8_t* plusur_memo, int8_t* cond_memo);

// The number of rules before the first one whose canton is -1.
template <typename Rules>
int rules_in_use(const Rules& rules) {
  int n = 0;
  while (n < static_cast<int>(rules.size()) && rules[static_cast<size_t>(n)].canton != -1) ++n;
  return n;
}
