// The block evaluations through the trains engine: the faults mended in the rules' reading of
// the layout, and the shared pass checked against the literal order on random layouts.
#include "block/block_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "block/aigauto_engine.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "tools/sim/recording_host.h"
#include "trains/canton_engine.h"
#include "trains/speed_profile.h"

namespace {

struct BlockEngineTest : ::testing::Test {
  RecordingHost host;
  System sys{host};
  BlockState& b = sys.block;
  CantonTable& c = sys.cantons;

  // Train n on keyboard configuration n at `level`, held on `canton`.
  void drive(int n, int canton, int level) {
    sys.trains.en[n] = 1;
    sys.trains.cmd[n] = kClavCmdBase + n;
    sys.trains.clav_level[n] = level;
    sys.trains.acc[n] = 10;
    sys.trains.dec[n] = 10;
    hold(n, canton);
  }
  void hold(int n, int canton) {
    const int s = canton_slot(canton);
    c.num_train[s] = n;
    c.ResvMANU[s] = 1;
    sys.io.det[s] = 1;
  }
  void cant_rule(int r, int canton, int direction, int dec, int ral) {
    b.cant[r].canton = canton;
    b.cant[r].direction = direction;
    b.cant[r].dec = dec;
    b.cant[r].ral = ral;
  }
};

// A held canton whose train is -1 (held without a train) names no train: its rules are passed
// over instead of reaching for entry -1 of the per-train tables.
TEST_F(BlockEngineTest, RuleOnHeldCantonWithoutTrainIsSkipped) {
  drive(0, 1, 1);
  c.ResvMANU[canton_slot(5)] = 1;
  c.Vit_MANU[canton_slot(5)] = 40;
  sys.io.det[canton_slot(5)] = 1;
  b.vitmax[0].canton = 5;
  b.vitmax[0].limit = 10;
  b.halt[0].canton = 5;
  b.halt[0].direction = 1;
  cant_rule(0, 5, 1, 3, -1);
  b.aigauto[0].canton = 5;
  b.aigauto[0].speed = 5;
  b.aigauto[0].aig[0] = 2;
  b.aigauto[0].pos[0] = 1;
  sys.aig.pos0_aig[2] = 1;
  for (BlockOrder order : {BlockOrder::Literal, BlockOrder::Shared}) {
    b.order = order;
    trains_engine_step(sys);
    EXPECT_EQ(b.vitmax[0].active, 0);
    EXPECT_EQ(b.halt[0].active, 0);
    EXPECT_EQ(b.cant[0].state, 0);
    EXPECT_EQ(b.aigauto[0].done, 0);
    EXPECT_EQ(sys.aig.aig_cmd[2], 0);
    EXPECT_EQ(b.bal_cant_p[canton_slot(5)], 0);
  }
}

// Two rules on canton 5 forward: the first stops the train, the second (its way open) does
// not. The signal shows the stop, whatever the order of the rules.
TEST_F(BlockEngineTest, StopSignalStaysOnWhileAnyRuleOfItsCantonStops) {
  drive(0, 5, 2);
  hold(1, 6);
  cant_rule(0, 5, 1, 3, -1);
  b.cant[0].blocage.var[0] = 6;  // det_6: canton 6 held by another train
  b.cant[0].blocage.val[0] = 1;
  cant_rule(1, 5, 1, 3, -1);
  b.cant[1].blocage.var[0] = var_from_label(sys, "in_3");
  b.cant[1].blocage.val[0] = 1;
  for (BlockOrder order : {BlockOrder::Literal, BlockOrder::Shared}) {
    b.order = order;
    trains_engine_step(sys);
    EXPECT_EQ(b.cant[0].state, 2);
    EXPECT_EQ(b.cant[1].state, 0);
    EXPECT_EQ(b.bal_state[0], 2);
    EXPECT_EQ(var_read(sys, var_from_label(sys, "bal_cant_p_5")), 1);
    EXPECT_EQ(b.bal_cant_m[canton_slot(5)], 0);
  }
}

// A stop from one rule and a slow-down from a later one for the same train: the train stops,
// with the stopping rule's deceleration.
TEST_F(BlockEngineTest, LaterSlowDownNeverUndoesAStop) {
  drive(0, 5, 3);
  hold(0, 4);  // still on canton 4, which only the second rule must have left
  hold(1, 6);
  cant_rule(0, 5, 1, 2, 20);
  b.cant[0].blocage.var[0] = 6;
  b.cant[0].blocage.val[0] = 1;
  cant_rule(1, 5, 1, 7, 15);
  b.cant[1].plusur[0] = 4;
  b.cant[1].blocage.var[0] = 6;
  b.cant[1].blocage.val[0] = 1;
  sys.trains.vit[0] = 30;
  trains_engine_step(sys);
  EXPECT_EQ(b.cant[0].state, 2);
  EXPECT_EQ(b.cant[1].state, 0);
  EXPECT_EQ(b.bal_state[0], 2);
  EXPECT_EQ(b.bal_dec[0], 2);
  EXPECT_EQ(sys.trains.cons[0], 0);
  EXPECT_LT(sys.trains.vit[0], 30);
}

// A potentiometer at its end stop asks to brake; a backward slow-down in force must not turn
// that into running on at the slow-down speed.
TEST_F(BlockEngineTest, BrakeRequestIsNotRaisedToTheSlowDownSpeed) {
  sys.trains.en[0] = 1;
  sys.trains.cmd[0] = 0;  // potentiometer can_0
  sys.trains.frein[0] = 5;
  sys.trains.dec[0] = 20;
  sys.io.can[0] = 255;  // end stop: brake
  hold(0, 5);
  hold(0, 4);
  hold(1, 6);
  c.Vit_MANU[canton_slot(5)] = -30;
  sys.trains.vit[0] = -30;
  cant_rule(0, 5, -1, 3, 15);
  b.cant[0].plusur[0] = 4;
  b.cant[0].blocage.var[0] = 6;
  b.cant[0].blocage.val[0] = 1;
  trains_engine_step(sys);
  ASSERT_EQ(b.bal_state[0], 1);
  EXPECT_EQ(b.bal_ral[0], -15);
  EXPECT_EQ(sys.trains.cons[0], kBrakeRequest);
  EXPECT_GT(sys.trains.vit[0], -30);
}

// Every list full to its last slot, with no end marker: the loops stop at the table's size.
TEST_F(BlockEngineTest, FullListsWithoutEndMarker) {
  drive(0, 5, 3);
  for (int r = 0; r < kVitmaxRules; ++r) {
    b.vitmax[r].canton = 5;
    b.vitmax[r].limit = 10 + r % 20;
    b.halt[r].canton = 5;
    b.halt[r].direction = 1;
    for (int k = 0; k < kRuleConditions; ++k) {
      b.vitmax[r].cond.var[k] = var_from_label(sys, "var_1");
      b.vitmax[r].cond.val[k] = 0;
      b.halt[r].cond.var[k] = var_from_label(sys, "var_1");
      b.halt[r].cond.val[k] = 1;
    }
  }
  for (int r = 0; r < kCantRules; ++r) {
    cant_rule(r, 5, 1, 3, 10);
    b.cant[r].plusur.fill(7);
    b.cant[r].blocage.var.fill(var_from_label(sys, "var_1"));
    b.cant[r].blocage.val.fill(0);
    AigautoRule& a = b.aigauto[r];
    a.canton = 5;
    a.speed = 1;
    a.plusur.fill(7);
    a.cond.var.fill(var_from_label(sys, "var_1"));
    a.cond.val.fill(0);
    for (int k = 0; k < kAigautoActions; ++k) {
      a.aig[k] = k;
      a.pos[k] = 1;
      sys.aig.pos0_aig[k] = 1;
    }
  }
  block_rules_changed(sys);
  trains_engine_step(sys);
  EXPECT_EQ(b.vitmax_lim[0], 10);
  EXPECT_EQ(b.vitmax[kVitmaxRules - 1].active, 1);
  EXPECT_EQ(b.halt_flag[0], 0);
  EXPECT_EQ(b.bal_state[0], 2);
  EXPECT_EQ(b.cant[kCantRules - 1].state, 2);
  EXPECT_EQ(b.aigauto[kAigautoRules - 1].done, 1);
  EXPECT_EQ(sys.aig.aig_cmd[kAigautoActions - 1], 1);
}

// A detection condition of an automatic-turnout rule also needs the canton free of other trains:
// reserved ahead of another train, it fails before that train is even detected there.
TEST_F(BlockEngineTest, AigautoDetectionConditionFailsWhileAnotherTrainReservesTheCanton) {
  drive(0, 10, 1);
  AigautoRule& a = b.aigauto[0];
  a.canton = 10;
  a.speed = 5;
  a.cond.var[0] = 11;  // det_11 . 0
  a.cond.val[0] = 0;
  a.aig[0] = 3;
  a.pos[0] = 1;
  sys.aig.pos0_aig[3] = 1;
  const int s11 = canton_slot(11);
  const struct {
    int num_train, Res2MANU, expected_done;
  } cases[] = {{1, 1, 0}, {0, 1, 1}, {-1, 0, 1}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.num_train);
    a.done = 0;
    sys.aig.aig_cmd[3] = 0;
    c.num_train[s11] = k.num_train;
    c.Res2MANU[s11] = k.Res2MANU;
    trains_engine_step(sys);
    EXPECT_EQ(a.done, k.expected_done);
    EXPECT_EQ(sys.aig.aig_cmd[3], k.expected_done);
  }
}

