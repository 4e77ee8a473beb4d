#include "runtime/tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

int sv(System& s, int k) {
  return s.special.sv[static_cast<size_t>(k)];
}

void run(System& s, int ticks) {
  for (int i = 0; i < ticks; ++i) tick(s);
}

TEST(Tick, CounterBusyFlagAndCountdowns) {
  TestSystem t;
  t.sys.ticks.panel_countdown = {2, 0};
  EXPECT_TRUE(tick(t.sys));
  EXPECT_EQ(t.sys.ticks.tick, 1);
  EXPECT_EQ(t.sys.ticks.panel_countdown, (std::array<int32_t, 2>{1, 0}));
  run(t.sys, 3);
  EXPECT_EQ(t.sys.ticks.panel_countdown, (std::array<int32_t, 2>{0, 0}));
  // A timer message during a running tick (a box's nested loop) is lost, not queued.
  t.sys.ticks.busy = true;
  EXPECT_FALSE(tick(t.sys));
  EXPECT_EQ(t.sys.ticks.tick, 4);
  t.sys.ticks.busy = false;
  EXPECT_TRUE(tick(t.sys));
  EXPECT_FALSE(t.sys.ticks.busy);
}

TEST(Tick, SimulationSwitchReplacesDetectionsAndInputs) {
  TestSystem t;
  System& s = t.sys;
  var_write(s, 5400 + 455, 1);
  var_write(s, 5400 + 481, 1);
  var_write(s, 5400 + 507, 1);
  tick(s);
  EXPECT_EQ(var_read(s, 5), 0);  // switch off: the cards' values stay
  var_write(s, 5899, 1);
  tick(s);
  EXPECT_EQ(var_read(s, 5), 1);
  EXPECT_EQ(var_read(s, 115), 1);
  EXPECT_EQ(var_read(s, 407), 1);
  EXPECT_EQ(var_read(s, 200), 0);
}

TEST(Tick, EmergencyStopTogglesOnEachRisingEdge) {
  TestSystem t;
  System& s = t.sys;
  var_write(s, 7004, 1);
  run(s, 10);
  EXPECT_EQ(var_read(s, 7005), 1);
  var_write(s, 7004, 0);
  run(s, 2);
  EXPECT_EQ(var_read(s, 7005), 1);
  var_write(s, 7004, 1);
  tick(s);
  EXPECT_EQ(var_read(s, 7005), 0);
}

TEST(SpecialVars, TickBits) {
  TestSystem t;
  run(t.sys, 6);
  EXPECT_EQ(sv(t.sys, 0), 0);
  EXPECT_EQ(sv(t.sys, 1), 1);
  EXPECT_EQ(sv(t.sys, 2), 1);
  EXPECT_EQ(sv(t.sys, 3), 0);
}

TEST(SpecialVars, TrafficLightCycle) {
  TestSystem t;
  System& s = t.sys;
  // sv20 = 0: 15 ticks a step. Record the six lights after each step's tick.
  std::vector<std::array<int, 6>> seen;
  for (int i = 1; i <= 15 * 21; ++i) {
    tick(s);
    if (i % 15 == 0)
      seen.push_back({sv(s, 21), sv(s, 22), sv(s, 23), sv(s, 24), sv(s, 25), sv(s, 26)});
  }
  EXPECT_EQ(seen[0], (std::array<int, 6>{0, 0, 1, 1, 0, 0}));   // step 1: second green
  EXPECT_EQ(seen[7], (std::array<int, 6>{0, 0, 1, 0, 1, 0}));   // step 8: second amber
  EXPECT_EQ(seen[9], (std::array<int, 6>{0, 0, 1, 0, 0, 1}));   // step 10: both red
  EXPECT_EQ(seen[10], (std::array<int, 6>{1, 0, 0, 0, 0, 1}));  // step 11: first green
  EXPECT_EQ(seen[17], (std::array<int, 6>{0, 1, 0, 0, 0, 1}));  // step 18: first amber
  EXPECT_EQ(seen[19], (std::array<int, 6>{0, 0, 1, 0, 0, 1}));  // step 0: both red
  EXPECT_EQ(seen[20], seen[0]);
}

