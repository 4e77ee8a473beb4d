#include "moves/iti_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "core/var_bus.h"
#include "moves/iti_config.h"
#include "runtime/tick.h"
#include "support/temp_dir.h"
#include "turnouts/aig_config.h"
#include "turnouts/aig_sequencer.h"

namespace {

// Four turnouts that move in two ticks each, the routes of `iti`, and detection of cantons
// 0..15 simulated through var_450.. (var_499 = 1). Whole ticks, as the timer runs them.
class RouteRig {
 public:
  explicit RouteRig(const std::string& iti) {
    t.dir.write("config.txt",
                "#aig\n[\ndefault_tic: 0,1,0,0,1,0\n"
                "aig0: go0: out0=1 go1: out1=1\naig1: go0: out2=1 go1: out3=1\n"
                "aig2: go0: out4=1 go1: out5=1\naig3: go0: out6=1 go1: out7=1\n]\n"
                "#iti\n[\n" +
                    iti + "]\n");
    t.sys.minus_switch = true;
    read_aig_section(t.sys);
    read_iti_section(t.sys);
    var_write(t.sys, var_from_label(t.sys, "var_499"), 1);
    settle();
  }

  // Ticks until every turnout lies where it is commanded and the sequencer rests.
  void settle() {
    for (int k = 0; k < 40 && !at_rest(); ++k) ticks(1);
    ASSERT_TRUE(at_rest());
  }
  void ticks(int n) {
    for (int k = 0; k < n; ++k) ASSERT_TRUE(tick(t.sys));
  }
  // Ticks until route n reaches `state`, at most `limit` ticks.
  void until(int n, int state, int limit = 10) {
    for (int k = 0; k < limit && route(n)[ITI_STATE] != state; ++k) ticks(1);
    ASSERT_EQ(route(n)[ITI_STATE], state);
  }
  void det(int canton, int value) {
    var_write(t.sys, var_from_label(t.sys, ("var_" + std::to_string(450 + canton)).c_str()), value);
  }
  int start(int n) { return var_write(t.sys, 6000 + n, 1); }
  int stop(int n) { return var_write(t.sys, 6100 + n, 1); }
  const ItiRecord& route(int n) { return t.sys.iti.iti_record[n]; }
  AigTable& aig() { return t.sys.aig; }

  TestSystem t;

 private:
  bool at_rest() {
    for (int n = 0; n < 4; ++n)
      if (!aig_in_position(t.sys, n)) return false;
    return aig().aig_seq_state == AIG_SEQ_IDLE;
  }
};

// State, wait and ok of route n, for one comparison.
std::array<int32_t, 3> flags(RouteRig& rig, int n) {
  return {rig.route(n)[ITI_STATE], rig.route(n)[ITI_WAIT], rig.route(n)[ITI_OK]};
}

TEST(ItiEngine, DirectRouteThrowsOnlyTheTurnoutsNobodyHolds) {
  RouteRig rig("iti0: direct a0.1 a1.1\niti1: direct\n");
  rig.aig().aig_reserved[1] = 1;  // held by a movement
  rig.ticks(1);
  EXPECT_EQ(rig.route(1)[ITI_OK], 1);  // no turnouts: always ok
  EXPECT_EQ(rig.route(0)[ITI_OK], 0);
  EXPECT_EQ(rig.start(0), 0);
  // A direct route is never out of state 0: its stop variable takes nothing.
  EXPECT_EQ(rig.stop(0), 0);
  EXPECT_EQ(rig.route(0)[ITI_STOP_REQUEST], 0);
  rig.ticks(1);
  EXPECT_EQ(rig.route(0)[ITI_START_REQUEST], 0);
  EXPECT_EQ(rig.aig().aig_cmd[0], 1);
  EXPECT_EQ(rig.aig().aig_cmd[1], 0);
  rig.settle();
  EXPECT_EQ(rig.aig().pos1_aig[0], 1);
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{0, 0, 0}));
  rig.aig().aig_cmd[1] = 1;  // its holder moves it the route's way
  rig.ticks(1);
  EXPECT_EQ(rig.route(0)[ITI_OK], 0);
  rig.settle();
  rig.ticks(1);
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{0, 0, 1}));
}

// An on/off route without start canton runs through its states as far as it can in the tick of
// its start request.
TEST(ItiEngine, OnOffRouteWithoutStartCantonInItsFirstTick) {
  struct Case {
    const char* line;
    std::array<int32_t, 3> state_wait_ok;
  };
  const Case kCases[] = {
      {"iti0: onoff stop c5 a0.1 a1.0\n", {3, 1, 0}},  // turnout 0 must move
      {"iti0: onoff stop c5 a0.0 a1.0\n", {4, 0, 1}},  // both already lie right
      {"iti0: onoff a0.0\n", {6, 0, 1}},               // no stop canton
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    RouteRig rig(c.line);
    EXPECT_EQ(rig.start(0), 0);
    rig.ticks(1);
    EXPECT_EQ(flags(rig, 0), c.state_wait_ok);
    EXPECT_EQ(rig.aig().aig_reserved[0], 1);
    EXPECT_EQ(rig.route(0)[ITI_START_REQUEST], 0);
  }
}

