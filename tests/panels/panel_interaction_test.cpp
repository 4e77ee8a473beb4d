#include "panels/panel_interaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/screens.h"
#include "core/surface.h"
#include "core/var_bus.h"
#include "panels/panel_file.h"
#include "panels/panel_render.h"
#include "runtime/window_events.h"
#include "support/temp_dir.h"

namespace {

constexpr int G = kSidingCanton;  // G + g names siding g

// Panel 0 in view, no overlay; blocks are put in cells and worked through the window's mouse
// events, as the operator does.
class PanelRunTest : public ::testing::Test {
 protected:
  PanelRunTest() {
    load_panels(sys(), kPanelFile);
    sys().general.relief = 0;
  }
  System& sys() { return t_.sys; }
  TcoCell& put(int x, int y, int family, int variant) {
    TcoCell& c = sys().panels.cell(0, x, y);
    c.f[CELL_FAMILY] = family;
    c.f[CELL_VARIANT] = variant;
    return c;
  }
  TcoCell& lamp(int x, int y, int cant) {
    TcoCell& c = put(x, y, FAMILY_EQUIPMENT, 0);
    c.f[CELL_CANT] = cant;
    return c;
  }
  void press(int x, int y) { window_button_press(sys(), MouseButton::Left, x, y); }
  void release(int x, int y) { window_button_release(sys(), MouseButton::Left, x, y); }
  void click(int x, int y) {
    press(x, y);
    release(x, y);
  }
  // Press in one cell, release in another (cell coordinates, at the cells' centres).
  void drag(int x1, int y1, int x2, int y2) {
    press(x1 * 40 + 20, y1 * 40 + 20);
    release(x2 * 40 + 20, y2 * 40 + 20);
  }
  // A canton with its detection and the train tracking gave it.
  void canton(int number, int train, bool manual, int det = 1) {
    const int s = canton_slot(number);
    sys().io.det[s] = det;
    sys().cantons.num_train[s] = train;
    sys().cantons.prev_num_train[s] = train;
    sys().cantons.ResvMANU[s] = manual ? 1 : 0;
    if (train >= 0) {
      sys().trains.en[train] = 1;
      sys().trains.mode[train] = "SEL";
    }
  }
  int var(int n) { return var_read(sys(), n); }
  const PanelAction& action() { return sys().panels.action; }
  int countdown() { return sys().ticks.panel_countdown[kSelectionCountdown]; }
  int result_countdown() { return sys().ticks.panel_countdown[kResultCountdown]; }
  TestSystem t_;
};

// ---- Left press: one block at a time ---------------------------------------------------------

struct PressCase {
  const char* name;
  int family, variant;
  std::function<void(System&, TcoCell&)> setup;
  int dx, dy;  // where in the cell
  std::function<void(System&, const TcoCell&)> check;
};

constexpr int kVar = 5410;  // var_10

int srv_cmd(System& s, int card, int k) {
  return s.io.srv_cmd[card * kSrvCmdPerCard + k];
}

const PressCase kPressCases[] = {
    {"switch reading 5 goes to 0", 2, 1,
     [](System& s, TcoCell& c) { c.f[CELL_V1] = kVar, s.logic.var[10] = 5; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.logic.var[10], 0); }},
    {"switch reading 0 goes to 1", 2, 1, [](System&, TcoCell& c) { c.f[CELL_V1] = kVar; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.logic.var[10], 1); }},
    {"servo step at 1020 plus 10 stops at 1023, speed from OPT", 2, 8,
     [](System& s, TcoCell& c) {
       c.f[CELL_V1] = 8102, c.f[CELL_P1] = 10, c.f[CELL_SENS] = 0, c.f[CELL_OPT] = 10;
       s.io.srv_cmd[1 * kSrvCmdPerCard + 2] = 1020;
     },
     20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(srv_cmd(s, 1, 2), 1023);
       EXPECT_EQ(srv_cmd(s, 1, 12), 972 / 10 + 1);
     }},
    {"servo step at 5 minus 10 stops at 0, OPT -1 the slowest", 2, 8,
     [](System& s, TcoCell& c) {
       c.f[CELL_V1] = 8000, c.f[CELL_P1] = 10, c.f[CELL_SENS] = 1;
       s.io.srv_cmd[0] = 5;
     },
     20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(srv_cmd(s, 0, 0), 0);
       EXPECT_EQ(srv_cmd(s, 0, 10), 1);
     }},
    {"servo go-to button, OPT 0 the fastest", 2, 8,
     [](System&, TcoCell& c) { c.f[CELL_V1] = 8001, c.f[CELL_P2] = 300, c.f[CELL_OPT] = 0; }, 20,
     20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(srv_cmd(s, 0, 1), 300);
       EXPECT_EQ(srv_cmd(s, 0, 11), 1023);
     }},
    {"servo two-position button at its first position goes to the second", 2, 8,
     [](System& s, TcoCell& c) {
       c.f[CELL_V1] = 8003, c.f[CELL_P1] = 100, c.f[CELL_P2] = 900;
       s.io.srv_cmd[3] = 100;
     },
     20, 20, [](System& s, const TcoCell&) { EXPECT_EQ(srv_cmd(s, 0, 3), 900); }},
    {"servo button on a speed variable does nothing", 2, 8,
     [](System& s, TcoCell& c) {
       c.f[CELL_V1] = 8010, c.f[CELL_P2] = 300;
       s.io.srv_cmd[10] = 7;
     },
     20, 20, [](System& s, const TcoCell&) { EXPECT_EQ(srv_cmd(s, 0, 10), 7); }},
    {"push button sets V1 and V2, clears V3", 2, 0,
     [](System& s, TcoCell& c) {
       c.f[CELL_V1] = 5410, c.f[CELL_V1 + 1] = 5411, c.f[CELL_V1 + 2] = 5412;
       s.logic.var[12] = 1;
     },
     20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(s.logic.var[11], 1);
       EXPECT_EQ(s.logic.var[12], 0);
     }},
    {"turnout flips", 1, 0, [](System&, TcoCell& c) { c.f[CELL_P1] = 7; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.aig.aig_cmd[7], 1); }},
    {"turnout locked by a route stays", 1, 6,
     [](System& s, TcoCell& c) { c.f[CELL_P1] = 7, s.aig.aig_reserved[7] = 1; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.aig.aig_cmd[7], 0); }},
    {"three-way turnout at (1, 1) goes to (0, 0)", 1, 2,
     [](System& s, TcoCell& c) {
       c.f[CELL_P1] = 4, c.f[CELL_P2] = 5;
       s.aig.aig_cmd[4] = s.aig.aig_cmd[5] = 1;
     },
     20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(s.aig.aig_cmd[4], 0);
       EXPECT_EQ(s.aig.aig_cmd[5], 0);
     }},
    {"three-way turnout at (1, 0) goes to (0, 1)", 1, 5,
     [](System& s, TcoCell& c) {
       c.f[CELL_P1] = 4, c.f[CELL_P2] = 5;
       s.aig.aig_cmd[4] = 1;
     },
     20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(s.aig.aig_cmd[4], 0);
       EXPECT_EQ(s.aig.aig_cmd[5], 1);
     }},
    {"route button 3 px from its edge only unlocks", 2, 2,
     [](System&, TcoCell& c) { c.f[CELL_V1] = kVar, c.f[CELL_OPT] = 1; }, 3, 20,
     [](System& s, const TcoCell& c) {
       EXPECT_EQ(c.f[CELL_OPT], 2);
       EXPECT_EQ(s.logic.var[10], 0);
     }},
    {"route button edge locks a route never locked", 2, 2,
     [](System&, TcoCell& c) { c.f[CELL_V1] = kVar; }, 36, 20,
     [](System&, const TcoCell& c) { EXPECT_EQ(c.f[CELL_OPT], 2); }},
    {"route button middle starts the route", 2, 2,
     [](System&, TcoCell& c) { c.f[CELL_V1] = kVar, c.f[CELL_OPT] = 2; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.logic.var[10], 1); }},
    {"locked route button does not start", 2, 2,
     [](System&, TcoCell& c) { c.f[CELL_V1] = kVar, c.f[CELL_OPT] = 1; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.logic.var[10], 0); }},
    {"screen jump 24 shows the card screen", 2, 7, [](System&, TcoCell& c) { c.f[CELL_OPT] = 24; },
     20, 20, [](System& s, const TcoCell&) { EXPECT_EQ(s.screen.screen_mode, 24); }},
    {"screen jump 60 changes nothing", 2, 7, [](System&, TcoCell& c) { c.f[CELL_OPT] = 60; }, 20,
     20, [](System& s, const TcoCell&) { EXPECT_EQ(s.screen.screen_mode, 0); }},
    {"clock starts", 3, 8, [](System&, TcoCell&) {}, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.clock.running, 1); }},
    {"imposed direction, right half, S+ 0: forward", 3, 5,
     [](System&, TcoCell& c) { c.f[CELL_CANT] = 105, c.f[CELL_SENS] = 0; }, 30, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.cantons.sens_perm[canton_slot(105)], 2); }},
    {"imposed direction, left half, S+ 0: backward", 3, 5,
     [](System&, TcoCell& c) { c.f[CELL_CANT] = 105, c.f[CELL_SENS] = 0; }, 10, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.cantons.sens_perm[canton_slot(105)], 1); }},
    {"imposed direction, vertical, top half, S+ 1: backward", 3, 16,
     [](System&, TcoCell& c) { c.f[CELL_CANT] = 105, c.f[CELL_SENS] = 1; }, 20, 5,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.cantons.sens_perm[canton_slot(105)], 1); }},
    {"imposed direction naming no canton", 3, 5,
     [](System&, TcoCell& c) { c.f[CELL_CANT] = 125, c.f[CELL_SENS] = 0; }, 30, 20,
     [](System& s, const TcoCell&) {
       for (int p : s.cantons.sens_perm) EXPECT_EQ(p, 3);
     }},
    {"canton information on a siding isolates it", 3, 13,
     [](System&, TcoCell& c) { c.f[CELL_CANT] = G + 4; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.garage.cmd_lock[4], 1); }},
    {"canton information on a siding a movement holds", 3, 2,
     [](System& s, TcoCell& c) { c.f[CELL_CANT] = G + 4, s.garage.res_auto[4] = 1; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.garage.cmd_lock[4], 0); }},
    {"emergency stop block", 2, 10, [](System&, TcoCell& c) { c.f[CELL_OPT] = 4; }, 20, 20,
     [](System& s, const TcoCell&) { EXPECT_EQ(s.ticks.arret_urg_state, 1); }},
    {"block 56 flips both inhibitions", 2, 10,
     [](System& s, TcoCell& c) { c.f[CELL_OPT] = 56, s.block.halt_inhibit = 1; }, 20, 20,
     [](System& s, const TcoCell&) {
       EXPECT_EQ(s.block.halt_inhibit, 0);
       EXPECT_EQ(s.block.block_inhibit, 1);
     }},
};

