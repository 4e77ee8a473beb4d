// The train lists and their dialogs: adding, removing and editing entries, placing and parking
// with their refusals, and what typed characters do while a dialog is open.
#include "trains/train_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "core/screens.h"
#include "runtime/window_events.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"

namespace {

// Points in the list (row r of the page) and in the dialog grids.
int row_y(int r) {
  return 105 + 20 * r;
}
constexpr int kNumberX = 10, kNameX = 60, kCmdX = 160, kAutoX = 210, kProfileX = 310, kGaragX = 710;
int canton_x(int slot) {
  return (slot % 16) * 50 + 5;
}
int canton_y(int slot) {
  return 465 + (slot / 16) * 20;
}
int siding_x(int g) {
  return (g % 16) * 50 + 5;
}
int siding_y(int g) {
  return 565 + (g / 16) * 20;
}

struct TrainScreens : ::testing::Test, TestSystem {
  TrainScreens() {
    sys.screen.record_texts = true;
    sys.garage.ass_canton[3] = 5;  // siding g3 fed from canton 5
  }
  void show(int screen) {
    window_menu(sys, screen == 8 ? 945 : screen == 9 ? 932 : screen == 57 ? 969 : 970, 0);
    window_paint(sys);
  }
  void press(int x, int y) { window_button_press(sys, MouseButton::Left, x, y); }
  int dialog() const { return sys.trainscreen.dialog; }
  bool drew(const std::string& text) const {
    window_paint(const_cast<System&>(sys));
    for (const DrawnText& t : sys.screen.drawn_texts)
      if (t.text == text) return true;
    return false;
  }
  // Entry n in use, named, on canton slot `slot` (or nowhere).
  void put(int n, int slot) {
    sys.trains.en[static_cast<size_t>(n)] = 1;
    sys.trains.name[static_cast<size_t>(n)] = "LOCO";
    if (slot >= 0) {
      sys.cantons.num_train[static_cast<size_t>(slot)] = n;
      sys.cantons.ResvMANU[static_cast<size_t>(slot)] = 1;
    }
  }
  std::string last_box() const { return host.boxes.empty() ? "" : host.boxes.back().text; }
};

TEST_F(TrainScreens, AddingAWagonRunsTheThreeSteps) {
  show(57);
  press(kNumberX, row_y(4));  // entry 20
  EXPECT_EQ(sys.trains.name[20], "WGON[20]");
  EXPECT_EQ(sys.trains.en_auto[20], 0);
  EXPECT_EQ(dialog(), 1);
  press(30, 465);  // the default train
  EXPECT_EQ(sys.trains.color[20], 20);
  EXPECT_EQ(dialog(), 2);
  press(siding_x(3), siding_y(3));  // parked in g3, then step 3 as well
  EXPECT_EQ(sys.trains.train_garage[20], 3);
  EXPECT_EQ(sys.garage.num_train[3], 20);
  EXPECT_EQ(sys.garage.cmd_lock[3], 1);
  EXPECT_EQ(dialog(), 3);
  EXPECT_TRUE(drew("3 / Choisir le type de commande pour le train n° 20 : 'WGON[20]'"));
  press(105, 545);  // CLAVIER_0
  EXPECT_EQ(sys.trains.cmd[20], 1000);
  EXPECT_EQ(dialog(), 0);
}

TEST_F(TrainScreens, AddingATrainFromTheReserveAndPuttingItOnACanton) {
  sys.trains.reserve_count = 1;
  sys.trains.name[32] = "CC_72000";
  sys.trains.vmax[32] = 60;
  sys.trains.reserve_color[0] = 2;
  show(8);
  press(kNumberX, row_y(5));
  EXPECT_EQ(sys.trains.name[5], "TRAIN  5");
  EXPECT_EQ(sys.trains.en_auto[5], 1);
  press(280, 465);
  EXPECT_EQ(sys.trains.name[5], "CC_72000");
  EXPECT_EQ(sys.trains.vmax[5], 60);
  EXPECT_EQ(sys.trains.color[5], 2);
  press(canton_x(18), canton_y(18));  // C102
  EXPECT_EQ(sys.cantons.num_train[18], 5);
  EXPECT_EQ(sys.cantons.ResvMANU[18], 1);
  EXPECT_EQ(dialog(), 3);
  press(105, 565);  // no command
  EXPECT_EQ(sys.trains.cmd[5], -1);
}

TEST_F(TrainScreens, RemovingCleansCantonsAndSidingButNotAnAutoTrain) {
  put(2, 7);
  put(3, -1);
  sys.trains.train_garage[3] = 3;
  sys.garage.num_train[3] = 3;
  sys.garage.cmd_lock[3] = sys.garage.state_lock[3] = 1;
  sys.trains.mode[2] = "AUTO";
  show(8);
  press(kNumberX, row_y(2));
  EXPECT_EQ(sys.trains.en[2], 1);
  EXPECT_TRUE(drew("Err: Cannot Deactivate an AUTO train"));
  sys.trains.mode[2] = "SEL";
  press(kNumberX, row_y(2));
  EXPECT_EQ(sys.trains.en[2], 0);
  EXPECT_EQ(sys.cantons.ResvMANU[7], 0);
  press(kNumberX, row_y(3));
  EXPECT_EQ(sys.trains.train_garage[3], -1);
  EXPECT_EQ(sys.garage.num_train[3], -1);
  EXPECT_EQ(sys.garage.cmd_lock[3] + sys.garage.state_lock[3], 0);
}

TEST_F(TrainScreens, ProfileButtonsKeepEachValueInItsRange) {
  put(1, -1);
  sys.trains.vmin[1] = 10;
  sys.trains.vmax[1] = 12;
  show(8);
  press(kProfileX, row_y(1));
  ASSERT_EQ(dialog(), 6);
  // Row (VMIN..FREIN), button (0..4: -10 -1 reset +1 +10; 5: the wide cell), then vmin, vmax
  // and acc after the press.
  const int cases[][5] = {
      {1, 0, 5, 6, -1},                     // VMAX 12 - 10 = 6, vmin follows below it
      {2, 1, 5, 6, -1},                     // ACC xx - 1 stays xx
      {2, 0, 5, 6, -1},                     // ACC xx - 10 stays xx
      {2, 3, 5, 6, 1},                      // ACC xx + 1 = 1
      {2, 4, 5, 6, 11},                     // + 10
      {2, 4, 5, 6, 21},  {2, 4, 5, 6, 28},  // no higher than 28
      {2, 2, 5, 6, -1},                     // reset: no inertia
      {2, 4, 5, 6, 9},                      // xx + 10 = 9
      {0, 4, 5, 6, 9},                      // VMIN + 10 = 15, not below vmax: 5
      {1, 2, 5, 64, 9},                     // VMAX reset to 64
      {0, 2, 1, 64, 9},                     // VMIN reset to 1
      {3, 5, 1, 64, -1},                    // DÉFAUT
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c[0]) + "/" + std::to_string(c[1]));
    press(c[1] == 5 ? 405 : 105 + 50 * c[1], 465 + 20 * c[0]);
    EXPECT_EQ(sys.trains.vmin[1], c[2]);
    EXPECT_EQ(sys.trains.vmax[1], c[3]);
    EXPECT_EQ(sys.trains.acc[1], c[4]);
  }
  EXPECT_TRUE(drew("FERMER"));
  press(405, 465 + 80);
  EXPECT_EQ(dialog(), 0);
}

