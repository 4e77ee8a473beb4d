// Routes (30 ints a route) and the split and join tables that #iti also describes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kRoutes = 50;
constexpr int kItiFields = 30;
constexpr int kSplitEntries = 100;
constexpr int kRouteTurnouts = 10;
constexpr int kRouteNameLength = 40;
constexpr int kSidingPosition = 1000;  // a split or join position 1000 + g names siding g

// Fields of a route record.
enum ItiField : int {
  ITI_DEFINED = 0,
  ITI_MODE = 1,
  ITI_START_REQUEST = 2,
  ITI_STOP_REQUEST = 3,
  ITI_STATE = 4,
  ITI_TIMER = 5,
  ITI_WAIT = 6,
  ITI_OK = 7,
  ITI_START_CANTON = 8,
  ITI_STOP_CANTON = 9,
  ITI_TURNOUTS = 10,  // 10 pairs (turnout, position), -1 ends the list
};

// Fields of a split or join entry: trigger (-1 not defined, 0 idle, 1 requested), positions.
enum SplitField : int { SPLIT_TRIGGER = 0, SPLIT_POS_A = 1, SPLIT_POS_B = 2 };

using ItiRecord = std::array<int32_t, kItiFields>;
using SplitEntry = std::array<int32_t, 3>;

struct ItiTable {
  std::array<ItiRecord, kRoutes> iti_record;
  std::array<std::string, kRoutes> name;
  std::array<SplitEntry, kSplitEntries> separe;
  std::array<SplitEntry, kSplitEntries> regroupe;
  // Which entries #iti describes: the trigger alone cannot tell, since the bus stores any
  // value into it (a 1 written to an undefined entry must be consumed back to -1, not 0).
  std::array<bool, kSplitEntries> separe_defined;
  std::array<bool, kSplitEntries> regroupe_defined;

  ItiTable() { reset(); }
  void reset() {
    for (auto& r : iti_record) {
      r.fill(0);
      for (int f = ITI_START_CANTON; f < kItiFields; ++f) r[f] = -1;
    }
    for (auto& n : name) n.clear();
    for (auto& e : separe) e.fill(-1);
    for (auto& e : regroupe) e.fill(-1);
    separe_defined.fill(false);
    regroupe_defined.fill(false);
  }
};
