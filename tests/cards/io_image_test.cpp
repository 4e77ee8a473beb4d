#include "cards/io_image.h"

#include <gtest/gtest.h>

#include "core/system.h"
#include "runtime/startup.h"
#include "tools/sim/recording_host.h"

namespace {

struct IoImageTest : ::testing::Test {
  void answer(int card, std::initializer_list<std::pair<int, uint8_t>> bytes) {
    auto& a = sys.cardlink.links[static_cast<size_t>(card)].answer;
    a.fill(0);
    a[0] = 0x83;
    for (auto [i, v] : bytes) a[static_cast<size_t>(i)] = v;
    decode_answer(sys, card);
  }
  RecordingHost host;
  System sys{host};
};

TEST_F(IoImageTest, DecodeAnalogueWithInvertedPotentiometer) {
  sys.io.pot_inverted[0] = 1;
  answer(0, {{1, 200}, {2, 200}, {5, 7}});
  EXPECT_EQ(sys.io.can[0], 55);
  EXPECT_EQ(sys.io.can[1], 200);
  EXPECT_EQ(sys.io.can[4], 7);
}

TEST_F(IoImageTest, DecodeMatrixedDirectAndDetections) {
  sys.io.in[2 * kInPerCard + 36] = 1;  // not carried by the answer: left alone
  answer(2, {{16, 0x15}, {24, 0xF8}, {6, 0x81}, {10, 0x80}, {11, 0x01}, {12, 0x80}});
  const int32_t* in = &sys.io.in[2 * kInPerCard];
  EXPECT_EQ((std::array{in[0], in[1], in[2], in[3]}), (std::array<int32_t, 4>{1, 0, 1, 0}));
  EXPECT_EQ(in[32], 0);  // byte 24 bits 4..7 carry nothing
  EXPECT_EQ(in[35], 1);
  EXPECT_EQ(in[36], 1);
  EXPECT_EQ(in[40], 1);
  EXPECT_EQ(in[47], 1);
  EXPECT_EQ(in[41], 0);
  EXPECT_EQ(in[79], 1);
  const int32_t* det = &sys.io.det[2 * kDetPerCard];
  EXPECT_EQ(det[0], 1);
  EXPECT_EQ(det[15], 1);
  EXPECT_EQ(det[7], 0);
  // Other cards are untouched.
  EXPECT_EQ(sys.io.in[0], 0);
  EXPECT_EQ(sys.io.det[0], 0);
}

TEST_F(IoImageTest, ServoRamp) {
  struct Case {
    int setpoint, speed, start;
    std::vector<int> positions;
  };
  const Case cases[] = {
      {600, 30, 512, {542, 572, 600, 600}},
      {100, 0, 512, {512, 512}},
      {500, 5, 512, {507, 502, 500}},
      {0, 2000, 512, {0}},
      {700, -3, 512, {512}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setpoint);
    const size_t servo = 3;  // card 0, servo 3
    sys.io.srv_cmd[servo] = c.setpoint;
    sys.io.srv_cmd[servo + 10] = c.speed;
    sys.io.srv_pos[servo] = c.start;
    for (int expected : c.positions) {
      servo_ramp(sys);
      EXPECT_EQ(sys.io.srv_pos[servo], expected);
    }
  }
}

TEST_F(IoImageTest, ServoRampReachesEveryCard) {
  sys.io.srv_cmd[3 * kSrvCmdPerCard + 4] = 520;
  sys.io.srv_cmd[3 * kSrvCmdPerCard + 14] = 8;
  sys.io.srv_pos[3 * kServoPerCard + 4] = 512;
  servo_ramp(sys);
  EXPECT_EQ(sys.io.srv_pos[3 * kServoPerCard + 4], 520);
}

TEST_F(IoImageTest, ResetGivesStartValues) {
  sys.io.det[5] = 1;
  sys.io.out[200] = 1;
  sys.io.led_cli_man[9] = 1;
  sys.io.srv_cmd[kSrvCmdPerCard + 12] = 40;
  sys.io.leds_shown[2] = 0;
  sys.aig.aig_cmd[63] = 1;
  sys.garage.state_lock[4] = 1;
  sys.logic.var[599] = 3;
  sys.special.sv[20] = 150;
  sys.block.bal_cant_m[10] = 1;
  reset_tables(sys);
  EXPECT_EQ(sys.io.det[5], 0);
  EXPECT_EQ(sys.io.out[200], 0);
  EXPECT_EQ(sys.io.led_cli_man[9], 0);
  for (int card = 0; card < kCards; ++card) {
    for (int i = 0; i < kServoPerCard; ++i) {
      EXPECT_EQ(sys.io.srv_cmd[static_cast<size_t>(card * kSrvCmdPerCard + i)], 512);
      EXPECT_EQ(sys.io.srv_cmd[static_cast<size_t>(card * kSrvCmdPerCard + 10 + i)], 0);
      EXPECT_EQ(sys.io.srv_pos[static_cast<size_t>(card * kServoPerCard + i)], 512);
      EXPECT_EQ(sys.io.srv_man[static_cast<size_t>(card * kServoPerCard + i)], 128);
    }
  }
  EXPECT_EQ(sys.io.leds_shown[2], 1);
  EXPECT_EQ(sys.aig.aig_cmd[63], 0);
  EXPECT_EQ(sys.garage.state_lock[4], 0);
  EXPECT_EQ(sys.logic.var[599], 0);
  EXPECT_EQ(sys.special.sv[20], 0);
  EXPECT_EQ(sys.block.bal_cant_m[10], 0);
}

}  // namespace