TEST_F(PanelRunTest, EachBlockDoesItsPressAction) {
  for (const PressCase& pc : kPressCases) {
    SCOPED_TRACE(pc.name);
    TestSystem fresh;
    System& s = fresh.sys;
    load_panels(s, kPanelFile);
    TcoCell& c = s.panels.cell(0, 2, 3);
    c.f[CELL_FAMILY] = pc.family;
    c.f[CELL_VARIANT] = pc.variant;
    pc.setup(s, c);
    window_button_press(s, MouseButton::Left, 80 + pc.dx, 120 + pc.dy);
    window_button_release(s, MouseButton::Left, 80 + pc.dx, 120 + pc.dy);
    pc.check(s, c);
  }
}

TEST_F(PanelRunTest, NegativeCoordinatesHitNoCell) {
  put(0, 0, FAMILY_CONTROL, 1).f[CELL_V1] = kVar;
  put(0, 1, FAMILY_CONTROL, 2).f[CELL_V1 + 1] = 5411;
  click(-10, 5);  // x / 40 would be column 0
  click(5, -10);
  window_button_press(sys(), MouseButton::Right, -30, 45);
  EXPECT_EQ(sys().logic.var[10], 0);
  EXPECT_EQ(sys().logic.var[11], 0);
  click(5, 5);
  EXPECT_EQ(sys().logic.var[10], 1);
}

