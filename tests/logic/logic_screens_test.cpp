// The truth-table, pulse and variables screens, and the servo screen: what they show of live
// values, where, and what their presses do.
#include "logic/logic_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "core/screens.h"
#include "runtime/window_events.h"
#include "support/drawn_texts.h"
#include "support/screen_redraw.h"
#include "tdv_fixture.h"

namespace {

const char* const kProgram =
    "tdv: init: set var_3 clr var_4 in: in_0 var_455 out: out_0 var_7\n"
    "eq: 1 x 1 0\n"
    "tdv: on: 0 in: in_0 out: out_1\n"
    "eq: 1 1\n"
    "tdv: in: in_1 out: out_2\n"
    "eq: 1 1\n"
    "pulse5:20,10,5,10,20 var_20 out_3\n";

struct LogicScreens : ::testing::Test, TdvFixture {
  LogicScreens() {
    compile(kProgram);
    sys.screen.record_texts = true;
  }
  void show(int screen) {
    sys.screen.screen_mode = screen;
    window_paint(sys);
  }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    return drawn_text_at(sys, x, y, colour);
  }
  bool drew(const std::string& text) const { return drew_text(sys, text); }
  void press(int x, int y) { window_button_press(sys, MouseButton::Left, x, y); }
  void rpress(int x, int y) { window_button_press(sys, MouseButton::Right, x, y); }
};

TEST_F(LogicScreens, VariablesByColumnWithColoursAndTheNumberSwitch) {
  set("var_455", 3);
  set("var_12", -7);
  sys.special.sv[20] = 15;
  sys.special.sv[35] = 4;
  struct Case {
    int page, x, y;
    const char* number;
    int colour;
    const char* value;  // "" when the value cell stays empty
  };
  const Case cases[] = {
      {26, 7 * 99 + 2, 32 + 5 * 16, " 455", 11, "    3"},
      {25, 0 * 99 + 2, 32 + 12 * 16, "  12", 13, "   -7"},
      {25, 0 * 99 + 2, 32 + 13 * 16, "  13", 13, ""},
      {27, 4 * 99 + 2, 32 + 20 * 16, "  20", 5, "   15"},
      {27, 5 * 99 + 2, 32 + 5 * 16, "  35", 5, "    4"},
      {27, 3 * 99 + 2, 32 + 29 * 16, " 599", 11, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    show(c.page);
    int colour = -1;
    EXPECT_EQ(text_at(c.x, c.y, &colour), c.number);
    EXPECT_EQ(colour, c.colour);
    EXPECT_EQ(text_at(c.x + 44, c.y), c.value);
  }
  show(26);
  EXPECT_TRUE(
      drew("AFFICHE LES VARIABLES DE DEBUG DES CANTONS EN MARRON 'var_450' à 'var_599' "
           "(Voir Doc ZIR)"));
  EXPECT_FALSE(drew("AFFICHE LES VARIABLES SPECIALES 'special_var_xxx' EN VIOLET"));
  press(300, 300);
  window_paint(sys);
  EXPECT_EQ(text_at(7 * 99 + 2, 32 + 5 * 16), "5855");
  rpress(300, 300);  // 27, the switch kept
  window_paint(sys);
  EXPECT_EQ(text_at(4 * 99 + 2, 32 + 20 * 16), "9120");
  press(50, 525);  // the first legend box turns the page
  EXPECT_EQ(sys.screen.screen_mode, 25);
  EXPECT_EQ(sys.logicscreen.internal, 1);
}

TEST_F(LogicScreens, TruthTableListsOffTablesAndSelection) {
  set("var_455", 3);
  show(31);
  EXPECT_EQ(text_at(2, 28), "Numéro de la table en cours = 0, table à 'ON' ");
  EXPECT_EQ(text_at(2, 70), "var_3 = 1");
  EXPECT_EQ(text_at(2, 90), "var_4 = 0");
  EXPECT_EQ(text_at(270, 90), "var_455 = 3");
  EXPECT_EQ(text_at(540, 90), "var_7 = 0");
  EXPECT_TRUE(drew("Nombre de tables valides = 3  en fonction = 2"));
  int colour = -1;
  EXPECT_EQ(text_at(65, 655, &colour), " 1");
  EXPECT_EQ(colour, 4);
  press(70, 660);  // the off table's box
  window_paint(sys);
  EXPECT_EQ(text_at(2, 28),
            "Numéro de la table en cours = 1, !!! table à 'OFF' !!! table à 'OFF'!!!");
  EXPECT_EQ(text_at(270, 70), "");
  press(160, 660);  // no table 4: nothing changes
  EXPECT_EQ(sys.logicscreen.table, 1);
  const int order[] = {2, 0, 1};  // right presses wrap where the next table is missing
  for (int t : order) {
    rpress(400, 300);
    EXPECT_EQ(sys.logicscreen.table, t);
  }
  window_key(sys, 27);
  sys.screen.screen_mode = 31;
  EXPECT_EQ(sys.logicscreen.table, 1);
}

TEST_F(LogicScreens, PressOnADefinedPulseFiresIt) {
  show(48);
  int colour = -1;
  EXPECT_EQ(text_at(4, 32 + 5 * 16 + 1, &colour), "  5");
  EXPECT_EQ(colour, 13);
  EXPECT_EQ(text_at(44 + 68 + 2, 32 + 5 * 16 + 1), " 1.9");
  EXPECT_EQ(text_at(44 + 6 * 68 + 2, 32 + 5 * 16 + 1), "var_20    out_3");
  text_at(4, 32 + 6 * 16 + 1, &colour);
  EXPECT_EQ(colour, 18);
  press(300, 32 + 6 * 16 + 4);
  EXPECT_EQ(sys.logic.pulse_cmd[6], 0);
  press(300, 32 + 5 * 16 + 4);
  EXPECT_EQ(sys.logic.pulse_cmd[5], 1);
}

TEST_F(LogicScreens, ServoTimesAndCardsNotFound) {
  sys.cardlink.serial.card_found = {0, 1, 0, 0};
  sys.io.srv_cmd[10] = 10;         // servo 0
  sys.io.srv_cmd[11] = -3;         // servo 1: held still
  sys.io.srv_cmd[15 + 10] = 1023;  // servo 100
  show(30);
  struct Case {
    int row;
    const char* time;
    int number_colour;
  };
  const Case cases[] = {
      {0, " 9.7", 13}, {1, "-", 13}, {2, "-", 13}, {5, " 0.1", 13}, {10, "-", 18}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    const int y = 32 + c.row * 16 + 1;
    int colour = -1;
    text_at(77, y, &colour);
    EXPECT_EQ(colour, c.number_colour);
    EXPECT_EQ(text_at(75 + 70 + 60 + 60 + 70 + 60 + 2, y), c.time);
  }
}

TEST_F(LogicScreens, RedrawEqualsPaintOnEveryScreen) {
  for (int screen : {25, 26, 27, 30, 31, 48}) {
    SCOPED_TRACE(screen);
    sys.screen.screen_mode = screen;
    int step = screen;
    expect_redraw_equals_paint(sys, host, [&] {
      for (int i = 0; i < 600; i += 7) sys.logic.var[static_cast<size_t>(i)] = step + i;
      for (int i = 0; i < 100; i += 3) sys.special.sv[static_cast<size_t>(i)] = step - i;
      sys.io.srv_cmd[2] = 40 * step;
      sys.io.srv_pos[3] = 20 * step;
      sys.io.srv_cmd[12] = step;
      sys.tdv.pulse.state[5] = step % 6;
      sys.io.in[0] = step % 2;
    });
  }
}

}  // namespace