TEST_F(TrainScreens, NameDialogTakesEveryKeyButEscape) {
  put(4, -1);
  show(8);
  press(kNameX, row_y(4));
  EXPECT_TRUE(sys.screen.field_editing);
  for (int ch : {int{'8'}, int{'x'}, 8, int{'A'}, int{'B'}, int{'_'}, 0xE9, int{']'}, int{'1'},
                 int{'Z'}, int{'Q'}})
    window_key(sys, ch);
  EXPECT_EQ(sys.screen.screen_mode, 8);  // "8" went to the name, not to the screen switch
  window_key(sys, 13);
  EXPECT_EQ(sys.trains.name[4], "8AB -]1Z");  // 8 characters at most
  EXPECT_FALSE(sys.screen.field_editing);
  press(kNameX, row_y(4));
  window_key(sys, 'A');
  window_key(sys, 'B');
  window_key(sys, 13);
  EXPECT_EQ(sys.trains.name[4], "AB      ");
  press(kNameX, row_y(4));
  window_key(sys, 13);
  EXPECT_EQ(sys.trains.name[4], "AB      ");
  press(kNameX, row_y(4));
  window_key(sys, 27);  // leaving closes the dialog, nothing else
  EXPECT_EQ(dialog(), 0);
  EXPECT_FALSE(sys.screen.field_editing);
}

TEST_F(TrainScreens, KeysNeverDriveTrainsWhileADialogIsOpen) {
  put(0, 0);
  sys.trains.cmd[0] = 1000;
  sys.trains.plus_key[0] = 'a';
  show(8);
  press(kCmdX, row_y(0));
  EXPECT_EQ(dialog(), 3);
  window_key(sys, 'a');
  EXPECT_EQ(sys.trains.clav_level[0], 0);
  press(105, 565);
  window_key(sys, 'a');
  EXPECT_EQ(sys.trains.clav_level[0], 1);
}