TEST_F(PanelRunTest, ClicksUnderAnOpenOverlayWorkNothing) {
  put(0, 0, FAMILY_CONTROL, 1).f[CELL_V1] = kVar;
  window_menu(sys(), 942);  // render settings
  click(5, 5);
  EXPECT_EQ(sys().logic.var[10], 0);
  window_key(sys(), kKeyEscape);
  click(5, 5);
  EXPECT_EQ(sys().logic.var[10], 1);
}

TEST_F(PanelRunTest, RightPressStopsAnUnlockedRoute) {
  TcoCell& route = put(1, 0, FAMILY_CONTROL, 2);
  route.f[CELL_V1] = kVar;
  sys().logic.var[10] = 1;
  window_button_press(sys(), MouseButton::Right, 60, 20);  // no stop variable: start cleared
  EXPECT_EQ(sys().logic.var[10], 0);
  route.f[CELL_V1 + 1] = 5411;
  window_button_press(sys(), MouseButton::Right, 60, 20);
  EXPECT_EQ(sys().logic.var[11], 1);
  sys().logic.var[11] = 0;
  route.f[CELL_OPT] = 1;  // locked
  window_button_press(sys(), MouseButton::Right, 60, 20);
  EXPECT_EQ(sys().logic.var[11], 0);
}