// One blocage entry at a time, train 0 running forward on canton 5 (its rule stops it when the
// way is closed). A detection entry means "another train is there", whatever value is written;
// a turnout position holds while the turnout moves.
TEST(BlockWayAhead, EntriesOneAtATime) {
  const int s6 = canton_slot(6);
  const struct Case {
    const char* name;
    const char* label;
    int value;
    std::function<void(System&)> setup;
    int state;
  } cases[] = {
      {"free canton", "det_6", 1, [](System&) {}, 0},
      {"detected, no train known", "det_6", 1, [&](System& s) { s.io.det[s6] = 1; }, 2},
      {"value written is ignored", "det_6", 0, [&](System& s) { s.io.det[s6] = 1; }, 2},
      {"reserved ahead of another train", "det_6", 1,
       [&](System& s) {
         s.cantons.num_train[s6] = 3;
         s.cantons.Res2MANU[s6] = 1;
       },
       2},
      {"held by a movement", "det_6", 1, [&](System& s) { s.cantons.ResvAUTO[s6] = 1; }, 2},
      {"the train's own canton", "det_6", 1,
       [&](System& s) {
         s.cantons.num_train[s6] = 0;
         s.cantons.ResvMANU[s6] = 1;
         s.io.det[s6] = 1;
       },
       0},
      {"turnout at rest elsewhere", "pos1_aig_2", 1, [](System& s) { s.aig.pos0_aig[2] = 1; }, 0},
      {"turnout at rest there", "pos1_aig_2", 1, [](System& s) { s.aig.pos1_aig[2] = 1; }, 2},
      {"turnout moving", "pos1_aig_2", 1, [](System&) {}, 2},
      {"a plain variable", "var_7", 0, [](System&) {}, 2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    RecordingHost h;
    System fresh(h);
    CantRule& rule = fresh.block.cant[0];
    rule.canton = 5;
    rule.direction = 1;
    rule.blocage.var[0] = var_from_label(fresh, k.label);
    rule.blocage.val[0] = k.value;
    fresh.trains.en[0] = 1;
    fresh.trains.cmd[0] = kClavCmdBase;
    fresh.trains.clav_level[0] = 1;
    fresh.cantons.num_train[canton_slot(5)] = 0;
    fresh.cantons.ResvMANU[canton_slot(5)] = 1;
    k.setup(fresh);
    block_rules_changed(fresh);
    trains_engine_step(fresh);
    EXPECT_EQ(rule.state, k.state);
  }
}

// A rule that fired is armed again once the train has left its canton or stands still on it.
TEST_F(BlockEngineTest, AigautoRearming) {
  drive(0, 1, 1);  // keeps a driven train in every pass
  const int s10 = canton_slot(10);
  const struct {
    const char* name;
    int held, detected, vit_manu, level;
    int done;
  } cases[] = {
      {"still there and moving", 1, 1, 10, 1, 1},
      {"held, not detected, moving", 1, 0, 10, 1, 1},
      {"detected, no longer held", 0, 1, 10, 1, 1},
      {"left", 0, 0, 10, 1, 0},
      {"the canton still receives a speed", 1, 1, 10, 0, 1},
      {"standing still", 1, 1, 0, 0, 0},
  };
  AigautoRule& a = b.aigauto[0];
  a.canton = 10;
  a.speed = 50;  // never reached here: the rule only re-arms
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    a.done = 1;
    c.num_train[s10] = 2;
    c.ResvMANU[s10] = k.held;
    sys.io.det[s10] = k.detected;
    c.Vit_MANU[s10] = k.vit_manu;
    sys.trains.cmd_speed[2] = level_to_speed(k.level);
    trains_engine_step(sys);
    EXPECT_EQ(a.done, k.done);
  }
}

