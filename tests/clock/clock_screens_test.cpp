// The clock, timetable, external-action and vibrator screens: what they show, where, and what
// the operator's presses do to the clock, the timetable, the external actions and the vibrator.
#include "clock/clock_screens.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "clock/exe_config.h"
#include "clock/horo_config.h"
#include "clock/horo_engine.h"
#include "core/screens.h"
#include "core/var_bus.h"
#include "runtime/window_events.h"
#include "support/drawn_texts.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"

namespace {

// Action 0 once at 05:01; 1 a weekday action that starts movement 3 and blocks on det_14;
// 2 on day 6 at midnight; 3 at the weekend; 4 in cleaning mode; 5 blocks the clock at once.
const char* const kHoro =
    "depart j:0 05:00\n"
    "commentaire : Le train 3 part quand le canton 14 est libre\n"
    "hd 05:01 s:var_1\n"
    "hd j:s:07:30 hf 19:30 hi 01:00 s:depl_start_run_3 c:var_2 hb +00:20 vf:det_14\n"
    "hd j:6:00:00 s:var_3\n"
    "hd j:w:10:00 s:var_4\n"
    "hd j:n:05:01 s:var_5\n"
    "hd 05:03 s:var_6 hb +00:00 vf:var_9\n";

const std::string kLongText = "\"" + std::string(150, 'x') + "\"";

struct ClockScreens : ::testing::Test, TestSystem {
  ClockScreens() {
    dir.write("config.txt", std::string("#horo\n[\n") + kHoro + "]\n#exe\n[\nexe0: \"gare.wav\"\n" +
                                "exe5: " + kLongText + "\n]\n");
    sys.minus_switch = true;
    read_horo_section(sys);
    read_exe_section(sys);
    sys.depl.name[3] = "Navette";
    sys.screen.record_texts = true;
  }
  void show(int screen) {
    sys.screen.screen_mode = screen;
    window_paint(sys);
  }
  void press(int x, int y) {
    window_button_press(sys, MouseButton::Left, x, y);
    window_paint(sys);
  }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    return drawn_text_at(sys, x, y, colour);
  }
  bool drew(const std::string& text) const { return drew_text(sys, text); }
  int var(const char* label) { return var_read(sys, var_from_label(sys, label)); }
  Rgb shown(int x, int y) const { return host.frame.surface()->pixel(x, y); }
  HoroAction& action(int n) { return sys.clock.horo[static_cast<size_t>(n)]; }
  // Runs the clock until it shows hh:mm with its minute just evaluated.
  void run_to(int hour, int minute) {
    sys.clock.running = 1;
    for (int guard = 0; guard < 100000; ++guard) {
      horo_tick(sys);
      if (sys.clock.hour == hour && sys.clock.minute == minute &&
          sys.clock.countdown == sys.clock.tic_par_min - 1)
        return;
    }
    FAIL() << "the clock never reached " << hour << ":" << minute;
  }
};

// Grid of the clock screen: column 0 day, 1 hour, 2 minute, 3 tic/mn; rows 0, 1 raise, 3, 4
// lower.
void press_grid(ClockScreens& t, int column, int row) {
  t.press(180 + 89 * column + 44, 140 + 20 * row + 10);
}

