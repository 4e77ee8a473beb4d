// The turnout screen: the rows and their yellow ground, the clicks on "Cmd" and "Réservé",
// the phase durations of turnout 63, and paging.
#include "turnouts/aig_screen.h"

#include <gtest/gtest.h>

#include <string>

#include "core/screens.h"
#include "core/var_bus.h"
#include "runtime/window_events.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"
#include "turnouts/aig_config.h"
#include "turnouts/aig_sequencer.h"

namespace {

struct AigScreen : ::testing::Test {
  TestSystem t;
  System& sys = t.sys;
  AigTable& aig = t.sys.aig;

  explicit AigScreen(const char* section =
                         "aig1: prep0: out3=1\naig2: go1: out4=1\n"
                         "aig33: go0: out5=1\ndefault_tic: 2,3,2,2,3,2\n") {
    t.dir.write("config.txt", std::string("#general\n[\n]\n#aig\n[\n") + section + "]\n");
    read_aig_section(sys);
    sys.screen.record_texts = true;
    sys.screen.screen_mode = 22;
  }
  void paint() { window_paint(sys); }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    for (const DrawnText& d : sys.screen.drawn_texts) {
      if (d.x != x || d.y != y) continue;
      if (colour) *colour = d.colour;
      return d.text;
    }
    return "";
  }
  bool drew(const std::string& text) const {
    for (const DrawnText& d : sys.screen.drawn_texts)
      if (d.text == text) return true;
    return false;
  }
  static int row_y(int row) { return 36 + 18 * row; }
  void click(int x, int row) { window_button_press(sys, MouseButton::Left, x, row_y(row) + 5); }
  Rgb ground(int row) const { return t.host.frame.surface()->pixel(2, row_y(row) + 9); }
  void settle() {
    for (int k = 0; k < 40; ++k) aig_tick(sys);
  }
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kYellow{250, 250, 0};
constexpr int kCmdX = 90;
constexpr int kReservedX = 280;

TEST_F(AigScreen, RowsShowDefinedTurnoutsAndTheirYellowGround) {
  aig.aig_cmd[2] = 1;
  settle();
  aig.aig_cmd[1] = 1;  // now waiting for the sequencer
  aig.aig_reserved[2] = 1;
  paint();
  int colour = -1;
  EXPECT_EQ(text_at(2, row_y(2) + 1, &colour), "   2");
  EXPECT_EQ(colour, 13);
  EXPECT_EQ(text_at(70, row_y(2) + 1), "1");  // command
  EXPECT_EQ(text_at(130, row_y(2) + 1), "");  // pos0 is 0: blank
  EXPECT_EQ(text_at(190, row_y(2) + 1), "1");
  EXPECT_EQ(text_at(250, row_y(2) + 1), "1");
  EXPECT_EQ(text_at(70, row_y(0) + 1), "");  // undefined: only the number, in grey
  EXPECT_EQ(text_at(2, row_y(0) + 1, &colour), "   0");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(ground(0), kWhite);   // undefined, command 0
  EXPECT_EQ(ground(1), kYellow);  // defined, not in position
  EXPECT_EQ(ground(2), kWhite);   // in position
}

// An undefined turnout thrown here turns yellow but is never moved.
TEST_F(AigScreen, CmdOnAnUndefinedTurnout) {
  settle();
  paint();
  click(kCmdX, 5);
  EXPECT_EQ(aig.aig_cmd[5], 1);
  settle();
  EXPECT_EQ(aig.pos0_aig[5], 0);
  EXPECT_EQ(aig.pos1_aig[5], 0);
  paint();
  EXPECT_EQ(ground(5), kYellow);
  click(kCmdX, 5);
  paint();
  EXPECT_EQ(ground(5), kWhite);
}

// Reserved from here, the bus refuses to throw it; the screen still throws it, and "Cmd"
// writes 0 over any other value.
TEST_F(AigScreen, ReservedTurnoutRefusedByTheBusYetThrownHere) {
  settle();
  paint();
  click(kReservedX, 1);
  EXPECT_EQ(aig.aig_reserved[1], 1);
  EXPECT_EQ(var_write(sys, 5001, 1), -1);
  EXPECT_EQ(aig.aig_cmd[1], 0);
  click(kCmdX, 1);
  EXPECT_EQ(aig.aig_cmd[1], 1);
  settle();
  EXPECT_EQ(aig.pos1_aig[1], 1);
  aig.aig_cmd[1] = 7;
  click(kCmdX, 1);
  EXPECT_EQ(aig.aig_cmd[1], 0);
  click(kReservedX, 1);
  EXPECT_EQ(aig.aig_reserved[1], 0);
  click(30, 1);      // the number column does nothing
  click(kCmdX, 31);  // below the list
  EXPECT_EQ(aig.aig_cmd[1], 0);
}

TEST_F(AigScreen, DurationsOfTurnout63) {
  paint();
  EXPECT_TRUE(drew("    default_tic : 2,3,2,2,3,2"));
  EXPECT_TRUE(drew("Durée de la commande de préparation prep0 = 190 ms"));
  EXPECT_TRUE(drew("Durée de la commande d'action       go0   = 285 ms"));
  EXPECT_TRUE(drew("Durée de la commande de libération  libe1 = 190 ms"));
  EXPECT_TRUE(drew("AIGAUTO est : ACTIF"));
  EXPECT_TRUE(drew("Mémorisation position aiguillages est : PAS ACTIF"));
}

struct AigScreenUnset : AigScreen {
  AigScreenUnset() : AigScreen("aig63: prep0: tic=0 go0: tic=0 lib0: tic=12\n") {}
};

// Unset phases last two tics, an act phase at least one, a prepare phase may last none.
TEST_F(AigScreenUnset, DurationsFollowTheSequencer) {
  paint();
  EXPECT_TRUE(drew("    default_tic : 0,0,12,-1,-1,-1"));
  EXPECT_TRUE(drew("Durée de la commande de préparation prep0 =   0 ms"));
  EXPECT_TRUE(drew("Durée de la commande d'action       go0   =  95 ms"));
  EXPECT_TRUE(drew("Durée de la commande de libération  libe0 = 1140 ms"));
  EXPECT_TRUE(drew("Durée de la commande d'action       go1   = 190 ms"));
}

TEST_F(AigScreen, RedrawEqualsPaint) {
  settle();
  expect_redraw_equals_paint(sys, t.host, [&] {
    aig.aig_cmd[2] = 1;
    aig.aig_reserved[33] = 1;
    aig.aig_cmd[7] = 1;
  });
  sys.screen.screen_mode = 23;
  expect_redraw_equals_paint(sys, t.host, [&] { aig.aig_cmd[33] = 1; });
}

// Page 2 lists turnouts 30 to 59; 60-63 have no row.
TEST_F(AigScreen, PagesOfThirtyTurnouts) {
  window_button_press(sys, MouseButton::Right, 400, 300);
  EXPECT_EQ(sys.screen.screen_mode, 23);
  paint();
  EXPECT_EQ(text_at(2, row_y(0) + 1), "  30");
  EXPECT_EQ(text_at(2, row_y(29) + 1), "  59");
  EXPECT_FALSE(drew("  60"));
  click(kCmdX, 3);
  EXPECT_EQ(aig.aig_cmd[33], 1);
  window_button_press(sys, MouseButton::Left, 50, 585);  // the legend box
  EXPECT_EQ(sys.screen.screen_mode, 22);
}

}  // namespace