// ---- The shared pass against the literal order -------------------------------------------

struct RandomLayout {
  explicit RandomLayout(unsigned seed) : rng(seed) {}
  std::mt19937 rng;
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
  bool chance(int percent) { return pick(0, 99) < percent; }

  int canton() { return canton_number(pick(0, kCantons - 1)); }
  // Variables the rules may read: detections, inputs, user variables, turnout positions.
  void condition(System& sys, int32_t& var, int32_t& val) {
    switch (pick(0, 3)) {
      case 0:
        var = canton();
        break;
      case 1:
        var = 400 + pick(0, 3) * 100 + pick(0, 9);
        break;
      case 2:
        var = 5400 + pick(0, 9);
        break;
      default:
        var = (chance(50) ? 5100 : 5200) + pick(0, 7);
    }
    val = pick(0, 1);
    (void)sys;
  }
  template <int N>
  void conditions(System& sys, VarList<N>& list, int count) {
    for (int k = 0; k < count; ++k) condition(sys, list.var[k], list.val[k]);
  }
  void plusur(std::array<int32_t, kPlusurCantons>& list) {
    const int n = pick(0, kPlusurCantons);
    for (int k = 0; k < n; ++k) list[k] = canton();
  }
  int signed_speed(int hi) { return (chance(50) ? 1 : -1) * pick(1, hi); }

