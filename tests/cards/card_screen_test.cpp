// The card test bench: potentiometers driving cantons, manual control by presses, typed
// register values, and what leaving the screen gives back to the bus.
#include "cards/card_screen.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cards/card_exchange.h"
#include "core/screens.h"
#include "core/system.h"
#include "runtime/window_events.h"
#include "support/screen_redraw.h"
#include "tools/sim/recording_host.h"

namespace {

// Points inside the screen's areas (card 1 in view).
constexpr int kOutput5X = 2 + 5 * 18 + 4, kOutputRowY = 75;
constexpr int kCanton0X = 105, kBarY = 400;
constexpr int kCardButton1X = 80, kCardButtonY = 40;
constexpr int kRowY = 617;  // direct-access row 0; row r at + 20 r
constexpr int kAddressDecX = 10, kAddressHexX = 120, kDataDecX = 230, kDataHexX = 340;
constexpr int kServo2X = 705, kServo2Y = 356 + 2 * 22 + 5;

class CardScreen : public ::testing::Test {
 protected:
  RecordingHost host;
  System sys{host};

  void SetUp() override {
    sys.cardlink.serial.card_found = {1, 1, 0, 0};
    window_menu(sys, 939, 0);
    press(kCardButton1X, kCardButtonY);
  }
  void press(int x, int y) { window_button_press(sys, MouseButton::Left, x, y); }
  void rpress(int x, int y) { window_button_press(sys, MouseButton::Right, x, y); }
  void type(const std::string& keys) {
    for (char c : keys) window_key(sys, static_cast<unsigned char>(c));
  }
  int32_t& manual_speed(int i) { return sys.io.canton_man_speed[static_cast<size_t>(16 + i)]; }
  int32_t& manual_flag(int i) { return sys.io.canton_man_flag[static_cast<size_t>(16 + i)]; }
};

TEST_F(CardScreen, PotentiometerDrivesItsCantonOnAnyScreenAndBadOnesAreDropped) {
  EXPECT_EQ(sys.cardscreen.card, 1);
  rpress(kCanton0X, kBarY);      // canton 100 manual
  press(548 + 2 * 30 + 5, 575);  // selects potentiometer 102
  EXPECT_EQ(sys.cardscreen.pot, 102);
  press(kCanton0X, 575);  // associates it with canton 100
  sys.io.can[7] = 200;    // can_102
  window_key(sys, 27);    // another screen
  card_screen_tick(sys);
  EXPECT_EQ(manual_speed(0), 37);
  EXPECT_EQ(manual_flag(0), 1);  // a canton on its knob stays manual
  for (int bad : {105, 402, -7}) {
    sys.cardscreen.canton_pot[17] = bad;
    card_screen_tick(sys);
    EXPECT_EQ(sys.cardscreen.canton_pot[17], -1) << bad;
  }
}

TEST_F(CardScreen, BarPressSetsTheSpeedAndKeysAdjustIt) {
  rpress(kCanton0X, kBarY);
  press(kCanton0X, 290);
  EXPECT_EQ(manual_speed(0), 64);
  press(kCanton0X, kBarY);
  EXPECT_EQ(manual_speed(0), 9);
  EXPECT_EQ(sys.cardscreen.target, 100);
  const std::pair<char, int> keys[] = {{'*', 19}, {'+', 20}, {'-', 19},
                                       {'/', 9},  {'0', 0},  {'/', -10}};
  for (const auto& [key, speed] : keys) {
    window_key(sys, key);
    EXPECT_EQ(manual_speed(0), speed) << key;
  }
  manual_speed(0) = 60;
  type("**");
  EXPECT_EQ(manual_speed(0), 64);
  EXPECT_EQ(sys.screen.screen_mode, kCardScreen);  // keys never switch screens here
  press(kCanton0X + 30, kBarY);                    // a bus canton's bar lets go of the target
  EXPECT_EQ(sys.cardscreen.target, -1);
  window_key(sys, '+');
  EXPECT_EQ(manual_speed(0), 64);
}

TEST_F(CardScreen, TypedValuesGoIntoTheSelectedCellOrAreRefused) {
  struct Case {
    int x, row;
    const char* typed;
    int32_t DirectSlot::*field;
    int value;  // -1: refused
  };
  const Case cases[] = {
      {kDataDecX, 1, "5122", &DirectSlot::data, 122},
      {kAddressHexX, 0, "0fF", &DirectSlot::address, 255},
      {kAddressDecX, 2, "42", &DirectSlot::address, 42},
      {kDataHexX, 3, "a0", &DirectSlot::data, 0xA0},
      {kDataDecX, 0, "256", &DirectSlot::data, -1},
      {kDataDecX, 0, "2a5", &DirectSlot::data, -1},
      {kAddressHexX, 1, "100", &DirectSlot::address, -1},
      {kAddressHexX, 1, "0g1", &DirectSlot::address, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    DirectSlot& slot = sys.cardlink.slots[static_cast<size_t>(5 + c.row)];
    slot.*c.field = 7;
    host.boxes.clear();
    press(c.x, kRowY + 20 * c.row);
    type(c.typed);
    window_key(sys, 13);
    EXPECT_EQ(slot.*c.field, c.value < 0 ? 7 : c.value);
    EXPECT_EQ(sys.cardscreen.buffer, "000");
    if (c.value < 0) {
      ASSERT_EQ(host.boxes.size(), 1u);
      EXPECT_EQ(host.boxes[0].title, "ZIR - Avertissement");
      EXPECT_EQ(host.boxes[0].text, std::string("Valeur '") + (c.typed + strlen(c.typed) - 3) +
                                        "' refusée : taper un nombre de 0 à 255 (00 à FF en "
                                        "hexadécimal).");
    } else {
      EXPECT_TRUE(host.boxes.empty());
    }
  }
}

TEST_F(CardScreen, ServoAndCellSelectionsExcludeEachOther) {
  press(kDataDecX, kRowY);
  press(kServo2X, kServo2Y);
  EXPECT_EQ(sys.cardscreen.cell, CardCell::None);
  type("200\r");
  EXPECT_EQ(sys.io.srv_man[7], 200);
  EXPECT_EQ(sys.cardlink.slots[5].data, 0);
  press(kDataDecX, kRowY);
  EXPECT_EQ(sys.cardscreen.servo, -1);
  type("33\r");
  EXPECT_EQ(sys.cardlink.slots[5].data, 33);
  EXPECT_EQ(sys.io.srv_man[7], 200);
}

TEST_F(CardScreen, ManualOutputStartsFromTheBusThenOverridesIt) {
  sys.io.out[85] = 1;  // out_105 on through the bus
  rpress(kOutput5X, kOutputRowY);
  build_command(sys, 1);
  EXPECT_EQ((sys.cardlink.links[1].command[20] >> 5) & 1, 1);
  press(kOutput5X, kOutputRowY);
  build_command(sys, 1);
  EXPECT_EQ((sys.cardlink.links[1].command[20] >> 5) & 1, 0);
  EXPECT_EQ(sys.io.out[85], 1);
}

TEST_F(CardScreen, DirectAccessActions) {
  DirectSlot& slot = sys.cardlink.slots[5 + 2];
  const std::pair<int, char> presses[] = {{565, 'w'}, {590, 'r'}, {612, 'a'}, {612, 'x'}};
  for (const auto& [x, state] : presses) {
    press(x, kRowY + 40);
    EXPECT_EQ(slot.state, state) << x;
  }
}

TEST_F(CardScreen, LeavingGivesFixedSpeedsBackToTheBus) {
  rpress(kCanton0X, kBarY);
  rpress(kCanton0X + 26, kBarY);
  sys.cardscreen.canton_pot[17] = 101;
  press(kCanton0X, kBarY);
  sys.cantons.Vit_reel[16] = 5;
  window_key(sys, 27);
  EXPECT_EQ(manual_flag(0), 0);
  EXPECT_EQ(manual_flag(1), 1);
  EXPECT_EQ(sys.cardscreen.target, -1);
  build_command(sys, 1);
  EXPECT_EQ(sys.cardlink.links[1].command[2], 5);
  // Leaving by the bus: the per-tick work notices.
  window_menu(sys, 939, 0);
  card_screen_tick(sys);
  rpress(kCanton0X, kBarY);
  sys.screen.screen_mode = 3;
  card_screen_tick(sys);
  EXPECT_EQ(manual_flag(0), 0);
}

TEST_F(CardScreen, CloseBoxComesFirstAndRedrawEqualsPaint) {
  sys.screen.last_panel = 4;
  press(790, 36);
  EXPECT_EQ(sys.screen.screen_mode, 4);
  window_menu(sys, 939, 0);
  expect_redraw_equals_paint(sys, host, [&] {
    sys.io.can[6] = 90;
    sys.io.det[18] = 1;
    sys.io.in[100] = 1;
    sys.cantons.Vit_reel[19] = -20;
    sys.ticks.tick = 77;
    sys.cardlink.serial.error_counter = 3;
  });
}

}  // namespace