// ---- Held buttons ------------------------------------------------------------------------------

TEST_F(PanelRunTest, PushButtonIsHeldUntilTheNextLeftRelease) {
  put(0, 0, FAMILY_CONTROL, 0).f[CELL_V1] = kVar;
  press(20, 20);
  EXPECT_EQ(sys().logic.var[10], 1);
  release(300, 300);  // anywhere
  EXPECT_EQ(sys().logic.var[10], 0);
}

TEST_F(PanelRunTest, ServoMoveButtonStopsWhereTheServoIs) {
  TcoCell& servo = put(0, 0, FAMILY_CONTROL, 8);
  servo.f[CELL_V1] = 8102;
  servo.f[CELL_SENS] = 0;
  press(20, 20);
  EXPECT_EQ(srv_cmd(sys(), 1, 2), 1023);
  sys().io.srv_pos[1 * kServoPerCard + 2] = 612;  // the ramp moved it so far
  release(20, 20);
  EXPECT_EQ(srv_cmd(sys(), 1, 2), 612);
}

// A held button lets go as soon as the panel leaves the view, or at a release on another screen.
TEST_F(PanelRunTest, HeldButtonLetsGoWhenThePanelLeavesTheView) {
  put(0, 0, FAMILY_CONTROL, 0).f[CELL_V1] = kVar;
  struct Case {
    const char* name;
    std::function<void(System&)> leave;
    int until_release;  // the output until the release
  };
  const Case cases[] = {
      {"a table screen by key", [](System& s) { window_key(s, '8'); }, 0},
      {"another panel", [](System& s) { window_key(s, '1'); }, 0},
      {"the help overlay", [](System& s) { window_menu(s, 916); }, 0},
      {"released on another screen", [](System& s) { s.screen.screen_mode = 24; }, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    show_screen(sys(), 0);
    sys().screen.panel_mode = ' ';
    press(20, 20);
    ASSERT_EQ(sys().logic.var[10], 1);
    c.leave(sys());
    EXPECT_EQ(sys().logic.var[10], c.until_release);
    release(20, 20);
    EXPECT_EQ(sys().logic.var[10], 0);
  }
}

// ---- Canton selection --------------------------------------------------------------------------

TEST_F(PanelRunTest, ClickOnADetectedCantonLeavesTheSelectionPending) {
  lamp(0, 0, 3);
  canton(3, 2, true);
  press(20, 20);
  EXPECT_EQ(countdown(), kSelectionTicks);
  EXPECT_EQ(action().selection_held, 1);
  release(20, 20);
  EXPECT_EQ(countdown(), kSelectionTicks);
  EXPECT_EQ(action().selection_held, 0);
  EXPECT_EQ(action().source, 3);
  EXPECT_EQ(action().destination, -1);
}

// The button let go on another screen: back on the panel the source no longer looks held and
// a later release on another lamp drags nothing.
TEST_F(PanelRunTest, SelectionIsNoLongerHeldAfterAReleaseOnAnotherScreen) {
  lamp(0, 0, 3);
  lamp(1, 0, 4);
  canton(3, 3, true);
  canton(4, 3, true);
  press(20, 20);
  window_key(sys(), '8');
  release(20, 20);
  window_key(sys(), '0');
  EXPECT_EQ(action().selection_held, 0);
  EXPECT_EQ(countdown(), kSelectionTicks);
  release(60, 20);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(4)], 3);
}

