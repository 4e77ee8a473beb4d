#include <gtest/gtest.h>

#include "cards/card_exchange.h"
#include "core/system.h"
#include "tools/sim/recording_host.h"

namespace {

struct FrameTest : ::testing::Test {
  const std::array<uint8_t, kCommandBytes>& build(int card) {
    build_command(sys, card);
    return sys.cardlink.links[static_cast<size_t>(card)].command;
  }
  static bool bit(const std::array<uint8_t, kCommandBytes>& f, int byte, int b) {
    return (f[static_cast<size_t>(byte)] >> b) & 1;
  }
  RecordingHost host;
  System sys{host};
};

TEST_F(FrameTest, HeaderAndTrailerNameTheCard) {
  for (int card = 0; card < kCards; ++card) {
    const auto& f = build(card);
    EXPECT_EQ(f[0], 16 * card + 1);
    EXPECT_EQ(f[1], 0x08);
    EXPECT_EQ(f[51], 0x12);
    EXPECT_EQ(f[52], 0x34);
    EXPECT_EQ(f[53], 0x56);
    EXPECT_EQ(f[54], 0x00);
  }
}

TEST_F(FrameTest, CantonSpeedsAndDirections) {
  struct Case {
    int canton;  // index on card 1
    int speed;
    int inverted;
    int speed_byte;
    int dir_byte;
    int dir_bit;
    bool forward;
  };
  const Case cases[] = {
      {0, -40, 0, 2, 18, 0, false}, {1, -40, 1, 3, 18, 1, true},   {7, 0, 0, 9, 18, 7, true},
      {8, 12, 0, 10, 19, 0, true},  {15, 64, 1, 17, 19, 7, false},
  };
  for (const Case& c : cases) {
    sys.cantons.Vit_reel[static_cast<size_t>(16 + c.canton)] = c.speed;
    sys.io.canton_inverted[static_cast<size_t>(16 + c.canton)] = c.inverted;
  }
  const auto& f = build(1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.canton);
    EXPECT_EQ(f[static_cast<size_t>(c.speed_byte)], std::abs(c.speed));
    EXPECT_EQ(bit(f, c.dir_byte, c.dir_bit), c.forward);
  }
  // The emergency stop zeroes every speed byte but leaves the directions alone.
  sys.ticks.arret_urg_state = 1;
  const auto& stopped = build(1);
  for (int i = 2; i < 18; ++i) EXPECT_EQ(stopped[static_cast<size_t>(i)], 0) << i;
  for (const Case& c : cases) EXPECT_EQ(bit(stopped, c.dir_byte, c.dir_bit), c.forward);
}

TEST_F(FrameTest, OutputsSkip24To39) {
  for (int i = 0; i < kOutPerCard; ++i) sys.io.out[static_cast<size_t>(kOutPerCard * 3 + i)] = 1;
  const auto& all = build(3);
  for (int b = 20; b < 28; ++b) EXPECT_EQ(all[static_cast<size_t>(b)], 0xFF) << b;
  sys.io.out.fill(0);
  struct Case {
    int output, byte, bit;
  };
  const Case cases[] = {{0, 20, 0}, {9, 21, 1}, {23, 22, 7}, {40, 23, 0}, {63, 25, 7}, {79, 27, 7}};
  for (const Case& c : cases) {
    sys.io.out.fill(0);
    sys.io.out[static_cast<size_t>(kOutPerCard * 3 + c.output)] = 1;
    const auto& f = build(3);
    for (int b = 20; b < 28; ++b) {
      EXPECT_EQ(f[static_cast<size_t>(b)], b == c.byte ? 1 << c.bit : 0) << c.output << " " << b;
    }
  }
  for (int i = 24; i < 40; ++i) sys.io.out[static_cast<size_t>(kOutPerCard * 3 + i)] = 1;
  sys.io.out[static_cast<size_t>(kOutPerCard * 3 + 79)] = 0;
  const auto& none = build(3);
  for (int b = 20; b < 28; ++b) EXPECT_EQ(none[static_cast<size_t>(b)], 0) << b;
}

TEST_F(FrameTest, LedGroupsMapEachLed) {
  struct Case {
    int led, byte, bit;  // byte within the six-byte group
  };
  const Case cases[] = {{0, 0, 0},  {7, 0, 7},  {8, 2, 0},  {11, 2, 3}, {12, 1, 0}, {19, 1, 7},
                        {20, 2, 4}, {23, 2, 7}, {24, 3, 0}, {32, 5, 0}, {36, 4, 0}, {47, 5, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.led);
    sys.io.led.fill(0);
    sys.io.led_cli.fill(1);
    sys.io.led_phase.fill(0);
    const size_t slot = static_cast<size_t>(kLedPerCard + c.led);  // card 1
    sys.io.led[slot] = 1;
    sys.io.led_cli[slot] = 0;
    sys.io.led_phase[slot] = 1;
    const auto& f = build(1);
    for (int b = 0; b < 6; ++b) {
      const int expected = b == c.byte ? 1 << c.bit : 0;
      EXPECT_EQ(f[static_cast<size_t>(28 + b)], expected) << "lit " << b;
      EXPECT_EQ(f[static_cast<size_t>(34 + b)], expected) << "steady " << b;
      EXPECT_EQ(f[static_cast<size_t>(40 + b)], expected) << "phase " << b;
    }
  }
}

TEST_F(FrameTest, Led10LitBlinkingNormalPhase) {
  sys.io.led[10] = 1;
  sys.io.led_cli[10] = 1;
  const auto& f = build(0);
  EXPECT_TRUE(bit(f, 30, 2));
  EXPECT_FALSE(bit(f, 36, 2));
  EXPECT_FALSE(bit(f, 42, 2));
  EXPECT_EQ(f[34], 0xFF);  // every other LED is steady
}

TEST_F(FrameTest, ServosSendPositionOverFour) {
  sys.io.srv_pos[5 + 2] = 1023;  // card 1, servo 2
  sys.io.srv_pos[5 + 0] = 512;
  sys.io.srv_pos[5 + 4] = 3;
  const auto& f = build(1);
  EXPECT_EQ(f[48], 255);
  EXPECT_EQ(f[46], 128);
  EXPECT_EQ(f[50], 0);
}

TEST_F(FrameTest, ManualValuesReplaceTheBus) {
  sys.cantons.Vit_reel[3] = 30;
  sys.io.canton_man_flag[3] = 1;
  sys.io.canton_man_speed[3] = -10;
  sys.io.out[5] = 1;
  sys.io.out_man_flag[5] = 1;
  sys.io.out_man[5] = 0;
  sys.io.out_man_flag[6] = 1;
  sys.io.out_man[6] = 1;
  sys.io.led[1] = 1;
  sys.io.led_man_flag[1] = 1;
  sys.io.led_cli_man[1] = 1;
  sys.io.led_phase_man[1] = 1;
  sys.io.srv_pos[1] = 1000;
  sys.io.srv_man_flag[1] = 1;
  sys.io.srv_man[1] = 17;
  const auto& f = build(0);
  EXPECT_EQ(f[5], 10);
  EXPECT_FALSE(bit(f, 18, 3));
  EXPECT_EQ(f[20], 1 << 6);
  EXPECT_FALSE(bit(f, 28, 1));  // the manual LED is off, blinking, phase inverted
  EXPECT_FALSE(bit(f, 34, 1));
  EXPECT_TRUE(bit(f, 40, 1));
  EXPECT_EQ(f[47], 17);
}

}  // namespace
