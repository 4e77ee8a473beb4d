// The movement, route and siding lists: what each row shows and in which colour, the clicks
// that set requests and the clicks that must change nothing, and the tick redraw.
#include "moves/move_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "core/screens.h"
#include "moves/iti_engine.h"
#include "runtime/window_events.h"
#include "support/drawn_texts.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"

namespace {

constexpr int kDeplTop = 38, kListTop = 36, kPitch = 18;
constexpr int kYellow = 6, kGreen = 34, kBlue = 22, kWhite = 7;

struct MoveScreens : ::testing::Test, TestSystem {
  MoveScreens() {
    sys.screen.record_texts = true;
    // Movement 3 has a start; 4 has none; 185 is on the last page.
    for (int n : {3, 185}) sys.depl.depl_record[static_cast<size_t>(n)][DEPL_START] = 12;
    sys.depl.name[3] = "Gare_Est";
    // Route 2 direct, route 7 on/off, route 30 on the second page; the rest undefined.
    for (int n : {2, 7, 30}) route(n)[ITI_DEFINED] = 1;
    route(7)[ITI_MODE] = 1;
    sys.iti.name[7] = "Quai_2";
    // Siding 1 on canton 105, relay out 12; siding 28 the last listed; siding 30 not listed.
    for (int g : {1, 28, 30}) sys.garage.ass_canton[static_cast<size_t>(g)] = 105;
    sys.garage.ass_out[1] = 12;
  }
  DeplRecord& movement(int n) { return sys.depl.depl_record[static_cast<size_t>(n)]; }
  ItiRecord& route(int n) { return sys.iti.iti_record[static_cast<size_t>(n)]; }
  void show(int screen) {
    sys.screen.screen_mode = screen;
    window_paint(sys);
  }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    return drawn_text_at(sys, x, y, colour);
  }
  bool drew(const std::string& text) const { return drew_text(sys, text); }
  // The ground of a row, probed in an empty stretch of it.
  Rgb ground(int top, int row) const {
    return host.frame.surface()->pixel(795, top + row * 18 + 8);
  }
  void press(int x, int y) { window_button_press(sys, MouseButton::Left, x, y); }
};

TEST_F(MoveScreens, MovementRowsShowTheirRequestsStateAndName) {
  DeplRecord& r = movement(3);
  r[DEPL_START_REQUEST] = 1;
  r[DEPL_STOP_REQUEST] = 2;
  r[DEPL_TIMER] = 17;
  r[DEPL_STATE] = DEPL_WAIT_ARRIVAL;
  show(10);
  const int y = kDeplTop + 3 * kPitch + 1;
  int colour = -1;
  EXPECT_EQ(text_at(2, y, &colour), "   3");
  EXPECT_EQ(colour, 0);
  EXPECT_EQ(text_at(50, y), "  1");
  EXPECT_EQ(text_at(110, y), "   2");
  EXPECT_EQ(text_at(165, y), "  17");
  EXPECT_EQ(text_at(225, y), "EN ATTENTE ARRIVÉE CANTON/GARAG");
  EXPECT_EQ(text_at(540, y), "Gare_Est");
  // Without a start, only the number, in grey.
  EXPECT_EQ(text_at(2, y + kPitch, &colour), "   4");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(225, y + kPitch), "");
  // An idle movement with a start shows the placeholder and nothing where values are 0.
  show(16);
  EXPECT_EQ(text_at(2, kDeplTop + 5 * kPitch + 1), " 185");
  EXPECT_EQ(text_at(225, kDeplTop + 5 * kPitch + 1), "-.-.-.-.-.-.-.-.-.-.-.-.-.-.-.-");
  EXPECT_EQ(text_at(50, kDeplTop + 5 * kPitch + 1), "");
  EXPECT_EQ(text_at(2, kDeplTop + 19 * kPitch + 1), " 199");
  EXPECT_EQ(text_at(2, kDeplTop + 20 * kPitch + 1), "");  // no movement 200
}

