#include "trains/driving.h"

#include <gtest/gtest.h>

#include "block/block_engine.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "runtime/tick.h"
#include "tools/sim/recording_host.h"
#include "trains/canton_engine.h"
#include "trains/speed_profile.h"
#include "trains/train_config.h"

namespace {

struct Driving : ::testing::Test {
  RecordingHost host;
  System sys{host};
  TrainTable& t = sys.trains;
  CantonTable& c = sys.cantons;

  Driving() {
    t.plus_key[0] = 'a';
    t.stop_key[0] = 'z';
    t.minus_key[0] = 'e';
  }
  void keyboard_train(int n, int k) {
    t.en[n] = 1;
    t.cmd[n] = kClavCmdBase + k;
  }
  void keys(const char* typed) {
    for (const char* p = typed; *p; ++p) keyboard_driving(sys, *p);
  }
  void engine_ticks(int n) {
    for (int k = 0; k < n; ++k) {
      ++sys.ticks.tick;
      trains_engine_step(sys);
    }
  }
};

TEST_F(Driving, KeyboardLevelsThroughZeroWithDeceleration) {
  keyboard_train(2, 0);
  t.acc[2] = 14;
  t.dec[2] = 14;
  keys("aa");
  EXPECT_EQ(t.clav_level[0], 2);
  engine_ticks(16);
  EXPECT_EQ(t.vit[2], 32);
  EXPECT_EQ(t.cons[2], 32);
  keys("eee");
  EXPECT_EQ(t.clav_level[0], -1);
  std::vector<int> speeds;
  for (int k = 0; k < 25; ++k) {
    engine_ticks(1);
    speeds.push_back(t.vit[2]);
  }
  EXPECT_EQ(t.cmd_speed[2], -10);
  EXPECT_EQ(speeds[14], 2);
  EXPECT_EQ(speeds[15], 0);  // 2 - 2: stops on 0 before turning round
  EXPECT_EQ(speeds[16], -2);
  EXPECT_EQ(speeds.back(), -10);
}

TEST_F(Driving, KeyboardLimitsUpperCaseAndSharedKeys) {
  t.plus_key[1] = 'a';
  keys("AAAAA");  // upper case acts as lower case; the level stops at 3
  EXPECT_EQ(t.clav_level[0], 3);
  EXPECT_EQ(t.clav_level[1], 3);
  keys("z");
  EXPECT_EQ(t.clav_level[0], 0);
  EXPECT_EQ(t.clav_level[1], 3);
  keys("eeeee");
  EXPECT_EQ(t.clav_level[0], -3);
  t.plus_key[2] = 'Q';  // an upper-case key in a configuration never matches
  keys("Qq");
  EXPECT_EQ(t.clav_level[2], 0);
}

TEST_F(Driving, PotentiometerAtItsEndStopBrakes) {
  t.en[1] = 1;
  t.cmd[1] = 102;
  t.frein[1] = 11;
  t.vit[1] = 20;
  sys.io.can[1 * kCanPerCard + 2] = 255;
  sys.ticks.tick = 0;
  trains_engine_step(sys);
  EXPECT_EQ(t.cons[1], kBrakeRequest);
  EXPECT_EQ(t.cmd_speed[1], 0);
  EXPECT_EQ(t.vit[1], 17);
  // Reversed: 255 - 200 = 55 reads as backwards 72 from the centre.
  t.inv[1] = 1;
  sys.io.can[1 * kCanPerCard + 2] = 200;
  t.vit[1] = 0;
  trains_engine_step(sys);
  EXPECT_EQ(t.cmd_speed[1], pot_to_speed(55, false));
  EXPECT_EQ(t.vit[1], -37);
}

TEST_F(Driving, TrainsThatAreNotDrivenStandStill) {
  struct Case {
    const char* what;
    void (*setup)(TrainTable&);
  };
  const Case cases[] = {
      {"no command", [](TrainTable& tt) { tt.cmd[0] = -1; }},
      {"not on the layout", [](TrainTable& tt) { tt.en[0] = 0; }},
      {"in a siding", [](TrainTable& tt) { tt.train_garage[0] = 4; }},
      {"driven by a movement", [](TrainTable& tt) { tt.mode[0] = "auto"; }},
  };
  for (const Case& k : cases) {
    t.reset();
    keyboard_train(0, 0);
    t.clav_level[0] = 2;
    t.vit[0] = 12;
    t.cmd_speed[0] = 7;
    k.setup(t);
    trains_engine_step(sys);
    EXPECT_EQ(t.vit[0], 0) << k.what;
    EXPECT_EQ(t.cons[0], 0) << k.what;
    EXPECT_EQ(t.cmd_speed[0], 7) << k.what;
  }
}

// The block's results, produced by its rules on the train's canton, act on the target speed.
TEST_F(Driving, BlockResultsLimitSlowAndStop) {
  keyboard_train(0, 0);
  t.clav_level[0] = 3;
  place_train_on_canton(sys, 0, 1);
  BlockState& b = sys.block;
  b.vitmax[0].canton = 1;
  b.vitmax[0].limit = 20;
  trains_engine_step(sys);
  EXPECT_EQ(b.vitmax_lim[0], 20);
  EXPECT_EQ(t.cons[0], 20);
  // No limit; a block rule with no blocage list, the train still on canton 2: slowed to 10.
  b.vitmax[0].canton = -1;
  b.cant[0].canton = 1;
  b.cant[0].direction = 1;
  b.cant[0].ral = 10;
  b.cant[0].plusur[0] = 2;
  place_train_on_canton(sys, 0, 2);
  sys.io.det[canton_slot(2)] = 1;
  trains_engine_step(sys);
  EXPECT_EQ(b.bal_state[0], 1);
  EXPECT_EQ(t.cons[0], 10);
  // Canton 2 left: stopped.
  sys.io.det[canton_slot(2)] = 0;
  trains_engine_step(sys);
  EXPECT_EQ(b.bal_state[0], 2);
  EXPECT_EQ(t.cons[0], 0);
  sys.block.block_inhibit = 1;
  trains_engine_step(sys);
  EXPECT_EQ(t.cons[0], 64);
  b.halt[0].canton = 1;
  b.halt[0].direction = 1;
  b.halt[0].cond.var[0] = var_from_label(sys, "var_0");
  b.halt[0].cond.val[0] = 0;
  block_rules_changed(sys);
  trains_engine_step(sys);
  EXPECT_EQ(b.halt_flag[0], 1);
  EXPECT_EQ(t.vit[0], 0);
  EXPECT_EQ(t.cons[0], 64);
}

TEST_F(Driving, CantonsTextAndDetectionState) {
  place_train_on_canton(sys, 4, 12);
  place_train_on_canton(sys, 4, 105);
  const int s12 = canton_slot(12);
  c.ResvAUTO[s12] = 1;
  sys.io.det[s12] = 1;
  trains_engine_step(sys);
  EXPECT_EQ(t.cantons_txt[4], "c12 c12 c105 ");
  EXPECT_EQ(t.capt[4], 1);
  sys.io.det[s12] = 0;
  for (int n : {200, 201, 202}) place_train_on_canton(sys, 4, n);
  trains_engine_step(sys);
  EXPECT_EQ(t.cantons_txt[4], "c12 c105 c200 c201 c");  // cut at 20 characters
  EXPECT_EQ(t.capt[4], 0);
  t.train_garage[4] = 2;
  trains_engine_step(sys);
  EXPECT_EQ(t.capt[4], 2);
}

TEST_F(Driving, LostTrainFlags) {
  place_train_on_canton(sys, 3, 7);
  t.capt[3] = 0;
  t.name[3] = "LOCO 3  ";
  lost_train_step(sys);
  EXPECT_EQ(c.pb_capt_t[3], 1);
  EXPECT_EQ(c.pb_capt_c[canton_slot(7)], 1);
  EXPECT_EQ(c.pb_capt_c[canton_slot(8)], 0);
  EXPECT_EQ(t.panel_name[3], "LOCO 3  ");
  t.capt[3] = 1;
  lost_train_step(sys);
  EXPECT_EQ(c.pb_capt_t[3], 0);
  EXPECT_EQ(c.pb_capt_c[canton_slot(7)], 0);
}

TEST_F(Driving, CantonUpdateSpeedsAndOccupancy) {
  const int a = canton_slot(3), b = canton_slot(4), m = canton_slot(5), n = canton_slot(6);
  c.num_train[a] = 1;
  c.ResvMANU[a] = 1;
  c.Vit_MANU[a] = 20;
  c.num_train[b] = 1;
  c.Res2MANU[b] = 1;
  c.Vit_MANU[b] = -20;
  c.ResvAUTO[m] = 1;  // a movement's canton, even without a train number
  c.Vit_AUTO[m] = 12;
  c.Vit_MANU[n] = 30;  // no train: no speed
  sys.io.det[m] = 1;
  canton_update_step(sys);
  EXPECT_EQ(c.Vitesse[a], 20);
  EXPECT_EQ(c.Vitesse[b], -20);
  EXPECT_EQ(c.Vitesse[m], 12);
  EXPECT_EQ(c.Vitesse[n], 0);
  EXPECT_EQ(c.det2[a], 1);
  EXPECT_EQ(c.det2p[a], 1);
  EXPECT_EQ(c.det2[b], 0);  // only reserved ahead: not occupied
  EXPECT_EQ(c.det2m[b], 0);
  EXPECT_EQ(c.det2p[m], 1);
  c.Vit_MANU[a] = -3;
  canton_update_step(sys);
  EXPECT_EQ(c.det2p[a], 0);
  EXPECT_EQ(c.det2m[a], 0);
}

struct Remote : Driving {
  void codes(std::initializer_list<int> list) {
    for (int code : list) {
      sys.screen.remote_key = code;
      remote_step(sys);
      EXPECT_EQ(sys.screen.remote_key, -1);
    }
  }
  void idle(int ticks) {
    for (int k = 0; k < ticks; ++k) remote_step(sys);
  }
};

TEST_F(Remote, TurnoutNumbersWithTwoDigits) {
  sys.general.ir_aig_digit = 2;
  codes({1, 2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 1);  // toggled
  codes({1, 2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 0);
  codes({20, 1, 2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 1);
  codes({20, 1, 2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 1);  // set, not toggled
  codes({21, 1, 2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 0);
  EXPECT_EQ(sys.remote.remote_aig_mode, -1);
}

TEST_F(Remote, AnyOtherCodeStartsANewNumber) {
  sys.general.ir_aig_digit = 2;
  codes({7, 20, 0, 1});  // the stray 7 does not count towards the two digits of 01
  EXPECT_EQ(sys.aig.aig_cmd[0], 0);
  EXPECT_EQ(sys.aig.aig_cmd[1], 1);
}

TEST_F(Remote, ADigitAloneIsForgottenAfter20Ticks) {
  sys.general.ir_aig_digit = 2;
  codes({1});
  idle(19);
  codes({2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 1);
  codes({1});
  idle(20);
  EXPECT_EQ(sys.remote.remote_digits, 0);
  codes({2});
  EXPECT_EQ(sys.aig.aig_cmd[12], 1);
  EXPECT_EQ(sys.remote.remote_number, 2);
}

TEST_F(Remote, LockedTurnoutIsNotThrownButTheNumberIsConsumed) {
  sys.aig.aig_reserved[3] = 1;
  codes({20, 3});
  EXPECT_EQ(sys.aig.aig_cmd[3], 0);
  EXPECT_EQ(sys.remote.remote_digits, 0);
  EXPECT_EQ(sys.remote.remote_aig_mode, -1);
}

TEST_F(Remote, KeyboardConfigurationCodes) {
  codes({42, 42, 42, 42});
  EXPECT_EQ(t.clav_level[0], 3);
  codes({33, 41, 41, 41, 41});
  EXPECT_EQ(t.clav_level[3], -3);
  codes({40});
  EXPECT_EQ(t.clav_level[3], 0);
  EXPECT_EQ(t.clav_level[0], 3);
  codes({50});
  EXPECT_EQ(t.clav_level[0], 0);
}

TEST_F(Remote, LongDigitRunsStaySafe) {
  sys.general.ir_aig_digit = 3;
  codes({9, 9, 9});  // 999 names no turnout: the digits are kept until forgotten
  for (int k = 0; k < 20; ++k) codes({9});
  idle(20);
  codes({0, 0, 5});
  EXPECT_EQ(sys.aig.aig_cmd[5], 1);
}

}  // namespace
