#include "trains/tracking.h"

#include <gtest/gtest.h>

#include "tools/sim/recording_host.h"
#include "core/system.h"
#include "runtime/tick.h"
#include "trains/speed_profile.h"
#include "trains/train_config.h"

namespace {

// Trains driven from keyboard configurations, moved through whole ticks; detection is set on
// the I/O image as the card exchange would leave it.
struct Tracking : ::testing::Test {
  RecordingHost host;
  System sys{host};
  CantonTable& c = sys.cantons;
  int rules = 0;

  // c<target>:<tsign> c<from><fsign> with conditions (turnout, position)...
  void rule(int target, char tsign, int from, char fsign, std::vector<int> conditions = {}) {
    auto& r = sys.selectif.rule[static_cast<size_t>(rules++)];
    r[kSelTarget] = target;
    r[kSelTargetSign] = tsign == '+' ? 0 : 1;
    r[kSelFrom] = from;
    r[kSelFromSign] = fsign == '+' ? 0 : 1;
    for (size_t k = 0; k < conditions.size(); ++k) r[kSelConditions + k] = conditions[k];
  }
  // Train n on canton `on`, detected there, driven at keyboard level `level`.
  void train(int n, int on, int level) {
    place_train_on_canton(sys, n, on);
    sys.trains.cmd[n] = kClavCmdBase + n % kClavConfs;
    sys.trains.clav_level[n % kClavConfs] = level;
    det(on, 1);
  }
  void det(int canton, int value) { sys.io.det[canton_slot(canton)] = value; }
  void ticks(int n) {
    for (int k = 0; k < n; ++k) ASSERT_TRUE(tick(sys));
  }
  int field(const std::array<int32_t, kCantons>& a, int canton) { return a[canton_slot(canton)]; }
};

TEST_F(Tracking, NextCantonReservedAndPoweredInTheSameTick) {
  rule(11, '+', 10, '+');
  train(3, 10, 2);
  ticks(1);
  EXPECT_EQ(sys.trains.vit[3], 32);
  EXPECT_EQ(field(c.Res2MANU, 11), 1);
  EXPECT_EQ(field(c.num_train, 11), 3);
  EXPECT_EQ(field(c.Vit_MANU, 11), 32);
  EXPECT_EQ(field(c.Vitesse, 11), 32);
  EXPECT_EQ(field(c.Vit_reel, 11), 32);
  EXPECT_EQ(field(c.Vit_reel, 10), 32);
  EXPECT_EQ(field(c.ResvMANU, 11), 0);
  EXPECT_EQ(field(c.det2, 11), 0);
}

TEST_F(Tracking, MainCantonOnDetectionAndReleaseAfterTheDelay) {
  sys.block.tempo_libe_cant = 10;
  rule(11, '+', 10, '+');
  rule(12, '+', 11, '+');
  train(3, 10, 2);
  ticks(1);
  det(11, 1);
  ticks(1);
  EXPECT_EQ(field(c.ResvMANU, 11), 1);
  EXPECT_EQ(field(c.Res2MANU, 12), 1);  // and the following one is reserved
  det(10, 0);
  ticks(9);
  EXPECT_EQ(field(c.ResvMANU, 10), 1);
  EXPECT_EQ(field(c.libe_count, 10), 9);
  EXPECT_EQ(field(c.det2, 10), 1);
  ticks(1);
  EXPECT_EQ(field(c.ResvMANU, 10), 0);
  EXPECT_EQ(field(c.num_train, 10), -1);
  EXPECT_EQ(field(c.Vitesse, 10), 0);
  ticks(1);  // the cantons text is made before tracking: it follows one tick later
  EXPECT_EQ(sys.trains.cantons_txt[3], "c11 ");
}

TEST_F(Tracking, NoDelayFreesOnTheFirstTickWithoutDetection) {
  rule(11, '+', 10, '+');
  train(3, 10, 2);
  ticks(1);
  det(11, 1);
  ticks(1);
  det(10, 0);
  ticks(1);
  EXPECT_EQ(field(c.ResvMANU, 10), 0);
  EXPECT_EQ(field(c.num_train, 10), -1);
  EXPECT_EQ(field(c.det2, 10), 0);  // the release counter does not keep it occupied
}

TEST_F(Tracking, ReverseLoopFlipsThePolarity) {
  rule(11, '-', 10, '+');
  rule(12, '-', 11, '+');
  train(3, 10, 2);
  ticks(1);
  EXPECT_EQ(field(c.Inverse, 11), 1);
  EXPECT_EQ(field(c.Vit_MANU, 11), -32);
  EXPECT_EQ(field(c.Vit_reel, 11), -32);
  // On canton 11 the train now travels backwards in the canton's wiring: rule 12 does not hold.
  det(11, 1);
  det(10, 0);
  ticks(2);
  EXPECT_EQ(field(c.ResvMANU, 11), 1);
  EXPECT_EQ(field(c.Res2MANU, 12), 0);
}

TEST_F(Tracking, TurnoutConditionWaitsForTheTurnoutToArrive) {
  rule(11, '+', 10, '+', {5, 0});
  train(3, 10, 2);
  ticks(1);  // moving: neither position reached
  EXPECT_EQ(field(c.Res2MANU, 11), 0);
  sys.aig.pos1_aig[5] = 1;
  ticks(1);
  EXPECT_EQ(field(c.Res2MANU, 11), 0);
  sys.aig.pos1_aig[5] = 0;
  sys.aig.pos0_aig[5] = 1;
  ticks(1);
  EXPECT_EQ(field(c.Res2MANU, 11), 1);
}

TEST_F(Tracking, LowerTrainNumberWinsAContestedCanton) {
  rule(101, '+', 100, '+');
  rule(101, '-', 102, '+');
  rule(103, '+', 101, '+');
  train(2, 102, 2);
  train(1, 100, 2);
  ticks(1);
  EXPECT_EQ(field(c.num_train, 101), 1);
  EXPECT_EQ(field(c.Inverse, 101), 0);
  // Train 1 passes through canton 101 to canton 103; train 2 gets 101 once it is free again.
  det(101, 1);
  ticks(1);
  det(100, 0);
  ticks(1);
  det(103, 1);
  ticks(1);
  EXPECT_EQ(field(c.num_train, 101), 1);
  det(101, 0);
  ticks(1);
  EXPECT_EQ(field(c.num_train, 101), 2);
  EXPECT_EQ(field(c.Res2MANU, 101), 1);
  EXPECT_EQ(field(c.Inverse, 101), 1);
  EXPECT_EQ(field(c.Vit_MANU, 101), -32);
}

TEST_F(Tracking, SlowTrainsAndForbiddenDirectionsReserveNothing) {
  rule(11, '+', 10, '+');
  rule(111, '-', 110, '+');
  place_train_on_canton(sys, 0, 10);
  sys.trains.cmd[0] = 0;  // potentiometer can_0
  sys.io.can[0] = 146;    // speed 1
  det(10, 1);
  train(4, 110, 1);
  c.sens_perm[canton_slot(111)] = 1;  // backward entry forbidden on the panel
  ticks(3);
  EXPECT_EQ(sys.trains.vit[0], 1);
  EXPECT_EQ(field(c.Res2MANU, 11), 0);
  EXPECT_EQ(field(c.ResvMANU, 10), 1);
  EXPECT_EQ(field(c.Res2MANU, 111), 0);
  c.sens_perm[canton_slot(111)] = 3;
  ticks(1);  // the permission reaches sens_ok at the start of the tick
  EXPECT_EQ(field(c.Res2MANU, 111), 1);
}

TEST_F(Tracking, LostTrainKeepsItsCantonsAndRaisesTheFlags) {
  sys.block.tempo_libe_cant = 2;
  rule(11, '+', 10, '+');
  train(3, 10, 2);
  place_train_on_canton(sys, 3, 9);
  det(10, 0);
  ticks(5);
  EXPECT_EQ(field(c.ResvMANU, 10), 1);
  EXPECT_EQ(field(c.ResvMANU, 9), 1);
  EXPECT_EQ(sys.trains.capt[3], 0);
  EXPECT_EQ(c.pb_capt_t[3], 1);
  EXPECT_EQ(field(c.pb_capt_c, 10), 1);
  EXPECT_EQ(field(c.pb_capt_c, 12), 0);
  det(10, 1);
  ticks(3);
  EXPECT_EQ(field(c.ResvMANU, 9), 0);  // seen again: the canton left behind is freed
  EXPECT_EQ(c.pb_capt_t[3], 0);
}

TEST_F(Tracking, MovementCantonsAreLeftAlone) {
  rule(11, '+', 10, '+');
  train(3, 10, 2);
  const int s11 = canton_slot(11);
  c.ResvAUTO[s11] = 1;
  c.num_train[s11] = 7;
  c.Vit_AUTO[s11] = 9;
  ticks(2);
  EXPECT_EQ(c.num_train[s11], 7);
  EXPECT_EQ(c.Res2MANU[s11], 0);
  EXPECT_EQ(c.Vitesse[s11], 9);
}

// The road of a potentiometer through one tick: reading, ramp, canton speed, profile output.
TEST_F(Tracking, PotentiometerReachesTheCantonOutput) {
  place_train_on_canton(sys, 6, 203);
  sys.trains.cmd[6] = 201;  // can_201: card 2, input 1
  sys.trains.vmin[6] = 10;
  sys.trains.vmax[6] = 50;
  sys.trains.acc[6] = 4;  // 10 a tick
  det(203, 1);
  const int can = 2 * kCanPerCard + 1;
  sys.io.can[can] = 128 + 64;  // speed 32
  ticks(1);
  EXPECT_EQ(sys.trains.cmd_speed[6], 32);
  EXPECT_EQ(sys.trains.vit[6], 10);
  EXPECT_EQ(field(c.Vitesse, 203), 10);
  EXPECT_EQ(field(c.Vit_reel, 203), 16);
  ticks(3);
  EXPECT_EQ(field(c.Vit_reel, 203), 30);
  sys.io.can[can] = 0;  // turned to the backward end stop: brake at once (no frein)
  ticks(1);
  EXPECT_EQ(sys.trains.cons[6], kBrakeRequest);
  EXPECT_EQ(field(c.Vitesse, 203), 0);
  EXPECT_EQ(field(c.Vit_reel, 203), 0);
  sys.ticks.arret_urg_on = 1;  // emergency stop: the ramp caps at 15
  sys.io.can[can] = 255 - 5;
  ticks(4);
  EXPECT_EQ(sys.ticks.arret_urg_state, 1);
  EXPECT_EQ(field(c.Vitesse, 203), 15);
}

}  // namespace