TEST_F(MoveScreens, AccelerationLegendWithLevelsNotGiven) {
  struct Case {
    int acc, dec;
    const char* shown;
  };
  const Case cases[] = {
      {12, 5, "12 -5 "}, {-1, 12, "xx -12"}, {3, -1, " 3 -xx"}, {-1, -1, "xx -xx"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    sys.depl.acc = c.acc;
    sys.depl.dec = c.dec;
    show(12);
    EXPECT_TRUE(drew(std::string("Section '#depl' Paramètres globaux 'Accélération - "
                                 "Décélération' = ") +
                     c.shown));
  }
}

TEST_F(MoveScreens, RowGroundsFollowTheEngines) {
  struct Case {
    const char* name;
    int screen, top, row;
    void (*set)(System&);
    int ground;
  };
  const Case cases[] = {
      {"movement waiting", 10, kDeplTop, 3,
       [](System& s) { s.depl.depl_record[3][DEPL_STATE] = DEPL_WAIT_RESOURCES; }, kYellow},
      {"movement running", 10, kDeplTop, 3,
       [](System& s) {
         s.depl.depl_record[3][DEPL_STATE] = DEPL_WAIT_ARRIVAL;
         s.depl.depl_record[3][DEPL_START_REQUEST] = 1;
       },
       kGreen},
      {"movement idle", 10, kDeplTop, 3, [](System&) {}, kWhite},
      {"direct route set", 19, kListTop, 2, [](System& s) { s.iti.iti_record[2][ITI_OK] = 1; },
       kBlue},
      {"on/off route established", 19, kListTop, 7,
       [](System& s) {
         s.iti.iti_record[7][ITI_STATE] = ITI_ESTABLISHED;
         s.iti.iti_record[7][ITI_OK] = 1;
       },
       kGreen},
      {"on/off route waiting", 19, kListTop, 7,
       [](System& s) {
         s.iti.iti_record[7][ITI_STATE] = ITI_WAIT_FREE;
         s.iti.iti_record[7][ITI_WAIT] = 1;
       },
       kYellow},
      {"direct route not in position", 19, kListTop, 2, [](System&) {}, kWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(sys);
    show(c.screen);
    EXPECT_EQ(ground(c.top, c.row), palette_fill(c.ground));
    EXPECT_EQ(ground(c.top, c.row + 1), palette_fill(kWhite));
    sys.depl.depl_record[3][DEPL_STATE] = 0;
    sys.depl.depl_record[3][DEPL_START_REQUEST] = 0;
    for (int n : {2, 7}) route(n)[ITI_OK] = route(n)[ITI_WAIT] = route(n)[ITI_STATE] = 0;
  }
}

TEST_F(MoveScreens, MovementStartAndStopClicks) {
  show(10);
  const int row3 = kDeplTop + 3 * kPitch + 8;
  press(70, row3);
  EXPECT_EQ(movement(3)[DEPL_START_REQUEST], 1);
  press(70, row3);  // already set: stays 1
  EXPECT_EQ(movement(3)[DEPL_START_REQUEST], 1);
  press(130, row3);
  EXPECT_EQ(movement(3)[DEPL_STOP_REQUEST], 1);
  // No start: both columns ignored; the state column does nothing.
  press(70, row3 + kPitch);
  press(130, row3 + kPitch);
  EXPECT_EQ(movement(4)[DEPL_START_REQUEST], 0);
  EXPECT_EQ(movement(4)[DEPL_STOP_REQUEST], 0);
  movement(3)[DEPL_STOP_REQUEST] = 0;
  press(300, row3);
  EXPECT_EQ(movement(3)[DEPL_STOP_REQUEST], 0);
  // The last page: movement 185 by its row; the rows past 199 are empty.
  show(16);
  press(70, kDeplTop + 5 * kPitch + 8);
  EXPECT_EQ(movement(185)[DEPL_START_REQUEST], 1);
  press(70, kDeplTop + 25 * kPitch + 8);
  // The legend box turns the page, the close box goes back to the panel.
  press(50, 605);
  EXPECT_EQ(sys.screen.screen_mode, 10);
  sys.screen.last_panel = 3;
  press(790, 8);
  EXPECT_EQ(sys.screen.screen_mode, 3);
}

TEST_F(MoveScreens, RouteClicksToggleTheRequestsTheStateAllows) {
  show(19);
  const int start_x = 70, stop_x = 130;
  auto row = [](int n) { return kListTop + n * kPitch + 8; };
  press(start_x, row(2));
  EXPECT_EQ(route(2)[ITI_START_REQUEST], 1);
  press(start_x, row(2));  // a second click before the tick takes it back
  EXPECT_EQ(route(2)[ITI_START_REQUEST], 0);
  press(stop_x, row(2));  // a direct route is always idle: no stop
  EXPECT_EQ(route(2)[ITI_STOP_REQUEST], 0);
  route(7)[ITI_STATE] = ITI_ESTABLISHED;
  press(start_x, row(7));  // under way: no start
  EXPECT_EQ(route(7)[ITI_START_REQUEST], 0);
  press(stop_x, row(7));
  EXPECT_EQ(route(7)[ITI_STOP_REQUEST], 1);
  press(start_x, row(5));  // undefined
  EXPECT_EQ(route(5)[ITI_START_REQUEST], 0);
  press(50, 515);  // legend box: 25..49
  EXPECT_EQ(sys.screen.screen_mode, 20);
  window_paint(sys);
  EXPECT_EQ(text_at(2, kListTop + 5 * kPitch + 1), "  30");
  press(start_x, row(5));
  EXPECT_EQ(route(30)[ITI_START_REQUEST], 1);
}

TEST_F(MoveScreens, RouteRowsShowFlagsAndState) {
  ItiRecord& r = route(7);
  r[ITI_STATE] = ITI_RELEASE_DELAY;
  r[ITI_TIMER] = 9;
  r[ITI_OK] = 1;
  show(19);
  const int y = kListTop + 7 * kPitch + 1;
  EXPECT_EQ(text_at(50, y), "");
  EXPECT_EQ(text_at(165, y), "");
  EXPECT_EQ(text_at(215, y), "  1");
  EXPECT_EQ(text_at(255, y), "   9");
  EXPECT_EQ(text_at(315, y), "  EN ATTENTE FIN TEMPO  ");
  EXPECT_EQ(text_at(560, y), "Quai_2");
  int colour = -1;
  EXPECT_EQ(text_at(2, kListTop + 5 * kPitch + 1, &colour), "   5");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(315, kListTop + 2 * kPitch + 1), "-.-.-.-.-.-.-.-.-.-.-.-.");
}

TEST_F(MoveScreens, SidingRowsAndTheirCommand) {
  sys.garage.state_lock[1] = 1;
  sys.garage.cmd_lock[1] = 1;
  sys.garage.num_train[1] = 4;
  sys.trains.name[4] = "BB_67000";
  sys.trains.color[4] = 9;
  show(21);
  const int y = kListTop + kPitch + 1;
  EXPECT_EQ(text_at(70, y), "   1");
  EXPECT_EQ(text_at(140, y), " Isolé");
  EXPECT_EQ(text_at(220, y), "");
  EXPECT_EQ(text_at(280, y), "(105)");
  EXPECT_EQ(text_at(350, y), "  12");
  EXPECT_EQ(text_at(420, y), "   1");
  int colour = -1;
  EXPECT_EQ(text_at(500, y, &colour), "   4 : BB_67000");
  EXPECT_EQ(colour, 9);
  EXPECT_EQ(text_at(140, kListTop + 28 * kPitch + 1), "Relié");
  EXPECT_EQ(text_at(280, kListTop + 28 * kPitch + 1), " 105");
  EXPECT_EQ(text_at(2, kListTop + 2 * kPitch + 1, &colour), "   2");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(140, kListTop + 2 * kPitch + 1), "");
  EXPECT_FALSE(drew("  30"));  // sidings 29..31 are not listed

  const int cmd_x = 100;
  press(cmd_x, kListTop + kPitch + 8);
  EXPECT_EQ(sys.garage.cmd_lock[1], 0);  // connection asked
  press(300, kListTop + 28 * kPitch + 8);
  EXPECT_EQ(sys.garage.cmd_lock[28], 0);  // not the Cmd_I column
  sys.garage.res_auto[28] = 1;
  press(cmd_x, kListTop + 28 * kPitch + 8);
  EXPECT_EQ(sys.garage.cmd_lock[28], 0);  // held by a movement
  press(cmd_x, kListTop + 2 * kPitch + 8);
  EXPECT_EQ(sys.garage.cmd_lock[2], 0);  // undefined
  press(cmd_x, kListTop + 29 * kPitch + 8);
  EXPECT_EQ(sys.garage.cmd_lock[29], 0);  // below the list
}