TEST(ItiEngine, ReleasedSixteenTicksAfterTheTrainReachesTheStopCanton) {
  RouteRig rig("iti0: onoff start c1 stop c2 a0.1\n");
  rig.start(0);
  rig.ticks(1);
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{1, 1, 0}));
  rig.ticks(3);
  EXPECT_EQ(rig.route(0)[ITI_STATE], 1);
  rig.det(1, 1);
  rig.ticks(1);
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{3, 1, 0}));
  // While held, the turnout refuses bus commands; the sequencer moves it all the same.
  EXPECT_EQ(var_write(rig.t.sys, 5000, 0), -1);
  EXPECT_NE(rig.t.log().find("Erreur5"), std::string::npos);
  rig.until(0, 4);
  EXPECT_EQ(rig.aig().pos1_aig[0], 1);
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{4, 0, 1}));
  rig.det(2, 1);
  rig.ticks(1);  // tick k: the stop canton reads occupied
  EXPECT_EQ(rig.route(0)[ITI_STATE], 5);
  EXPECT_EQ(rig.route(0)[ITI_TIMER], 15);
  rig.ticks(15);  // through tick k + 15
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{5, 0, 1}));
  EXPECT_EQ(rig.aig().aig_reserved[0], 1);
  rig.ticks(1);  // tick k + 16, the train still on the stop canton
  EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{0, 0, 0}));
  EXPECT_EQ(rig.aig().aig_reserved[0], 0);
  EXPECT_EQ(var_write(rig.t.sys, 5000, 0), 0);
}

TEST(ItiEngine, StopRequests) {
  struct Case {
    const char* line;
    bool turnout_held_by_movement;
    int stopped_in;
    int reserved_after;
  };
  const Case kCases[] = {
      {"iti0: onoff start c1 a0.1\n", true, 1, 1},  // waiting for its train
      {"iti0: onoff a0.1\n", true, 2, 1},           // waiting for the turnout
      {"iti0: onoff a0.1\n", false, 6, 0},          // established until stopped
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line);
    RouteRig rig(c.line);
    EXPECT_EQ(rig.stop(0), 0);  // refused in state 0
    EXPECT_EQ(rig.route(0)[ITI_STOP_REQUEST], 0);
    rig.aig().aig_reserved[0] = c.turnout_held_by_movement ? 1 : 0;
    rig.start(0);
    rig.until(0, c.stopped_in);
    rig.start(0);  // refused out of state 0
    EXPECT_EQ(rig.route(0)[ITI_START_REQUEST], 0);
    EXPECT_EQ(rig.stop(0), 0);
    rig.ticks(1);
    EXPECT_EQ(flags(rig, 0), (std::array<int32_t, 3>{0, 0, 0}));
    EXPECT_EQ(rig.route(0)[ITI_START_REQUEST], 0);
    EXPECT_EQ(rig.route(0)[ITI_STOP_REQUEST], 0);
    EXPECT_EQ(rig.aig().aig_reserved[0], c.reserved_after);
  }
}

TEST(ItiEngine, TwoRoutesOnOneTurnout) {
  RouteRig rig("iti5: onoff a0.0 a2.1\niti3: onoff a0.1 a1.1\n");
  rig.start(5);
  rig.start(3);
  rig.ticks(1);  // both start in one tick: the lower number takes turnout 0
  EXPECT_EQ(rig.route(3)[ITI_STATE], 3);
  EXPECT_EQ(rig.route(5)[ITI_STATE], 2);
  EXPECT_EQ(rig.aig().aig_reserved[2], 0);  // route 5 takes none of its turnouts
  rig.until(3, 6);
  EXPECT_EQ(rig.route(5)[ITI_STATE], 2);
  rig.stop(3);
  rig.ticks(1);  // route 3 releases and route 5 takes the turnouts in the same tick
  EXPECT_EQ(rig.route(3)[ITI_STATE], 0);
  EXPECT_EQ(rig.route(5)[ITI_STATE], 3);
  EXPECT_EQ(rig.aig().aig_cmd[0], 0);
  EXPECT_EQ(rig.aig().aig_reserved[0], 1);
  EXPECT_EQ(rig.aig().aig_reserved[1], 0);
  EXPECT_EQ(rig.aig().aig_reserved[2], 1);
  rig.until(5, 6);
}

}  // namespace