TEST(SpecialVars, TrafficLightsFlash) {
  for (int mode : {150, 100}) {
    TestSystem t;
    System& s = t.sys;
    s.special.sv[20] = mode;
    const int half = mode == 150 ? 50 : 5;
    run(s, half);
    EXPECT_EQ(sv(s, 22), 1) << mode;
    EXPECT_EQ(sv(s, 25), 1) << mode;
    run(s, half - 1);
    EXPECT_EQ(sv(s, 22), 1) << mode;
    tick(s);
    EXPECT_EQ(sv(s, 22), 0) << mode;
    EXPECT_EQ(sv(s, 21) + sv(s, 23) + sv(s, 24) + sv(s, 26), 0) << mode;
    // leaving the flashing mode restarts the cycle with the second direction green
    s.special.sv[20] = 0;
    tick(s);
    EXPECT_EQ(sv(s, 23), 1);
    EXPECT_EQ(sv(s, 24), 1);
  }
}

TEST(SpecialVars, ChasersMoveTheLitOutputUpByOne) {
  TestSystem t;
  System& s = t.sys;
  s.special.sv[30] = 0;  // out of range: 15
  s.special.sv[55] = 2;
  run(s, 15);
  EXPECT_EQ(sv(s, 31), 0);
  EXPECT_EQ(sv(s, 32), 1);
  run(s, 15);
  EXPECT_EQ(sv(s, 31), 1);
  EXPECT_EQ(sv(s, 32), 0);
  // ten phases, every 2 ticks: after 30 ticks, 15 advances
  int lit = 0, which = -1;
  for (int k = 0; k < 10; ++k)
    if (sv(s, 56 + k) == 1) ++lit, which = k;
  EXPECT_EQ(lit, 1);
  EXPECT_EQ(which, (15 % 10 + 1) % 10);
}

TEST(SpecialVars, CountersWrap) {
  TestSystem t;
  System& s = t.sys;
  std::vector<int> values;
  for (int i = 0; i < 258; ++i) {
    tick(s);
    values.push_back(sv(s, 67));
  }
  EXPECT_EQ(values[255], 256);
  EXPECT_EQ(values[256], 0);
  EXPECT_EQ(sv(s, 68), 258);
  // by a step: 4, 8, ... 252, then 256 > 255 gives 0
  TestSystem u;
  run(u.sys, 63);
  EXPECT_EQ(sv(u.sys, 73), 252);
  tick(u.sys);
  EXPECT_EQ(sv(u.sys, 73), 0);
}

TEST(SpecialVars, TrianglesTurnAtTheirEnds) {
  TestSystem t;
  System& s = t.sys;
  int max79 = 0, min79 = 1000, max85 = 0, min85 = 1000;
  for (int i = 0; i < 1200; ++i) {
    tick(s);
    max79 = std::max(max79, sv(s, 79));
    min79 = std::min(min79, sv(s, 79));
    max85 = std::max(max85, sv(s, 85));
    min85 = std::min(min85, sv(s, 85));
  }
  EXPECT_EQ(max79, 256);
  EXPECT_EQ(min79, 0);
  EXPECT_EQ(max85, 255);
  EXPECT_EQ(min85, 0);
  EXPECT_LE(sv(s, 86), 1023);
}

TEST(SpecialVars, CountersAndWavesTakeAnyValueTheUserWrites) {
  // Written through the bus by the logic or a script: the next steps stay defined (the
  // sanitizers check), counters start again from 0 and waves head back down.
  for (int k : {67, 68, 73, 74, 76, 77, 79, 80, 82, 83, 85, 86, 88, 89}) {
    for (int value : {INT32_MAX, INT32_MIN}) {
      TestSystem t;
      t.sys.special.sv[static_cast<size_t>(k)] = value;
      run(t.sys, 3);
      if (value == INT32_MAX) {
        const bool wave = k == 79 || k == 80 || k == 82 || k == 83;
        EXPECT_LE(sv(t.sys, k), wave ? INT32_MAX - 2 : 1023) << "special_var_" << k;
      }
    }
  }
}

TEST(SpecialVars, ClockIsPublished) {
  TestSystem t;
  t.sys.clock.running = 1;
  t.sys.clock.day = 3;
  t.sys.clock.hour = 14;
  t.sys.clock.minute = 25;
  tick(t.sys);
  EXPECT_EQ(sv(t.sys, 90), 1);
  EXPECT_EQ(sv(t.sys, 92), 3);
  EXPECT_EQ(sv(t.sys, 95), 14 * 60 + 25);
}

}  // namespace