TEST_F(MoveScreens, ReloadRepaintsTheListInView) {
  dir.write("config.txt", "#depl\n[\nacc-dec: 7-9\nd2 name:Neuf start:c1 c1+10 fin:det_1\n]\n");
  show(10);
  const int repaints = host.repaints;
  window_menu(sys, 914);
  EXPECT_GT(host.repaints, repaints);
  window_paint(sys);
  EXPECT_TRUE(drew("Section '#depl' Paramètres globaux 'Accélération - Décélération' =  7 -9 "));
  EXPECT_EQ(text_at(540, kDeplTop + 2 * kPitch + 1), "Neuf");
  EXPECT_EQ(text_at(540, kDeplTop + 3 * kPitch + 1), "");  // the old movement 3 is gone
}

TEST_F(MoveScreens, RedrawEqualsPaint) {
  for (int screen : {10, 11, 12, 13, 14, 15, 16, 19, 20, 21}) {
    SCOPED_TRACE(screen);
    sys.screen.screen_mode = screen;
    const int step = screen;
    expect_redraw_equals_paint(sys, host, [&] {
      for (int n = 0; n < kMovements; n += 7) {
        DeplRecord& r = movement(n);
        r[DEPL_START] = 12;
        r[DEPL_STATE] = (n + step) % kDeplStates;
        r[DEPL_START_REQUEST] = (n + step) % 2;
        r[DEPL_TIMER] = step;
        sys.depl.name[static_cast<size_t>(n)] = "D" + std::to_string(n + step);
      }
      for (int n = 0; n < kRoutes; n += 3) {
        ItiRecord& r = route(n);
        r[ITI_DEFINED] = 1;
        r[ITI_MODE] = n % 2;
        r[ITI_STATE] = (n + step) % kItiStates;
        r[ITI_WAIT] = (n + step) % 3 == 1;
        r[ITI_OK] = (n + step) % 3 == 2;
      }
      for (int g = 0; g < kSidings; g += 2) {
        const size_t i = static_cast<size_t>(g);
        sys.garage.ass_canton[i] = g;
        sys.garage.state_lock[i] = (g + step) % 2;
        sys.garage.num_train[i] = (g + step) % 2 ? g % 16 : -1;
      }
    });
  }
}

}  // namespace
