#include "turnouts/aig_sequencer.h"

#include <gtest/gtest.h>

#include "tools/sim/recording_host.h"
#include "core/system.h"

namespace {

class AigSequencerTest : public ::testing::Test {
 protected:
  void define(int n) { sys_.aig.AIG_DESCR_INFO[n][AIG_INFO_DEFINED] = 1; }
  void set_slot(int n, int phase, int k, int out, int value) {
    sys_.aig.AIG_DESCR[n][phase].slot[k] = AigSlot{out, value};
  }
  void ticks(int count) {
    for (int k = 0; k < count; ++k) aig_tick(sys_);
  }
  int out(int number) { return sys_.io.out[aig_output_index(number)]; }

  RecordingHost host_;
  System sys_{host_};
};

TEST(AigEffectiveDuration, FromConfiguredTics) {
  const struct {
    int step, tic, expected;
  } cases[] = {
      {AIG_STEP_PREPARE, -1, 2}, {AIG_STEP_PREPARE, 0, 0}, {AIG_STEP_PREPARE, -3, 0},
      {AIG_STEP_PREPARE, 4, 4},  {AIG_STEP_ACT, -1, 2},    {AIG_STEP_ACT, 0, 1},
      {AIG_STEP_ACT, 1, 1},      {AIG_STEP_ACT, -2, 1},    {AIG_STEP_ACT, 3, 3},
      {AIG_STEP_RELEASE, -1, 2}, {AIG_STEP_RELEASE, 0, 0}, {AIG_STEP_RELEASE, 5, 5},
  };
  for (const auto& c : cases)
    EXPECT_EQ(aig_effective_duration(c.step, c.tic), c.expected) << c.step << " " << c.tic;
}

TEST(AigOutputIndex, MapsCardAndIndex) {
  EXPECT_EQ(aig_output_index(0), 0);
  EXPECT_EQ(aig_output_index(112), 92);
  EXPECT_EQ(aig_output_index(379), 319);
  for (int bad : {-1, 80, 99, 180, 400, 1000}) EXPECT_EQ(aig_output_index(bad), -1) << bad;
}

// A zero-length prepare is written and overwritten by the act phase within the same tick.
TEST_F(AigSequencerTest, ZeroLengthPhaseKeepsOnlyOutputsTheNextOneLeaves) {
  define(4);
  set_slot(4, 0, 0, 101, 1);
  set_slot(4, 0, 1, 102, 1);
  sys_.aig.AIG_DESCR[4][0].tic = 0;
  set_slot(4, 1, 0, 102, 0);
  sys_.aig.AIG_DESCR[4][1].tic = 1;
  sys_.aig.AIG_DESCR[4][2].tic = 0;
  ticks(1);
  EXPECT_EQ(out(101), 1);
  EXPECT_EQ(out(102), 0);
  EXPECT_EQ(sys_.aig.pos0_aig[4], 0);
  ticks(1);  // the shortest sequence ends one tick after its selection
  EXPECT_EQ(sys_.aig.pos0_aig[4], 1);
  EXPECT_EQ(sys_.aig.aig_seq_state, AIG_SEQ_IDLE);
}

TEST_F(AigSequencerTest, UndefinedOrPlacedTurnoutsAreLeftAlone) {
  sys_.aig.aig_cmd[1] = 1;  // not defined: never moved
  define(2);
  sys_.aig.aig_cmd[2] = 1;
  sys_.aig.pos1_aig[2] = 1;  // already in position
  set_slot(2, 3, 0, 5, 1);
  ticks(10);
  EXPECT_EQ(sys_.aig.aig_seq_state, AIG_SEQ_IDLE);
  EXPECT_EQ(sys_.aig.aig_seq_current, -1);
  EXPECT_EQ(out(5), 0);
  EXPECT_EQ(sys_.aig.pos0_aig[1] + sys_.aig.pos1_aig[1], 0);
  EXPECT_EQ(sys_.aig.pos1_aig[2], 1);
}

// A command other than 0 or 1 names no direction: the turnout reads as moving but is never
// played, and the others are still served.
TEST_F(AigSequencerTest, CommandWithoutDirectionIsNeverPlayed) {
  define(2);
  define(6);
  sys_.aig.pos0_aig[2] = 1;
  sys_.aig.aig_cmd[2] = 2;
  ticks(1);
  EXPECT_EQ(sys_.aig.pos0_aig[2], 0);
  EXPECT_EQ(sys_.aig.aig_seq_current, 6);
  ticks(20);
  EXPECT_EQ(sys_.aig.pos0_aig[6], 1);
  EXPECT_EQ(sys_.aig.aig_seq_state, AIG_SEQ_IDLE);
  EXPECT_EQ(sys_.aig.aig_seq_current, 6);
  EXPECT_EQ(sys_.aig.pos0_aig[2] + sys_.aig.pos1_aig[2], 0);
}

TEST_F(AigSequencerTest, RestOutputsAreHeldOnlyWhileIdle) {
  sys_.aig.AIG_DESCR_IDLE[0] = AigSlot{210, 0};
  sys_.aig.AIG_DESCR_IDLE[1] = AigSlot{211, 1};
  ticks(1);
  EXPECT_EQ(out(211), 1);
  sys_.io.out[aig_output_index(210)] = 1;
  ticks(1);
  EXPECT_EQ(out(210), 0);

  define(0);
  set_slot(0, 1, 0, 210, 1);  // the act phase drives the rest output
  ticks(3);                   // selection, prepare, first act tick
  EXPECT_EQ(out(210), 1);
  ticks(4);  // the release ends and the rest value comes back in the same tick
  EXPECT_EQ(sys_.aig.pos0_aig[0], 1);
  EXPECT_EQ(out(210), 0);
}

}  // namespace