TEST_F(ClockScreens, GridButtonsClampWithoutCarry) {
  struct Case {
    const char* name;
    int column, row;
    int32_t ClockState::*field;
    int before, after;
  };
  const Case cases[] = {
      {"M-1 at 0", 2, 3, &ClockState::minute, 0, 0},
      {"M+5 at 57", 2, 0, &ClockState::minute, 57, 59},
      {"J+2 at 5", 0, 0, &ClockState::day, 5, 6},
      {"J-2 at 1", 0, 4, &ClockState::day, 1, 0},
      {"H+1 at 23", 1, 1, &ClockState::hour, 23, 23},
      {"H-5 at 7", 1, 4, &ClockState::hour, 7, 2},
      {"tic/mn -5 at 3", 3, 4, &ClockState::tic_par_min, 3, 1},
      {"tic/mn +5 at 9998", 3, 0, &ClockState::tic_par_min, 9998, 10000},
      {"tic/mn +1 at 16", 3, 1, &ClockState::tic_par_min, 16, 17},
  };
  show(17);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys.clock.day = 3;
    sys.clock.hour = 12;
    sys.clock.minute = 30;
    sys.clock.*c.field = c.before;
    press_grid(*this, c.column, c.row);
    EXPECT_EQ(sys.clock.*c.field, c.after);
    if (c.field != &ClockState::day) {
      EXPECT_EQ(sys.clock.day, 3);
    }
    if (c.field != &ClockState::hour) {
      EXPECT_EQ(sys.clock.hour, 12);
    }
  }
  sys.clock.tic_par_min = 20;
  show(17);
  EXPECT_TRUE(drew("20"));
  EXPECT_TRUE(drew("12:30"));
  EXPECT_TRUE(drew("1 heure  réelle       :  31 heures ZIR"));  // 60000 / (95 x 20)
  EXPECT_TRUE(drew("1 jour   ZIR          :  45 mn réelles"));
  EXPECT_TRUE(drew("Le train 3 part quand le canton 14 est libre "));
}

// The minute in progress has been evaluated; a change of speed, running or standing, must not
// evaluate it again.
TEST_F(ClockScreens, TicChangeMidMinuteFiresNothingTwice) {
  struct Case {
    const char* name;
    bool running;
    int ticks_before;  // ticks after the evaluation before the press
    int column_row;    // 0: -1, 1: -5, 2: +1
  };
  const Case cases[] = {
      {"running, -1 right after", true, 0, 0},   {"standing, -5 at countdown 10", false, 5, 1},
      {"standing, -1 right after", false, 0, 0}, {"running, -5 late", true, 12, 1},
      {"standing, +1 right after", false, 0, 2},
  };
  const int rows[] = {3, 4, 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sys.clock.tic_par_min = 16;
    sys.clock.hour = 5;
    sys.clock.minute = 0;
    sys.clock.countdown = 0;
    action(0)[HORO_STATE] = 0;
    run_to(5, 1);
    ASSERT_EQ(var("var_1"), 1);
    var_write(sys, var_from_label(sys, "var_1"), 0);
    for (int k = 0; k < c.ticks_before; ++k) horo_tick(sys);
    sys.clock.running = c.running ? 1 : 0;
    show(17);
    press_grid(*this, 3, rows[c.column_row]);
    for (int k = 0; k < 3; ++k) horo_tick(sys);
    EXPECT_EQ(var("var_1"), 0);
    EXPECT_EQ(sys.clock.minute, 1);
  }
}