  void fill(System& sys) {
    TrainTable& t = sys.trains;
    CantonTable& c = sys.cantons;
    for (int i = 0; i < kTrainEntries; ++i) {
      t.en[i] = chance(80) ? 1 : 0;
      t.cmd[i] = chance(15)   ? -1
                 : chance(40) ? kClavCmdBase + pick(0, kClavConfs - 1)
                              : pick(0, 3) * 100 + pick(0, kCanPerCard - 1);
      t.cmd_speed[i] = pick(-64, 64);
      t.vit[i] = pick(-64, 64);
      t.acc[i] = pick(0, 28);
      t.dec[i] = pick(-1, 28);
      t.frein[i] = pick(-1, 28);
    }
    for (int k = 0; k < kClavConfs; ++k) t.clav_level[k] = pick(-3, 3);
    for (auto& v : sys.io.can) v = chance(10) ? 255 : pick(0, 255);
    for (int s = 0; s < kCantons; ++s) {
      c.num_train[s] = chance(15) ? -1 : pick(0, 15);
      c.ResvMANU[s] = chance(70) ? 1 : 0;
      c.Res2MANU[s] = chance(10) ? 1 : 0;
      c.ResvAUTO[s] = chance(5) ? 1 : 0;
      c.Inverse[s] = chance(30) ? 1 : 0;
      c.Vit_MANU[s] = chance(40) ? 0 : pick(-64, 64);
      sys.io.det[s] = chance(60) ? 1 : 0;
    }
    for (auto& v : sys.io.in) v = pick(0, 1);
    for (int k = 0; k < 10; ++k) sys.logic.var[k] = pick(0, 1);
    for (int n = 0; n < kTurnouts; ++n) {
      sys.aig.pos0_aig[n] = chance(60) ? 1 : 0;
      sys.aig.pos1_aig[n] = chance(40) ? 1 : 0;  // both at once now and then, as a script may
      sys.aig.aig_reserved[n] = chance(10) ? 1 : 0;
      sys.aig.aig_cmd[n] = pick(0, 1);
    }
    sys.general.aigauto = chance(80) ? 1 : 0;
    fill_rules(sys);
  }

