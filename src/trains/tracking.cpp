#include "trains/tracking.h"

#include <cstdlib>

#include "core/system.h"

namespace {

// Direction of travel inside a canton: 0 forward, 1 backward, in the canton's own wiring.
int travel_sign(int vit, int inverse) {
  const bool forward = (vit >= 0 && inverse == 0) || (vit < 0 && inverse == 1);
  return forward ? 0 : 1;
}

bool detected(const System& sys, int slot) {
  return sys.io.det[slot] == 1;
}

// Phase 1 for one train: reached cantons become main cantons; cantons left are freed after
// the release delay, but only while the train is seen on one of its main cantons.
void enter_and_free(System& sys, int train) {
  CantonTable& c = sys.cantons;
  bool seen = false;
  for (int s = 0; s < kCantons; ++s) {
    if (c.num_train[s] != train) continue;
    if (c.ResvAUTO[s] == 0 && c.ResvMANU[s] == 0 && c.Res2MANU[s] == 1 && detected(sys, s)) {
      c.ResvMANU[s] = 1;
    }
    if (c.ResvMANU[s] == 1 && detected(sys, s)) {
      c.libe_count[s] = 0;
      seen = true;
    }
  }
  if (!seen) return;  // a lost train keeps all its cantons
  for (int s = 0; s < kCantons; ++s) {
    if (c.num_train[s] != train || c.ResvMANU[s] != 1 || detected(sys, s)) continue;
    if (++c.libe_count[s] >= sys.block.tempo_libe_cant) {
      c.ResvMANU[s] = 0;
      c.Inverse[s] = 0;
    }
  }
}

bool is_free(const System& sys, int s) {
  const CantonTable& c = sys.cantons;
  return c.ResvMANU[s] == 0 && sys.io.det[s] == 0 && c.ResvAUTO[s] == 0 && c.Res2MANU[s] == 0;
}

// Every (turnout, position) pair of the rule holds; a moving turnout is in neither position.
bool conditions_hold(const System& sys, const std::array<int32_t, kSelRuleSize>& rule) {
  for (int k = kSelConditions; k + 1 < kSelRuleSize; k += 2) {
    const int n = rule[static_cast<size_t>(k)];
    if (n == -1) break;
    const int p = rule[static_cast<size_t>(k + 1)];
    if (n < 0 || n >= kTurnouts) return false;
    if (p == 0 && sys.aig.pos0_aig[n] == 1) continue;
    if (p == 1 && sys.aig.pos1_aig[n] == 1) continue;
    return false;
  }
  return true;
}

// Tries every rule whose target is canton slot x for the train; a later match overwrites the
// polarity of an earlier one.
void reserve_next(System& sys, int train, int x) {
  CantonTable& c = sys.cantons;
  const int vit = sys.trains.vit[train];
  const int target = canton_number(x);
  for (const auto& rule : sys.selectif.rule) {
    if (rule[kSelTarget] == -1) break;
    if (rule[kSelTarget] != target || !conditions_hold(sys, rule)) continue;
    const int y = canton_slot(rule[kSelFrom]);
    if (y < 0 || c.num_train[y] != train || c.ResvMANU[y] != 1) continue;
    const int from_sign = rule[kSelFromSign];
    if (travel_sign(vit, c.Inverse[y]) != from_sign) continue;
    const int target_sign = rule[kSelTargetSign];
    if (target_sign != 0 && target_sign != 1) continue;
    if ((c.sens_ok[x] & (target_sign == 0 ? 1 : 2)) == 0) continue;
    c.num_train[x] = train;
    c.Res2MANU[x] = 1;
    c.Inverse[x] = target_sign == from_sign ? c.Inverse[y] : 1 - c.Inverse[y];
  }
}

void manual_speeds(System& sys) {
  CantonTable& c = sys.cantons;
  for (int s = 0; s < kCantons; ++s) {
    const int n = c.num_train[s];
    if (n < 0 || n >= kTrainEntries || c.ResvAUTO[s] != 0 ||
        (c.ResvMANU[s] != 1 && c.Res2MANU[s] != 1)) {
      c.Vit_MANU[s] = 0;
      continue;
    }
    const int vit = sys.trains.vit[n];
    c.Vit_MANU[s] = c.Inverse[s] == 1 ? -vit : vit;
  }
}

}  // namespace

void tracking_step(System& sys) {
  CantonTable& c = sys.cantons;
  for (int i = 0; i < kTrainEntries; ++i) enter_and_free(sys, i);
  for (int s = 0; s < kCantons; ++s) {
    if (c.ResvAUTO[s] == 0 && c.ResvMANU[s] == 0) c.num_train[s] = -1;
  }
  c.Res2MANU.fill(0);
  for (int i = 0; i < kTrainEntries; ++i) {
    if (sys.trains.en[i] != 1 || std::abs(sys.trains.vit[i]) < 2) continue;
    for (int x = 0; x < kCantons; ++x) {
      if (is_free(sys, x)) reserve_next(sys, i, x);
    }
  }
  manual_speeds(sys);
}