TEST_F(PanelRunTest, SecondClickOnAFreeCantonStartsTheMovementThatStopsThere) {
  lamp(0, 0, 3);
  lamp(1, 0, 4);
  lamp(2, 0, 5);
  canton(3, 2, true);
  sys().depl.depl_record[9][DEPL_START] = 3;
  sys().depl.depl_record[9][DEPL_STOP] = 5;
  sys().depl.depl_record[12][DEPL_START] = 3;
  sys().depl.depl_record[12][DEPL_STOP] = 4;
  click(20, 20);
  click(60, 20);
  EXPECT_EQ(sys().depl.depl_record[12][DEPL_START_REQUEST], 1);
  EXPECT_EQ(sys().depl.depl_record[9][DEPL_START_REQUEST], 0);
  EXPECT_EQ(action().result, 1);
  EXPECT_EQ(action().destination, 4);
  EXPECT_EQ(countdown(), 0);
  EXPECT_EQ(result_countdown(), kResultTicks);
}

TEST_F(PanelRunTest, FailedSelections) {
  struct Case {
    const char* name;
    int first_cant, second_cant;
  };
  // Canton 3 detected; 4 free with no movement to it; 125 names nothing.
  const Case cases[] = {
      {"a free canton with no movement", 3, 4},
      {"a free canton as the source", 4, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys().panels.action = PanelAction{};
    sys().ticks.panel_countdown = {};
    lamp(0, 0, c.first_cant);
    lamp(1, 0, c.second_cant);
    canton(3, 2, true);
    click(20, 20);
    if (c.second_cant != -1) click(60, 20);
    EXPECT_EQ(countdown(), 0);
    EXPECT_EQ(result_countdown(), kResultTicks);
    EXPECT_EQ(action().result, 0);
    EXPECT_EQ(action().destination, c.second_cant != -1 ? c.second_cant : c.first_cant);
  }
}

TEST_F(PanelRunTest, ACantonNumberOfNoCantonStartsNoSelection) {
  lamp(0, 0, 125);
  click(20, 20);
  EXPECT_EQ(countdown(), 0);
  EXPECT_EQ(result_countdown(), 0);
}

TEST_F(PanelRunTest, DragFromADetectedToAFreeCantonFails) {
  lamp(0, 0, 3);
  lamp(1, 0, 4);
  canton(3, 2, true);
  drag(0, 0, 1, 0);
  EXPECT_EQ(countdown(), 0);
  EXPECT_EQ(result_countdown(), kResultTicks);
  EXPECT_EQ(action().destination, 3);
}

// ---- Drags: split, join, sidings ---------------------------------------------------------------

TEST_F(PanelRunTest, DragBetweenTwoManualCantonsOfOneLocomotiveSplitsIt) {
  lamp(0, 0, 3);
  lamp(1, 0, 4);
  canton(3, 3, true);
  canton(4, 3, true);
  drag(0, 0, 1, 0);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(4)], 31);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(3)], 3);
  EXPECT_EQ(sys().trains.name[31], "WGON[31]");
  EXPECT_EQ(sys().trains.capt[31], 1);
  EXPECT_EQ(action().result, 2);
  EXPECT_EQ(action().destination, 4);

  // Dragging back joins them again.
  sys().ticks.panel_countdown = {};
  drag(1, 0, 0, 0);
  EXPECT_EQ(sys().trains.en[31], 0);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(4)], 3);
  EXPECT_EQ(action().result, 2);
}