TEST_F(TrainScreens, PlacingAndParkingRefusals) {
  put(1, 2);  // train 1 on canton 2
  put(6, -1);
  sys.cantons.ResvAUTO[9] = 1;
  sys.garage.ass_canton[4] = 9;
  sys.garage.num_train[4] = 1;
  sys.garage.ass_canton[5] = 10;
  sys.garage.res_auto[5] = 1;
  struct Case {
    int x, y;
    const char* box;  // empty: accepted
  };
  const Case cases[] = {
      {canton_x(2), canton_y(2), "Canton C2 refusé : il est tenu par le train n° 1."},
      {canton_x(9), canton_y(9), "Canton C9 refusé : il est réservé par un déplacement."},
      {siding_x(0), siding_y(0), "Garage g0 refusé : il n'est pas défini."},
      {siding_x(4), siding_y(4), "Garage g4 refusé : il contient le train n° 1."},
      {siding_x(5), siding_y(5), "Garage g5 refusé : il est réservé par un déplacement."},
  };
  show(9);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    press(kNameX, row_y(6));
    ASSERT_EQ(dialog(), 7);
    host.boxes.clear();
    press(c.x, c.y);
    EXPECT_EQ(last_box(), c.box);
    EXPECT_EQ(host.boxes.empty() ? "" : host.boxes[0].title, "ZIR - Avertissement");
    EXPECT_EQ(dialog(), 7);  // the dialog stays on its step
    window_key(sys, 27);
    show(9);
  }
  press(kNameX, row_y(6));
  press(siding_x(3), siding_y(3));  // parked in g3
  EXPECT_EQ(sys.trains.train_garage[6], 3);
  press(kNameX, row_y(6));
  press(canton_x(12), canton_y(12));
  EXPECT_EQ(last_box(), "Train n° 6 au garage g3 : le relier d'abord (colonne 'Garag').");
  window_key(sys, 27);
  sys.trains.mode[1] = "AUTO";
  show(9);
  press(kNameX, row_y(1));
  press(canton_x(12), canton_y(12));
  EXPECT_EQ(last_box(), "Train n° 1 refusé : il est conduit par un déplacement.");
  EXPECT_EQ(sys.cantons.num_train[12], -1);
}

TEST_F(TrainScreens, ALostTrainIsPlacedWhereItStandsAndParkingFreesItsCantons) {
  put(3, 0);
  sys.cantons.pb_capt_c[0] = 1;
  sys.io.det[6] = 1;  // where it really stands
  show(9);
  press(kNameX, row_y(3));
  press(canton_x(6), canton_y(6));
  EXPECT_EQ(sys.cantons.num_train[6], 3);
  EXPECT_EQ(dialog(), 0);
  // The siding dialog of screen 8 wants the train on the siding's canton.
  show(8);
  press(kGaragX, row_y(3));
  ASSERT_EQ(dialog(), 5);
  press(siding_x(3), siding_y(3));
  EXPECT_EQ(last_box(), "Garage g3 refusé : le train n'est pas sur son canton C5.");
  sys.cantons.num_train[5] = 3;
  press(siding_x(3), siding_y(3));
  EXPECT_EQ(sys.garage.cmd_lock[3], 1);
  EXPECT_EQ(dialog(), 0);
}

TEST_F(TrainScreens, PagesAreaSwitchesUnlessADialogIsOpen) {
  show(8);
  press(650, 50);
  EXPECT_EQ(sys.screen.screen_mode, 57);
  window_button_press(sys, MouseButton::Right, 650, 50);
  EXPECT_EQ(sys.screen.screen_mode, 57);
  press(kNumberX, row_y(0));
  press(650, 50);
  EXPECT_EQ(sys.screen.screen_mode, 57);
  window_key(sys, 27);
  show(9);
  press(650, 50);
  EXPECT_EQ(sys.screen.screen_mode, 58);
}

TEST_F(TrainScreens, CommandStateLeavesAMissingKeyBlank) {
  sys.trains.plus_key[2] = 'q';
  sys.trains.stop_key[2] = 's';
  sys.trains.acc_progressif = {5, 10, -1, 7, -1, -1, -1, -1};
  show(8);
  EXPECT_TRUE(drew("Touches   :-  s q+"));
  EXPECT_TRUE(drew("Paramètres accélération progressive (Vitesses) :  5, 10, "));
}

TEST_F(TrainScreens, RedrawEqualsPaint) {
  put(0, 0);
  put(18, 3);
  for (int screen : {8, 57, 9, 58}) {
    SCOPED_TRACE(screen);
    show(screen);
    expect_redraw_equals_paint(sys, host, [&] {
      sys.trains.vit[0] = screen;
      sys.trains.cons[18] = -screen;
      sys.trains.capt[0] = screen % 2;
      sys.trains.cantons_txt[18] = "c3 c4";
      sys.io.det[5] = 1;
      sys.io.can[1] = 3 * screen;
    });
  }
}

}  // namespace