TEST_F(ClockScreens, InitRunningAndCleaningButtons) {
  show(17);
  sys.clock.hour = 9;
  sys.clock.countdown = 3;
  action(1)[HORO_STATE] = 2;
  action(1)[HORO_INHIBITED] = 1;
  action(1)[HORO_BLOCK_H] = 7;
  sys.depl.depl_record[4][DEPL_STATE] = DEPL_WAIT_PASS;
  press(100, 450);  // INITIALISATION
  EXPECT_EQ(sys.clock.hour, 5);
  EXPECT_EQ(sys.clock.countdown, 16);
  EXPECT_EQ(action(1)[HORO_STATE], 0);
  EXPECT_EQ(action(1)[HORO_INHIBITED], 0);
  EXPECT_EQ(action(1)[HORO_BLOCK_H], -1);
  EXPECT_EQ(sys.depl.depl_record[4][DEPL_STOP_REQUEST], 1);
  EXPECT_EQ(sys.depl.depl_record[5][DEPL_STOP_REQUEST], 0);

  EXPECT_TRUE(drew("A L'ARRÊT"));
  press(300, 450);
  EXPECT_EQ(sys.clock.running, 1);
  EXPECT_TRUE(drew("EN MARCHE"));

  // Cleaning on: from the start time, the first minute due at once, only `n` actions fire.
  sys.clock.hour = 11;
  press(480, 450);
  EXPECT_EQ(sys.clock.cleaning, 1);
  EXPECT_EQ(sys.clock.running, 1);
  EXPECT_EQ(sys.clock.countdown, 0);
  EXPECT_EQ(sys.clock.hour, 5);
  EXPECT_TRUE(drew("NETTOYAGE ON"));
  run_to(5, 1);
  EXPECT_EQ(var("var_5"), 1);
  EXPECT_EQ(var("var_1"), 0);
  press(480, 450);
  EXPECT_EQ(sys.clock.cleaning, 0);
  EXPECT_EQ(sys.clock.running, 0);
  EXPECT_EQ(sys.clock.minute, 0);
  EXPECT_TRUE(drew("NETTOYAGE OFF"));

  press(680, 450);  // PAS BLOQUÉE opens the list, whose button opens the clock again
  EXPECT_EQ(sys.screen.screen_mode, 49);
  press(1000, 565);
  EXPECT_EQ(sys.screen.screen_mode, 17);
}

TEST_F(ClockScreens, TimetableRowsShowEachColumn) {
  action(1)[HORO_STATE] = 1;
  action(1)[HORO_BLOCK_H] = 7;
  action(1)[HORO_BLOCK_M] = 50;
  show(49);
  struct Case {
    int row, x;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, "  0"},
      {0, 140, "  05:01"},
      {0, 215, "--:--"},
      {0, 795, "var_1.1 "},
      {1, 40, "At-Bl"},
      {1, 140, "s:07:30"},
      {1, 215, "19:30"},
      {1, 270, "01:00"},
      {1, 355, "07:50"},
      {1, 440, "délai"},
      {1, 515, "00:20"},
      {1, 580, "det_14=1"},
      {1, 795, "depl_start_run_3.1 var_2.0 d  3 = Navette"},
      {2, 140, "6:00:00"},
      {3, 140, "w:10:00"},
      {4, 140, "n:05:01"},
      {4, 215, "train nettoyage"},
      {6, 0, "  6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text_at(c.x, 32 + 16 * c.row + 1), c.text);
  }
  int colour = -1;
  text_at(0, 32 + 16 * 6 + 1, &colour);
  EXPECT_EQ(colour, 17);  // an undefined action: its number in grey
  EXPECT_EQ(text_at(440, 32 + 16 * 0 + 1), "");
  EXPECT_EQ(text_at(940, 610), "0:05:00");
  EXPECT_TRUE(
      drew("AFFICHE LES VALEURS DU TABLEAU INTERNE '#horo'            (255 lignes "
           "maximum)"));
}

TEST_F(ClockScreens, TimetableRowGrounds) {
  action(0)[HORO_STATE] = 1;
  action(1)[HORO_STATE] = 2;
  action(2)[HORO_INHIBITED] = 1;
  action(2)[HORO_STATE] = 2;
  show(49);
  const Rgb green{110, 240, 110}, orange{255, 102, 0}, blue{128, 128, 255}, white{255, 255, 255};
  const Rgb expected[] = {green, orange, blue, white};
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(shown(700, 32 + 16 * row), expected[row]);
  }
}

