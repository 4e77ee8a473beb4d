#include "trains/speed_profile.h"

#include <gtest/gtest.h>

#include "tools/sim/recording_host.h"
#include "core/system.h"

namespace {

struct RampFixture : ::testing::Test {
  RecordingHost host;
  System sys{host};

  // Runs the ramp tick after tick as the trains engine does; returns the speeds reached.
  std::vector<int> run(int target, int start, int acc, int dec, int frein, int ticks) {
    std::vector<int> speeds;
    int v = start;
    for (int k = 0; k < ticks; ++k) {
      ++sys.ticks.tick;
      v = ramp_step(sys, target, v, acc, dec, frein);
      speeds.push_back(v);
    }
    return speeds;
  }
};

TEST(PotToSpeed, ReadingsAroundTheCentreAndTheEndStops) {
  struct Case {
    int reading;
    bool brake;
    int speed;
  };
  const Case cases[] = {
      {128, true, 0},  {127, true, 0},  {255, true, -99},   {255, false, 64},
      {0, true, -99},  {0, false, -64}, {240, true, 64},    {145, true, 0},
      {146, true, 1},  {250, true, 64}, {251, true, -99},   {109, true, -1},
      {4, false, -64}, {4, true, -99},  {5, true, 64 * -1}, {128 + 64, true, 32},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pot_to_speed(c.reading, c.brake), c.speed) << "reading " << c.reading;
  }
}

TEST(LevelToSpeed, EveryLevel) {
  const int expected[] = {-64, -32, -10, 0, 10, 32, 64};
  for (int level = -3; level <= 3; ++level) EXPECT_EQ(level_to_speed(level), expected[level + 3]);
  EXPECT_EQ(level_to_speed(4), 0);
  EXPECT_EQ(level_to_speed(-4), 0);
}

TEST(StepTable, RowSumsGiveTheLegendTimes) {
  const int sums[] = {252, 192, 156, 120, 92, 74, 65, 57, 49, 43, 36, 32, 28, 24,
                      21,  18,  15,  12,  10, 9,  8,  7,  6,  5,  4,  3,  2,  1};
  for (int row = 1; row <= kStepRows; ++row) {
    int sum = 0;
    for (int phase = 0; phase < kPhases; ++phase) sum += step_increment(row, phase);
    EXPECT_EQ(sum, sums[row - 1]) << "row " << row;
  }
}

TEST_F(RampFixture, AccelerationRow14ReachesFullSpeedIn32Ticks) {
  auto speeds = run(64, 0, 14, -1, -1, 40);
  EXPECT_EQ(speeds[0], 2);
  EXPECT_EQ(speeds[30], 62);
  EXPECT_EQ(speeds[31], 64);
  EXPECT_EQ(speeds[39], 64);
}

TEST_F(RampFixture, ProgressiveThresholdsSlowTheLowSpeeds) {
  sys.trains.acc_progressif = {5, 10, 20, -1, -1, -1, -1, -1};
  // Each speed uses the row acc + thresholds not passed yet: 4 -> 17, 8 -> 16, 15 -> 15, 30 -> 14.
  const int rows[][2] = {{4, 17}, {8, 16}, {15, 15}, {30, 14}};
  for (auto [speed, row] : rows) {
    for (int phase = 0; phase < kPhases; ++phase) {
      sys.ticks.tick = phase;
      EXPECT_EQ(ramp_step(sys, 64, speed, 14, -1, -1), speed + step_increment(row, phase))
          << "speed " << speed << " phase " << phase;
    }
  }
  // A higher index never goes past row 28 (row 27 would give 1 on phase 6, row 28 gives 0).
  sys.ticks.tick = 6;
  EXPECT_EQ(ramp_step(sys, 64, 0, 27, -1, -1), 0);
}

TEST_F(RampFixture, DirectionChangeWithoutInertiaPassesThroughZero) {
  EXPECT_EQ(run(-30, 30, -1, -1, -1, 2), (std::vector<int>{0, -30}));
}

TEST_F(RampFixture, DirectionChangeWithInertiaStopsOnZeroFirst) {
  auto speeds = run(-10, 5, 11, 11, -1, 6);
  // dec row 11 takes 3 a tick: 5 -> 2 -> 0 (never below), then acc 3 a tick the other way.
  EXPECT_EQ(speeds, (std::vector<int>{2, 0, -3, -6, -9, -10}));
}

TEST_F(RampFixture, SlowingDownBackwardsAndForwards) {
  EXPECT_EQ(run(10, 30, -1, 4, -1, 3), (std::vector<int>{20, 10, 10}));
  EXPECT_EQ(run(-10, -30, -1, 4, -1, 3), (std::vector<int>{-20, -10, -10}));
  EXPECT_EQ(run(-30, -10, 4, -1, -1, 3), (std::vector<int>{-20, -30, -30}));
}

TEST_F(RampFixture, BrakeRequest) {
  EXPECT_EQ(ramp_step(sys, kBrakeRequest, 20, 1, 1, -1), 0);
  sys.ticks.tick = 0;
  auto speeds = run(kBrakeRequest, 20, 1, 1, 28, 24);  // ticks 1..24: phase 0 on tick 12, 24
  EXPECT_EQ(speeds[10], 20);
  EXPECT_EQ(speeds[11], 19);
  EXPECT_EQ(speeds[23], 18);
  EXPECT_EQ(run(kBrakeRequest, -2, 1, 1, 1, 1), (std::vector<int>{0}));
}

TEST_F(RampFixture, EmergencyStopCapsAt15ThenReleases) {
  sys.ticks.arret_urg_state = 1;
  auto capped = run(64, 0, 14, -1, -1, 40);
  EXPECT_EQ(capped.back(), 15);
  for (int v : capped) EXPECT_LE(v, 15);
  EXPECT_EQ(run(-64, -40, -1, -1, -1, 1), (std::vector<int>{-15}));
  sys.ticks.arret_urg_state = 0;
  auto resumed = run(64, 15, 14, -1, -1, 2);
  EXPECT_EQ(resumed, (std::vector<int>{17, 19}));
}

TEST_F(RampFixture, RealSpeedFollowsTheProfile) {
  sys.trains.vmin[4] = 10;
  sys.trains.vmax[4] = 50;
  const int slot = canton_slot(105);
  sys.cantons.num_train[slot] = 4;
  const int cases[][2] = {{1, 10}, {32, 30}, {64, 50}, {-32, -30}, {0, 0}};
  for (auto [vitesse, real] : cases) {
    sys.cantons.Vitesse[slot] = vitesse;
    real_speed_update(sys);
    EXPECT_EQ(sys.cantons.Vit_reel[slot], real) << "Vitesse " << vitesse;
  }
  // A canton without a train keeps its last output until its speed drops to 0.
  sys.cantons.Vitesse[slot] = 40;
  real_speed_update(sys);
  sys.cantons.num_train[slot] = -1;
  sys.cantons.Vitesse[slot] = 64;
  real_speed_update(sys);
  EXPECT_EQ(sys.cantons.Vit_reel[slot], 35);
  sys.cantons.Vitesse[slot] = 0;
  real_speed_update(sys);
  EXPECT_EQ(sys.cantons.Vit_reel[slot], 0);
}

}  // namespace
