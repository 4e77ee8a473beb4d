#include "trains/split_join.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/system.h"
#include "core/var_bus.h"
#include "tools/sim/recording_host.h"
#include "trains/canton_engine.h"

namespace {

constexpr int G = kSidingPosition;  // G + g names siding g

// Trains placed by hand on cantons and in sidings; each step runs the start-of-tick copies and
// then split and join, as the tick does.
struct Rig {
  RecordingHost host;
  System sys{host};

  // Train n holds `canton` as tracking leaves it: detected, and its main canton when manual.
  void hold(int n, int canton, bool manual = true) {
    const int s = canton_slot(canton);
    sys.cantons.num_train[s] = n;
    sys.cantons.ResvMANU[s] = manual ? 1 : 0;
    sys.io.det[s] = 1;
    sys.trains.en[n] = 1;
  }
  void siding(int g, int canton) { sys.garage.ass_canton[g] = canton; }
  void parked(int g, int n) {
    sys.garage.num_train[g] = n;
    sys.garage.cmd_lock[g] = 1;
    sys.garage.state_lock[g] = 1;
    sys.trains.train_garage[n] = g;
    sys.trains.en[n] = 1;
  }
  void separe(int n, int a, int b) {
    sys.iti.separe[n] = {0, a, b};
    sys.iti.separe_defined[n] = true;
    EXPECT_EQ(var_write(sys, 9400 + n, 1), 0);
  }
  void regroupe(int n, int a, int b) {
    sys.iti.regroupe[n] = {0, a, b};
    sys.iti.regroupe_defined[n] = true;
    EXPECT_EQ(var_write(sys, 9500 + n, 1), 0);
  }
  void step() {
    lost_train_step(sys);
    split_join_tick(sys);
  }
  int on(int canton) { return sys.cantons.num_train[canton_slot(canton)]; }
  // Entry w is in use as a new wagon.
  void expect_wagon(int w) {
    EXPECT_EQ(sys.trains.en[w], 1);
    EXPECT_EQ(sys.trains.name[w], "WGON[" + std::to_string(w) + "]");
    EXPECT_EQ(sys.trains.en_auto[w], 0);
  }
  // Entry w is given back with the default profile.
  void expect_cleared(int w) {
    const TrainTable& t = sys.trains;
    EXPECT_EQ(t.en[w], 0);
    EXPECT_EQ(t.cmd[w], -1);
    EXPECT_EQ(t.vmax[w], 64);
    EXPECT_EQ(t.acc[w], -1);
    EXPECT_EQ(t.frein[w], -1);
    EXPECT_EQ(t.mode[w], "SEL");
  }
};

struct SplitJoin : ::testing::Test, Rig {};

TEST_F(SplitJoin, CantonCantonAndBack) {
  hold(2, 12);
  hold(2, 13, false);
  separe(5, 12, 13);
  step();
  EXPECT_EQ(sys.iti.separe[5][SPLIT_TRIGGER], 0);
  expect_wagon(31);
  EXPECT_EQ(on(12), 2);
  EXPECT_EQ(on(13), 31);
  EXPECT_EQ(sys.trains.capt[31], 1);
  EXPECT_EQ(sys.cantons.pb_capt_t[31], 0);

  sys.cantons.ResvMANU[canton_slot(13)] = 1;  // tracking makes it the wagons' main canton
  sys.trains.vit[31] = 5;
  sys.trains.mode[31] = "sel";  // modes compare without case
  regroupe(0, 12, 13);
  step();
  EXPECT_EQ(sys.iti.regroupe[0][SPLIT_TRIGGER], 0);
  expect_cleared(31);
  EXPECT_EQ(sys.trains.vit[31], 0);
  EXPECT_EQ(on(13), 2);
  EXPECT_EQ(on(12), 2);
}

TEST_F(SplitJoin, NewWagonTakesTheHighestFreeEntry) {
  sys.trains.en[31] = 1;
  sys.trains.en[30] = 1;
  hold(2, 12);
  hold(2, 13);
  separe(0, 12, 13);
  step();
  expect_wagon(29);
  EXPECT_EQ(on(13), 29);
}

TEST_F(SplitJoin, WagonsLeftInASidingAndPickedUp) {
  siding(3, 12);
  hold(2, 12);
  separe(0, 12, G + 3);
  step();
  expect_wagon(31);
  EXPECT_EQ(sys.trains.train_garage[31], 3);
  EXPECT_EQ(sys.garage.num_train[3], 31);
  EXPECT_EQ(sys.garage.cmd_lock[3], 1);
  EXPECT_EQ(sys.garage.state_lock[3], 1);
  EXPECT_EQ(on(12), 2);

  regroupe(0, 12, G + 3);
  step();
  expect_cleared(31);
  EXPECT_EQ(sys.trains.train_garage[31], -1);
  EXPECT_EQ(sys.garage.num_train[3], -1);
  EXPECT_EQ(sys.garage.cmd_lock[3], 0);
  EXPECT_EQ(sys.garage.state_lock[3], 0);
  EXPECT_EQ(on(12), 2);
}

TEST_F(SplitJoin, EngineParkedInASidingLeavesItsWagonsOnTheCantons) {
  siding(3, 12);
  hold(2, 12);
  hold(2, 13);
  separe(0, G + 3, 13);
  step();
  expect_wagon(31);
  EXPECT_EQ(on(12), 31);
  EXPECT_EQ(on(13), 31);
  EXPECT_EQ(sys.trains.train_garage[2], 3);
  EXPECT_EQ(sys.garage.num_train[3], 2);
  EXPECT_EQ(sys.garage.state_lock[3], 1);
  EXPECT_EQ(sys.trains.capt[31], 1);

  regroupe(0, G + 3, 12);
  step();
  expect_cleared(31);
  EXPECT_EQ(sys.trains.train_garage[2], -1);
  EXPECT_EQ(sys.garage.num_train[3], -1);
  EXPECT_EQ(sys.garage.state_lock[3], 0);
  EXPECT_EQ(on(12), 2);
  EXPECT_EQ(on(13), 2);
}

// Each setup consumes its trigger and changes nothing else.
TEST_F(SplitJoin, RefusedRequestsChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(Rig&)> setup;
  };
  const Case kCases[] = {
      {"train driven by a movement",
       [](Rig& f) {
         f.hold(2, 12);
         f.hold(2, 13);
         f.sys.trains.mode[2] = "AUTO";
         f.separe(0, 12, 13);
       }},
      {"two different trains",
       [](Rig& f) {
         f.hold(2, 12);
         f.hold(3, 13);
         f.separe(0, 12, 13);
       }},
      {"canton not detected",
       [](Rig& f) {
         f.hold(2, 12);
         f.hold(2, 13);
         f.sys.io.det[canton_slot(13)] = 0;
         f.separe(0, 12, 13);
       }},
      {"no free wagon entry",
       [](Rig& f) {
         for (int w = 16; w < 32; ++w) f.sys.trains.en[w] = 1;
         f.hold(2, 12);
         f.hold(2, 13);
         f.separe(0, 12, 13);
       }},
      {"one place named twice",
       [](Rig& f) {
         f.hold(2, 12);
         f.separe(0, 12, 12);
       }},
      {"siding held by a movement",
       [](Rig& f) {
         f.siding(3, 12);
         f.hold(2, 12);
         f.sys.garage.res_auto[3] = 1;
         f.separe(0, 12, G + 3);
       }},
      {"siding without canton",
       [](Rig& f) {
         f.hold(2, 12);
         f.separe(0, G + 3, 12);
       }},
      {"wagons on two sidings",
       [](Rig& f) {
         f.siding(3, 12);
         f.siding(4, 12);
         f.hold(2, 12);
         f.separe(0, G + 3, G + 4);
       }},
      {"join on a canton that is not the siding's",
       [](Rig& f) {
         f.siding(3, 12);
         f.parked(3, 31);
         f.hold(2, 13);
         f.regroupe(0, 13, G + 3);
       }},
      {"join from a siding held by a movement",
       [](Rig& f) {
         f.siding(3, 12);
         f.parked(3, 31);
         f.hold(2, 12);
         f.sys.garage.res_auto[3] = 1;
         f.regroupe(0, 12, G + 3);
       }},
      {"join of two trains",
       [](Rig& f) {
         f.hold(2, 12);
         f.hold(3, 13);
         f.regroupe(0, 12, 13);
       }},
      {"join of a wagon and an automatic train",
       [](Rig& f) {
         f.hold(2, 12);
         f.hold(31, 13);
         f.sys.trains.mode[2] = "AUTO";
         f.regroupe(0, 12, 13);
       }},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Rig f;
    c.setup(f);
    const CantonTable cantons = f.sys.cantons;
    const std::array<int32_t, kTrainEntries> en = f.sys.trains.en;
    const std::array<int32_t, kSidings> parked_train = f.sys.garage.num_train;
    const std::array<int32_t, kSidings> state_lock = f.sys.garage.state_lock;
    f.step();
    EXPECT_EQ(f.sys.iti.separe[0][SPLIT_TRIGGER], f.sys.iti.separe_defined[0] ? 0 : -1);
    EXPECT_EQ(f.sys.iti.regroupe[0][SPLIT_TRIGGER], f.sys.iti.regroupe_defined[0] ? 0 : -1);
    EXPECT_EQ(f.sys.cantons.num_train, cantons.num_train);
    EXPECT_EQ(f.sys.trains.en, en);
    EXPECT_EQ(f.sys.garage.num_train, parked_train);
    EXPECT_EQ(f.sys.garage.state_lock, state_lock);
  }
}

// A 1 written to an entry #iti does not describe is consumed back to "not defined", so the
// entry never reads as an idle, defined one.
TEST_F(SplitJoin, UndefinedEntryIsConsumedBackToUndefined) {
  hold(2, 12);
  hold(2, 13);
  sys.iti.separe[9] = {-1, 12, 13};
  EXPECT_EQ(var_write(sys, 9409, 1), 0);
  EXPECT_EQ(var_write(sys, 9509, 1), 0);
  step();
  EXPECT_EQ(var_read(sys, 9409), -1);
  EXPECT_EQ(var_read(sys, 9509), -1);
  EXPECT_EQ(on(13), 2);
  EXPECT_EQ(sys.trains.en[31], 0);
}

}  // namespace