TEST_F(ClockScreens, InhibitingABlockingActionFreesTheClock) {
  sys.clock.hour = 5;
  sys.clock.minute = 2;
  sys.clock.countdown = 0;
  run_to(5, 3);
  horo_tick(sys);
  ASSERT_EQ(action(5)[HORO_STATE], 2);
  ASSERT_EQ(sys.clock.blocked, 1);
  show(49);
  EXPECT_TRUE(drew("Blqué"));
  EXPECT_TRUE(drew("BLOQUÉE"));
  press(100, 32 + 16 * 5 + 5);
  EXPECT_EQ(action(5)[HORO_INHIBITED], 1);
  EXPECT_EQ(action(5)[HORO_STATE], 0);
  EXPECT_EQ(text_at(95, 32 + 16 * 5 + 1), " Inh");
  horo_tick(sys);
  EXPECT_EQ(sys.clock.blocked, 0);
  press(100, 32 + 16 * 5 + 5);
  EXPECT_EQ(action(5)[HORO_INHIBITED], 0);
  // An undefined row takes no click.
  press(100, 32 + 16 * 9 + 5);
  EXPECT_EQ(action(9)[HORO_INHIBITED], 0);
}

TEST_F(ClockScreens, InhibitingStopsTheMovementItsConditionWaitsFor) {
  // Action 1 waits on det_14: no movement stop. With its condition on its own movement, stop.
  show(49);
  press(100, 32 + 16 + 5);
  EXPECT_EQ(sys.depl.depl_record[3][DEPL_STOP_REQUEST], 0);
  press(100, 32 + 16 + 5);
  action(1)[HORO_VF_VAR] = var_from_label(sys, "depl_start_run_3");
  press(100, 32 + 16 + 5);
  EXPECT_EQ(sys.depl.depl_record[3][DEPL_STOP_REQUEST], 1);
}

TEST_F(ClockScreens, DepartJumpsOneMinuteBeforeTheAction) {
  struct Case {
    int action;
    int day, hour, minute, cleaning;
  };
  const Case cases[] = {
      {0, 0, 5, 0, 0},    // any day
      {1, 0, 7, 29, 0},   // weekdays
      {2, 6, -1, 59, 0},  // day 6 at 00:00: its own day, hour -1
      {3, 5, 9, 59, 0},   // weekend
      {4, 0, 5, 0, 1},    // cleaning mode
  };
  show(49);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    sys.clock.running = 0;
    sys.clock.day = 3;
    press(150, 32 + 16 * c.action + 5);
    EXPECT_EQ(sys.clock.day, c.day);
    EXPECT_EQ(sys.clock.hour, c.hour);
    EXPECT_EQ(sys.clock.minute, c.minute);
    EXPECT_EQ(sys.clock.cleaning, c.cleaning);
    EXPECT_EQ(sys.clock.running, 1);
    EXPECT_EQ(sys.clock.countdown, 1);
  }
  // From -1:59 the next minute change reaches 00:00 of day 6, where action 2 fires.
  press(150, 32 + 16 * 2 + 5);
  horo_tick(sys);
  horo_tick(sys);
  EXPECT_EQ(sys.clock.hour, 0);
  EXPECT_EQ(sys.clock.minute, 0);
  EXPECT_EQ(var("var_3"), 1);
}

TEST_F(ClockScreens, TimetablePages) {
  show(49);
  for (int page = 50; page <= 56; ++page) {
    window_button_press(sys, MouseButton::Right, 400, 300);
    EXPECT_EQ(sys.screen.screen_mode, page);
  }
  window_paint(sys);
  EXPECT_EQ(text_at(0, 32 + 30 * 16 + 1), "254");
  EXPECT_EQ(text_at(0, 32 + 31 * 16 + 1), "");
  press(50, 590);  // the legend box
  EXPECT_EQ(sys.screen.screen_mode, 49);
}

TEST_F(ClockScreens, ExternalActionRowsAndRun) {
  show(45);
  int colour = -1;
  text_at(0, 33, &colour);
  EXPECT_EQ(colour, 0);
  text_at(0, 33 + 16, &colour);
  EXPECT_EQ(colour, 17);  // no text: a grey number
  EXPECT_EQ(text_at(50, 33), "\"gare.wav\"");
  EXPECT_EQ(text_at(50, 33 + 5 * 16), kLongText.substr(0, 130));
  press(300, 32 + 16 + 4);  // action 1 has no text
  EXPECT_EQ(var("exe_1"), 0);
  press(300, 32 + 4);
  EXPECT_EQ(var("exe_0"), 1);
  window_button_press(sys, MouseButton::Right, 400, 300);
  window_paint(sys);
  EXPECT_EQ(text_at(0, 33), " 32");
}