TEST_F(PanelRunTest, RefusedSplits) {
  struct Case {
    const char* name;
    bool second_manual;
    int free_wagons;
  };
  const Case cases[] = {
      {"second canton not held by hand", false, 16},
      {"every wagon group in use", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestSystem fresh;
    System& s = fresh.sys;
    load_panels(s, kPanelFile);
    for (int x = 0; x < 2; ++x) {
      TcoCell& l = s.panels.cell(0, x, 0);
      l.f[CELL_FAMILY] = FAMILY_EQUIPMENT;
      l.f[CELL_VARIANT] = 0;
      l.f[CELL_CANT] = 3 + x;
    }
    for (int w = 16; w < 32 - c.free_wagons; ++w) s.trains.en[w] = 1;
    for (int k = 3; k <= 4; ++k) {
      s.io.det[k] = 1;
      s.cantons.num_train[k] = 3;
      s.cantons.ResvMANU[k] = k == 3 || c.second_manual;
    }
    s.trains.en[3] = 1;
    window_button_press(s, MouseButton::Left, 20, 20);
    window_button_release(s, MouseButton::Left, 60, 20);
    EXPECT_EQ(s.cantons.num_train[4], 3);
    EXPECT_EQ(s.panels.action.result, 0);
    EXPECT_EQ(s.ticks.panel_countdown[kResultCountdown], kResultTicks);
    EXPECT_EQ(s.panels.action.source, 3);
    EXPECT_EQ(s.panels.action.destination, 4);
  }
}

TEST_F(PanelRunTest, SidingSteps) {
  lamp(0, 0, 3);
  lamp(1, 0, G + 2);
  canton(3, 3, true);
  sys().garage.ass_canton[2] = 3;
  // The locomotive reaches into the siding: its wagons are left there.
  drag(0, 0, 1, 0);
  EXPECT_EQ(sys().garage.state_lock[2], 1);
  EXPECT_EQ(sys().garage.num_train[2], 31);
  EXPECT_EQ(sys().trains.train_garage[31], 2);
  EXPECT_EQ(action().result, 2);
  // The wagons are picked up again by a drag from the canton to the siding.
  sys().cantons.prev_garage_num_train[2] = 31;
  sys().ticks.panel_countdown = {};
  drag(0, 0, 1, 0);
  EXPECT_EQ(sys().garage.state_lock[2], 0);
  EXPECT_EQ(sys().trains.en[31], 0);
  EXPECT_EQ(sys().trains.train_garage[31], -1);
  EXPECT_EQ(action().result, 2);
}

// ---- Multi-function blocks ---------------------------------------------------------------------

TEST_F(PanelRunTest, LostTrainIsPlacedOnlyWhileTheDisplayOffersIt) {
  put(0, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 3;
  canton(7, 2, true, 0);  // train 2 is lost: its canton sees nothing
  sys().cantons.pb_capt_t[2] = 1;
  canton(9, -1, false);  // a detection nobody owns
  click(20, 20);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(9)], 2);
  EXPECT_EQ(sys().cantons.ResvMANU[canton_slot(9)], 1);
  EXPECT_EQ(sys().cantons.ResvMANU[canton_slot(7)], 0);
  // Once the train is found, a click repeats nothing on the next lone detection.
  sys().cantons.pb_capt_t[2] = 0;
  sys().cantons.prev_num_train[canton_slot(9)] = 2;
  canton(11, -1, false);
  click(20, 20);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(11)], -1);
  EXPECT_EQ(sys().cantons.ResvMANU[canton_slot(11)], 0);
}