  void fill_rules(System& sys) {
    BlockState& b = sys.block;
    for (int r = 0, n = pick(0, kVitmaxRules); r < n; ++r) {
      b.vitmax[r].canton = canton();
      b.vitmax[r].limit = signed_speed(40);
      conditions(sys, b.vitmax[r].cond, pick(0, 2));
    }
    for (int r = 0, n = pick(0, kHaltRules); r < n; ++r) {
      b.halt[r].canton = canton();
      b.halt[r].direction = chance(50) ? 1 : -1;
      conditions(sys, b.halt[r].cond, pick(0, 3));
    }
    for (int r = 0, n = pick(0, kCantRules); r < n; ++r) {
      CantRule& rule = b.cant[r];
      rule.canton = canton();
      rule.direction = chance(50) ? 1 : -1;
      rule.dec = chance(30) ? -1 : pick(1, 28);
      rule.ral = chance(30) ? -1 : pick(1, 64);
      plusur(rule.plusur);
      const int entries = pick(0, 8);
      for (int k = 0; k < entries; ++k) {
        if (k > 0 && k + 1 < entries && rule.blocage.var[k - 1] != kOrMarker && chance(25)) {
          rule.blocage.var[k] = kOrMarker;
          rule.blocage.val[k] = 0;
        } else {
          condition(sys, rule.blocage.var[k], rule.blocage.val[k]);
        }
      }
    }
    for (int r = 0, n = pick(0, kAigautoRules); r < n; ++r) {
      AigautoRule& rule = b.aigauto[r];
      rule.canton = canton();
      rule.speed = signed_speed(30);
      rule.done = pick(0, 1);
      plusur(rule.plusur);
      conditions(sys, rule.cond, pick(0, 2));
      for (int k = 0, m = pick(0, 3); k < m; ++k) {
        rule.aig[k] = pick(0, 7);
        rule.pos[k] = pick(0, 1);
      }
    }
    block_rules_changed(sys);
  }

  // Between two ticks: some detections and speeds change, as they would on a layout.
  void shake(System& sys) {
    for (int s = 0; s < kCantons; ++s) {
      if (chance(10)) sys.io.det[s] ^= 1;
      if (chance(10)) sys.cantons.Vit_MANU[s] = pick(-64, 64);
    }
    for (int k = 0; k < kClavConfs; ++k)
      if (chance(30)) sys.trains.clav_level[k] = pick(-3, 3);
    for (int n = 0; n < kTurnouts; ++n)
      if (chance(5)) sys.aig.aig_reserved[n] ^= 1;
  }
};

template <typename A>
void expect_same(const A& a, const A& b, const char* what) {
  for (size_t k = 0; k < a.size(); ++k) EXPECT_EQ(a[k], b[k]) << what << " " << k;
}

