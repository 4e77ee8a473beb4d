// The canton direction rules of #selectif: which canton a manually driven train may enter next.
#pragma once

#include <array>
#include <cstdint>

constexpr int kSelectifRules = 100;
constexpr int kSelectifConditions = 6;

// One rule: 16 integers, -1 when unset. The table ends at the first rule whose target is -1.
enum SelectifField {
  kSelTarget = 0,      // canton that may be entered
  kSelTargetSign = 1,  // direction inside the target: 0 '+', 1 '-'
  kSelFrom = 2,        // canton the train is on
  kSelFromSign = 3,    // direction inside the from canton the rule applies to
  kSelConditions = 4,  // then 6 pairs (turnout, position)
  kSelRuleSize = 16,
};

struct SelectifTable {
  std::array<std::array<int32_t, kSelRuleSize>, kSelectifRules> rule;

  SelectifTable() { reset(); }
  void reset() {
    for (auto& r : rule) r.fill(-1);
  }
};