// The display shows the cantons as the tick began; tracking may have given the lone detection
// to a running train since. The click must not take that train's canton away.
TEST_F(PanelRunTest, LostTrainIsNotPutOnACantonTrackingJustGaveAway) {
  put(0, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 3;
  canton(7, 2, true, 0);
  sys().cantons.pb_capt_t[2] = 1;
  canton(9, -1, false);
  sys().cantons.num_train[canton_slot(9)] = 5;  // train 5 ran into it during the tick
  click(20, 20);
  EXPECT_EQ(sys().cantons.num_train[canton_slot(9)], 5);
  EXPECT_EQ(sys().cantons.ResvMANU[canton_slot(9)], 0);
  EXPECT_EQ(sys().cantons.ResvMANU[canton_slot(7)], 1);
}

TEST_F(PanelRunTest, StopAllMovementsAndRoutes) {
  put(0, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 1;
  put(1, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 2;
  DeplRecord& running = sys().depl.depl_record[4];
  running[DEPL_START] = 3;
  running[DEPL_STATE] = DEPL_WAIT_PASS;
  sys().depl.depl_record[5][DEPL_START] = 3;  // idle
  ItiRecord& route = sys().iti.iti_record[6];
  route[ITI_DEFINED] = 1;
  route[ITI_STATE] = 2;
  click(20, 20);
  click(60, 20);
  EXPECT_EQ(running[DEPL_STOP_REQUEST], 1);
  EXPECT_EQ(sys().depl.depl_record[5][DEPL_STOP_REQUEST], 0);
  EXPECT_EQ(route[ITI_STOP_REQUEST], 1);
}

TEST_F(PanelRunTest, ResetInversionsOnlyForTrainsStandingStill) {
  put(0, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 8;
  CantonTable& c = sys().cantons;
  for (int k : {1, 2, 3}) {
    canton(k, k, true);
    c.Inverse[canton_slot(k)] = 1;
  }
  c.Vit_MANU[canton_slot(2)] = 20;  // running
  sys().block.halt_flag[3] = 1;     // held by a halt
  click(20, 20);
  EXPECT_EQ(c.Inverse[canton_slot(1)], 0);
  EXPECT_EQ(c.Inverse[canton_slot(2)], 1);
  EXPECT_EQ(c.Inverse[canton_slot(3)], 1);
}

// ---- What the panel shows ----------------------------------------------------------------------

Surface paint(System& sys) {
  Surface s(1281, 1001);
  paint_panel(sys, s, 0);
  return s;
}

TEST_F(PanelRunTest, ResultFrameColours) {
  lamp(2, 2, 3);
  lamp(3, 2, 4);
  struct Case {
    int result;
    int colour;
  };
  for (const Case& c : {Case{2, 20}, Case{1, 2}}) {
    sys().panels.action.source = 3;
    sys().panels.action.destination = 4;
    sys().panels.action.result = c.result;
    sys().ticks.panel_countdown[kResultCountdown] = 5;
    const Surface s = paint(sys());
    EXPECT_EQ(s.pixel(80 + 1, 80 + 20), palette_line(c.colour));
    EXPECT_EQ(s.pixel(120 + 20, 80 + 2), palette_line(c.colour));
  }
  // Nothing done: colour 4 on every other paint.
  sys().panels.action.result = 0;
  const Rgb first = paint(sys()).pixel(81, 85);
  const Rgb second = paint(sys()).pixel(81, 85);
  EXPECT_NE(first, second);
  EXPECT_TRUE(first == palette_line(4) || second == palette_line(4));
  // The frame goes with the countdown.
  sys().ticks.panel_countdown[kResultCountdown] = 0;
  EXPECT_NE(paint(sys()).pixel(81, 85), palette_line(4));
  EXPECT_NE(paint(sys()).pixel(81, 85), palette_line(4));
}

TEST_F(PanelRunTest, PendingSelectionBlinksTheSourceAndTheCandidates) {
  lamp(0, 0, 3);
  lamp(1, 0, 5);  // a movement from 3 stops here
  lamp(2, 0, 6);  // none does
  canton(3, 2, true);
  sys().depl.depl_record[0][DEPL_START] = 3;
  sys().depl.depl_record[0][DEPL_STOP] = 5;
  press(20, 20);
  const Rgb held = palette_fill(20);
  const Rgb candidate = palette_fill(sys().panels.rendu[17]);
  bool source_held_seen = false;
  for (int i = 0; i < 4; ++i) {
    const Surface s = paint(sys());
    source_held_seen |= s.pixel(20, 20) == held;
    EXPECT_NE(s.pixel(60, 20), candidate);  // not while the button is held
  }
  EXPECT_TRUE(source_held_seen);
  release(20, 20);
  bool candidate_seen = false;
  for (int i = 0; i < 4; ++i) {
    const Surface s = paint(sys());
    candidate_seen |= s.pixel(60, 20) == candidate;
    EXPECT_NE(s.pixel(100, 20), candidate);
  }
  EXPECT_TRUE(candidate_seen);
}

TEST_F(PanelRunTest, Block56LooksPressedWhileHeld) {
  sys().general.relief = 1;
  put(0, 0, FAMILY_CONTROL, 10).f[CELL_OPT] = 56;
  const Rgb raised = paint(sys()).pixel(1, 20);
  press(20, 20);
  const Rgb pressed = paint(sys()).pixel(1, 20);
  release(20, 20);
  EXPECT_NE(raised, pressed);
  EXPECT_EQ(paint(sys()).pixel(1, 20), raised);
}

}  // namespace