void expect_same_results(const System& x, const System& y) {
  const BlockState& a = x.block;
  const BlockState& b = y.block;
  expect_same(x.trains.vit, y.trains.vit, "vit");
  expect_same(x.trains.cons, y.trains.cons, "cons");
  expect_same(a.vitmax_lim, b.vitmax_lim, "vitmax_lim");
  expect_same(a.halt_flag, b.halt_flag, "halt_flag");
  expect_same(a.bal_state, b.bal_state, "bal_state");
  expect_same(a.bal_dec, b.bal_dec, "bal_dec");
  expect_same(a.bal_ral, b.bal_ral, "bal_ral");
  expect_same(a.bal_cant_p, b.bal_cant_p, "bal_cant_p");
  expect_same(a.bal_cant_m, b.bal_cant_m, "bal_cant_m");
  expect_same(x.aig.aig_cmd, y.aig.aig_cmd, "aig_cmd");
  for (int r = 0; r < kVitmaxRules; ++r) EXPECT_EQ(a.vitmax[r].active, b.vitmax[r].active) << r;
  for (int r = 0; r < kHaltRules; ++r) EXPECT_EQ(a.halt[r].active, b.halt[r].active) << r;
  for (int r = 0; r < kCantRules; ++r) EXPECT_EQ(a.cant[r].state, b.cant[r].state) << r;
  for (int r = 0; r < kAigautoRules; ++r) EXPECT_EQ(a.aigauto[r].done, b.aigauto[r].done) << r;
}

TEST(BlockPass, SharedPassGivesTheLiteralOrderResults) {
  int acted = 0;  // rules that did something, so that the comparison is not empty
  for (unsigned seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RecordingHost host_a;
    RecordingHost host_b;
    System shared(host_a);
    System literal(host_b);
    RandomLayout ra(seed);
    RandomLayout rb(seed);
    ra.fill(shared);
    rb.fill(literal);
    literal.block.order = BlockOrder::Literal;
    literal.block.cells.owner = nullptr;  // the reference reads every variable through the bus
    ASSERT_FALSE(shared.block.rules_read_own_outputs);
    for (int tick = 0; tick < 4; ++tick) {
      trains_engine_step(shared);
      trains_engine_step(literal);
      expect_same_results(shared, literal);
      if (::testing::Test::HasFailure()) return;
      for (const auto& r : shared.block.cant) acted += r.state > 0;
      for (const auto& r : shared.block.vitmax) acted += r.active > 0;
      for (const auto& r : shared.block.halt) acted += r.active > 0;
      for (const auto& r : shared.block.aigauto) acted += r.done > 0;
      ra.shake(shared);
      rb.shake(literal);
    }
  }
  EXPECT_GT(acted, 1000);
}

// A rule that reads a turnout command or a stop signal sees what the pass itself writes: the
// trains engine then runs every evaluation in full, for each train. Here train 1's turnout rule
// fires only once train 1's new speed is known, after train 0 was processed; train 0's limit,
// which needs that turnout command, acts in the later evaluation.
TEST_F(BlockEngineTest, RulesReadingWhatThePassWritesRunInFull) {
  drive(0, 1, 3);
  drive(1, 2, 1);
  b.vitmax[0].canton = 1;
  b.vitmax[0].limit = 20;
  b.vitmax[0].cond.var[0] = var_from_label(sys, "aig_cmd_3");
  b.vitmax[0].cond.val[0] = 1;
  b.aigauto[0].canton = 2;
  b.aigauto[0].speed = 5;
  b.aigauto[0].aig[0] = 3;
  b.aigauto[0].pos[0] = 1;
  sys.aig.pos0_aig[3] = 1;
  block_rules_changed(sys);
  EXPECT_TRUE(b.rules_read_own_outputs);
  trains_engine_step(sys);
  EXPECT_EQ(sys.aig.aig_cmd[3], 1);
  EXPECT_EQ(b.vitmax[0].active, 1);
  EXPECT_EQ(b.vitmax_lim[0], 20);
  EXPECT_EQ(sys.trains.cons[0], 64);  // train 0 read its limit before the turnout was commanded
  trains_engine_step(sys);
  EXPECT_EQ(sys.trains.cons[0], 20);

  b.vitmax[0].cond.var[0] = var_from_label(sys, "bal_cant_m_3");
  block_rules_changed(sys);
  EXPECT_TRUE(b.rules_read_own_outputs);
  b.vitmax[0].cond.var[0] = var_from_label(sys, "pos1_aig_3");
  block_rules_changed(sys);
  EXPECT_FALSE(b.rules_read_own_outputs);
}

}  // namespace