TEST_F(ClockScreens, VibratorButtonsAndBoxes) {
  show(18);
  struct Case {
    int x, y;
    int32_t VibState::*field;
    int before, after;
  };
  const Case cases[] = {
      {100, 350, &VibState::time_before, 0, 0},
      {230, 350, &VibState::time_before, 4, 5},
      {100, 390, &VibState::time_after, 1, 0},
      {100, 390, &VibState::time_after, 0, 0},
      {230, 390, &VibState::time_after, 9, 10},
      {380, 350, &VibState::vib_on, 0, 1},
      {380, 390, &VibState::vib_on, 1, 0},
      {650, 350, &VibState::vib_on, 0, 1},
      {650, 350, &VibState::vib_on, 1, 0},
      {650, 390, &VibState::vib_on, 1, 1},
      {230, 350, &VibState::time_before, INT32_MAX, INT32_MAX},
      {230, 390, &VibState::time_after, INT32_MAX, INT32_MAX},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " from " << c.before);
    sys.vib.*c.field = c.before;
    press(c.x, c.y);
    EXPECT_EQ(sys.vib.*c.field, c.after);
  }
  sys.vib.time_before = 20;
  sys.vib.vib_state = 1;
  sys.cantons.pb_capt_c[16 + 5] = 1;  // canton 105
  sys.cantons.pb_capt_t[17] = 1;
  show(18);
  EXPECT_TRUE(drew("Temps d'attente configuré avant déclenchement     :  20 (tics) =  1.9 sec"));
  // A time far beyond a day, as a layout may set it to mean "never", in seconds all the same.
  sys.vib.time_after = 100000000;
  show(18);
  EXPECT_TRUE(
      drew("Temps d'attente configuré après rétablissement    : 100000000 (tics) = 9500000.0 sec"));
  EXPECT_TRUE(drew("Etat du vibreur                                   : En marche"));
  EXPECT_TRUE(drew("VIBRE"));
  const Rgb red{255, 0, 0}, white{255, 255, 255};
  EXPECT_EQ(shown(180 + 5 * 24 + 12, 474 + 20 + 10), red);
  EXPECT_EQ(shown(180 + 6 * 24 + 12, 474 + 20 + 10), white);
  EXPECT_EQ(shown(180 + 1 * 24 + 3, 580 + 22 + 20), red);
  EXPECT_EQ(shown(180 + 1 * 24 + 3, 580 + 20), white);
}

TEST_F(ClockScreens, RedrawEqualsPaintOnEveryScreen) {
  for (int width : {1100, 800}) {
    window_resize(sys, width, 700);
    for (int screen : {17, 18, 45, 49, 56}) {
      SCOPED_TRACE(testing::Message() << screen << " on " << width);
      sys.screen.screen_mode = screen;
      expect_redraw_equals_paint(sys, host, [&] {
        sys.clock.minute = (sys.clock.minute + 7) % 60;
        sys.clock.day = screen % 7;
        sys.clock.blocked ^= 1;
        sys.clock.running ^= 1;
        action(0)[HORO_STATE] = (action(0)[HORO_STATE] + 1) % 3;
        action(1)[HORO_BLOCK_H] = screen % 24;
        action(1)[HORO_BLOCK_M] = 10;
        sys.vib.start_count = screen;
        sys.vib.stop_count = width % 97;
        sys.vib.vib_state ^= 1;
        sys.cantons.pb_capt_c[static_cast<size_t>(screen)] ^= 1;
        sys.cantons.pb_capt_t[static_cast<size_t>(screen % 32)] ^= 1;
      });
    }
  }
}

}  // namespace
