#include "moves/garage_engine.h"

#include <gtest/gtest.h>

#include "core/system.h"
#include "tools/sim/recording_host.h"

namespace {

// Siding 2 on canton 105 (slot 21), relay on output 7 of card 1 (index 87), pol 1.
struct SidingRig {
  SidingRig() {
    g.ass_canton[2] = 105;
    g.ass_out[2] = 107;
    g.pol[2] = 1;
  }
  // Train 4 as a manual train: main canton 105, reserved ahead on 106.
  void manual_train_on_105() {
    c.num_train[kSlot] = 4;
    c.ResvMANU[kSlot] = 1;
    c.num_train[kSlot + 1] = 4;
    c.Res2MANU[kSlot + 1] = 1;
  }
  int relay() const { return sys.io.out[kRelay]; }

  static constexpr int kSlot = 21;
  static constexpr int kRelay = 87;
  RecordingHost host;
  System sys{host};
  GarageTable& g = sys.garage;
  CantonTable& c = sys.cantons;
};

struct GarageEngineTest : ::testing::Test, SidingRig {};

TEST_F(GarageEngineTest, IsolationParksTheManualTrainAndConnectionBringsItBack) {
  manual_train_on_105();
  garage_tick(sys);
  EXPECT_EQ(relay(), 0);  // connected: 1 - pol
  g.cmd_lock[2] = 1;
  garage_tick(sys);
  EXPECT_EQ(g.state_lock[2], 1);
  EXPECT_EQ(g.cmd_lock[2], 1);
  EXPECT_EQ(g.num_train[2], 4);
  EXPECT_EQ(sys.trains.train_garage[4], 2);
  for (int slot : {kSlot, kSlot + 1}) {
    EXPECT_EQ(c.num_train[slot], -1);
    EXPECT_EQ(c.ResvMANU[slot], 0);
    EXPECT_EQ(c.Res2MANU[slot], 0);
  }
  EXPECT_EQ(relay(), 1);  // isolated: pol

  g.cmd_lock[2] = 0;
  garage_tick(sys);
  EXPECT_EQ(g.state_lock[2], 0);
  EXPECT_EQ(g.cmd_lock[2], 0);
  EXPECT_EQ(g.num_train[2], -1);
  EXPECT_EQ(sys.trains.train_garage[4], -1);
  EXPECT_EQ(c.num_train[kSlot], 4);
  EXPECT_EQ(c.ResvMANU[kSlot], 1);
  EXPECT_EQ(relay(), 0);
}

// A dropped request puts the command back to the state in the same tick.
TEST_F(GarageEngineTest, RefusedRequestsFallBack) {
  struct Case {
    const char* name;
    int state_lock;
    void (*setup)(SidingRig&);
  };
  const Case kCases[] = {
      {"isolation, no train on the canton", 0, [](SidingRig&) {}},
      {"isolation, a second canton of the train only", 0,
       [](SidingRig& f) {
         f.c.num_train[kSlot] = 4;
         f.c.Res2MANU[kSlot] = 1;
       }},
      {"isolation, the train runs a movement", 0,
       [](SidingRig& f) {
         f.manual_train_on_105();
         f.sys.trains.mode[4] = "AUTO";
       }},
      {"connection, a movement holds the canton", 1, [](SidingRig& f) { f.c.ResvAUTO[kSlot] = 1; }},
      {"connection, another manual train on the canton", 1,
       [](SidingRig& f) {
         f.c.ResvMANU[kSlot] = 1;
         f.c.num_train[kSlot] = 6;
       }},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.name);
    SidingRig f;
    k.setup(f);
    f.g.state_lock[2] = k.state_lock;
    f.g.num_train[2] = k.state_lock == 1 ? 3 : -1;
    f.g.cmd_lock[2] = 1 - k.state_lock;
    garage_tick(f.sys);
    EXPECT_EQ(f.g.cmd_lock[2], k.state_lock);
    EXPECT_EQ(f.g.state_lock[2], k.state_lock);
    EXPECT_EQ(f.g.num_train[2], k.state_lock == 1 ? 3 : -1);
  }
}

TEST_F(GarageEngineTest, AMovementsSidingIsLeftAloneButItsRelayIsDriven) {
  manual_train_on_105();
  g.res_auto[2] = 1;
  g.cmd_lock[2] = 1;
  g.pol[2] = 0;
  garage_tick(sys);
  EXPECT_EQ(g.cmd_lock[2], 1);
  EXPECT_EQ(g.state_lock[2], 0);
  EXPECT_EQ(c.num_train[kSlot], 4);
  EXPECT_EQ(relay(), 1);  // pol 0, connected
  g.state_lock[2] = 1;
  garage_tick(sys);
  EXPECT_EQ(relay(), 0);
}

TEST_F(GarageEngineTest, AnUndefinedSidingDrivesNoOutput) {
  g.ass_canton[2] = -1;
  sys.io.out[kRelay] = 5;
  g.cmd_lock[2] = 1;
  manual_train_on_105();
  garage_tick(sys);
  EXPECT_EQ(sys.io.out[kRelay], 5);
  EXPECT_EQ(g.cmd_lock[2], 1);
  EXPECT_EQ(c.num_train[kSlot], 4);
}

}  // namespace
