#include "moves/depl_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/system.h"
#include "core/var_bus.h"
#include "runtime/startup.h"
#include "runtime/tick.h"
#include "support/temp_dir.h"
#include "tools/cards/emu/card_bank.h"
#include "tools/cards/emu/emulated_port.h"
#include "tools/sim/recording_host.h"

namespace {

// A movement set up by hand on a bare System: train 3 on canton 10 (its main canton), the
// list c10+20 c11+20 g2, turnout 4 to 1, servo 101 to 300, stop in siding 3 (on canton 12);
// start variables: an `sdeb` whose label was unknown (-1) and an `sc` on var_1.
struct HandMovement {
  HandMovement() {
    CantonTable& c = sys.cantons;
    c.num_train[10] = 3;
    c.ResvMANU[10] = 1;
    sys.trains.en[3] = 1;
    sys.trains.en_auto[3] = 1;
    sys.garage.ass_canton[2] = 11;
    sys.garage.ass_canton[3] = 12;
    DeplRecord& r = record();
    const int kList[] = {10, 20, 11, 20, kSidingCanton + 2, -1};
    for (int k = 0; k < 6; ++k) r[DEPL_CANTONS + k] = kList[k];
    r[DEPL_TURNOUTS] = 4;
    r[DEPL_TURNOUTS + 1] = 1;
    r[DEPL_SERVO] = 101;
    r[DEPL_SERVO_POSITION] = 300;
    r[DEPL_START] = 10;
    r[DEPL_STOP] = kSidingCanton + 3;
    r[DEPL_FIN] = 5400;
    r[DEPL_FIN + 1] = 1;
    const int kVariables[] = {0, -1, 4, 5401};
    for (int k = 0; k < 4; ++k) r[DEPL_VARIABLES + k] = kVariables[k];
    r[DEPL_START_REQUEST] = 1;
  }
  DeplRecord& record() { return sys.depl.depl_record[0]; }
  int state() { return record()[DEPL_STATE]; }

  TestSystem t;
  System& sys = t.sys;
};

TEST(DeplEngine, EachHeldOrRefusedItemKeepsTheMovementWaiting) {
  struct Case {
    const char* name;
    std::function<void(System&)> change;
    bool starts;
  };
  const Case kCases[] = {
      {"all free", [](System&) {}, true},
      {"its own train reserved ahead",
       [](System& s) {
         s.cantons.Res2MANU[11] = 1;
         s.cantons.num_train[11] = 3;
       },
       true},
      {"train not allowed in automatic runs", [](System& s) { s.trains.en_auto[3] = 0; }, false},
      {"train out of service", [](System& s) { s.trains.en[3] = 0; }, false},
      {"another train required", [](System& s) { s.depl.depl_record[0][DEPL_REQUIRED_TRAIN] = 5; },
       false},
      {"no manual train on the start canton", [](System& s) { s.cantons.ResvMANU[10] = 0; }, false},
      {"stop siding isolated", [](System& s) { s.garage.state_lock[3] = 1; }, false},
      {"canton held by a movement", [](System& s) { s.cantons.ResvAUTO[11] = 1; }, false},
      {"canton is another train's main canton",
       [](System& s) {
         s.cantons.ResvMANU[11] = 1;
         s.cantons.num_train[11] = 4;
       },
       false},
      {"canton reserved ahead of another manual train",
       [](System& s) {
         s.cantons.Res2MANU[11] = 1;
         s.cantons.num_train[11] = 4;
       },
       false},
      {"direction refused", [](System& s) { s.cantons.sens_ok[11] = 2; }, false},
      {"siding held", [](System& s) { s.garage.res_auto[2] = 1; }, false},
      {"siding isolated", [](System& s) { s.garage.state_lock[2] = 1; }, false},
      {"turnout held", [](System& s) { s.aig.aig_reserved[4] = 1; }, false},
      {"servo held", [](System& s) { s.io.srv_reserved[6] = 1; }, false},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.name);
    HandMovement m;
    k.change(m.sys);
    depl_tick(m.sys);
    if (!k.starts) {
      EXPECT_EQ(m.state(), DEPL_WAIT_RESOURCES);
      EXPECT_EQ(m.sys.cantons.ResvAUTO[10], 0);
      EXPECT_EQ(m.sys.trains.mode[3], "SEL");
      continue;
    }
    // Held and commanded; the turnout is not in position yet.
    EXPECT_EQ(m.state(), DEPL_WAIT_TURNOUTS);
    EXPECT_EQ(m.sys.cantons.ResvAUTO[11], 1);
    EXPECT_EQ(m.sys.cantons.num_train[11], 3);
    EXPECT_EQ(m.sys.garage.res_auto[2], 1);
    EXPECT_EQ(m.sys.garage.res_auto[3], 1);
    EXPECT_EQ(m.sys.aig.aig_reserved[4], 1);
    EXPECT_EQ(m.sys.aig.aig_cmd[4], 1);
    EXPECT_EQ(m.sys.io.srv_reserved[6], 1);
    EXPECT_EQ(m.sys.io.srv_cmd[kSrvCmdPerCard + 1], 300);
    EXPECT_EQ(m.sys.trains.mode[3], "AUTO");
    EXPECT_EQ(m.sys.logic.var[1], 1);
    EXPECT_EQ(m.t.log(), "");  // nothing written to the unknown variable
  }
}

TEST(DeplEngine, OfTwoMovementsWantingTheSameCantonsTheLowerNumberStarts) {
  HandMovement m;
  m.sys.depl.depl_record[7] = m.record();
  depl_tick(m.sys);
  EXPECT_EQ(m.state(), DEPL_WAIT_TURNOUTS);
  EXPECT_EQ(m.sys.depl.depl_record[7][DEPL_STATE], DEPL_WAIT_RESOURCES);
}

// The last canton entry takes the train back when no canton of the list sees it: a siding at
// the end of the list is passed over, a list without a canton gives no main canton at all.
TEST(DeplEngine, ReleaseWithoutDetectionUsesTheLastCantonOfTheList) {
  HandMovement m;
  m.record()[DEPL_STOP] = 12;
  depl_tick(m.sys);
  m.record()[DEPL_STOP_REQUEST] = 1;
  m.sys.cantons.ResvMANU.fill(0);
  depl_tick(m.sys);
  EXPECT_EQ(m.state(), DEPL_IDLE);
  EXPECT_EQ(m.sys.cantons.ResvMANU[11], 1);
  EXPECT_EQ(m.sys.cantons.ResvMANU[10], 0);
  EXPECT_EQ(m.sys.garage.res_auto[2], 0);

  HandMovement only_siding;
  DeplRecord& r = only_siding.record();
  r[DEPL_CANTONS] = kSidingCanton + 2;
  r[DEPL_CANTONS + 1] = -1;
  r[DEPL_CANTONS + 2] = -1;
  depl_tick(only_siding.sys);
  r[DEPL_STOP_REQUEST] = 1;
  only_siding.sys.cantons.ResvMANU.fill(0);
  depl_tick(only_siding.sys);
  EXPECT_EQ(only_siding.state(), DEPL_IDLE);
  for (int slot = 0; slot < kCantons; ++slot) EXPECT_EQ(only_siding.sys.cantons.ResvMANU[slot], 0);
}

TEST(DeplEngine, StateTextsAreThirtyOneCharacters) {
  for (int s = 0; s < kDeplStates; ++s) {
    const std::string text = depl_state_text(s);
    size_t characters = 0;
    for (unsigned char ch : text) characters += (ch & 0xC0) != 0x80;
    EXPECT_EQ(characters, 31u) << s;
  }
  EXPECT_STREQ(depl_state_text(1), "EN ATTENTE RÉSERVE CANT ET AIG ");
  EXPECT_STREQ(depl_state_text(16), "");
}

// The whole program on an emulated card 0: a train on canton 0 driven by movement 0 towards
// siding 0 (on canton 1), with the servo 1; movement 1 runs on the same cantons without it.
constexpr const char* kLayout =
    "#general\n[\n]\n"
    "#garage\n[\ng0: c1 out5 pol1\n]\n"
    "#train\n[\ntrain00 : LOCO_000 clav0 c0 en_auto 10-50-14-14-xx\n]\n"
    "#depl\n[\nd0 start:c0 c0+30 c1+30 g0 srv1:600 stop:g0 fin:var_9\n"
    "d1 start:c0 c0+30 c1+30 fin:var_9\n]\n";

struct CardLayout {
  CardLayout() : bank(std::make_shared<CardBank>(std::vector<int>{0})) {
    host.port_factory = [this](int com, std::string&) -> std::unique_ptr<SerialPort> {
      if (com != 1) return nullptr;
      return std::make_unique<EmulatedPort>(bank, [this](int ms) { host.sleep_ms(ms); });
    };
    dir.write("config.txt", kLayout);
    startup_before_window(sys);
    startup_window_create(sys);
    EXPECT_EQ(bank->apply({"det", "0", "0", "1"}), "");
    sys.io.srv_cmd[11] = 1023;  // the speed of servo 1: it moves at once
  }
  // Starts movement 0 and runs until the frame carries its speed on canton 0.
  void run_movement() {
    var_write(sys, 6500, 1);
    for (int t = 0; t < 4; ++t) tick(sys);
    ASSERT_EQ(sys.depl.depl_record[0][DEPL_STATE], DEPL_WAIT_ARRIVAL);
    ASSERT_NE(speed_byte(0), 0);
  }
  int speed_byte(int index) const { return bank->card(0).last_frame[2 + index]; }

  TempDir dir;
  RecordingHost host;
  std::shared_ptr<CardBank> bank;
  System sys{host, dir.path()};
};

TEST(DeplEngine, AStartInTheFirstTickRampsFromStanding) {
  CardLayout layout;
  var_write(layout.sys, 6501, 1);
  tick(layout.sys);
  ASSERT_EQ(layout.sys.depl.depl_record[1][DEPL_STATE], DEPL_WAIT_ARRIVAL);
  // Deceleration 14 from -1 would give 0; acceleration 14 from 0 gives 2.
  EXPECT_EQ(layout.sys.depl.depl_record[1][DEPL_CURRENT_SPEED], 2);
}

TEST(DeplEngine, ReloadLetsGoOfEveryRunningMovement) {
  CardLayout layout;
  System& sys = layout.sys;
  layout.run_movement();
  EXPECT_EQ(sys.garage.res_auto[0], 1);
  EXPECT_EQ(sys.io.srv_reserved[1], 1);
  reload_config(sys);
  EXPECT_EQ(sys.depl.depl_record[0][DEPL_STATE], DEPL_IDLE);
  EXPECT_EQ(sys.cantons.ResvAUTO[0], 0);
  EXPECT_EQ(sys.cantons.ResvAUTO[1], 0);
  EXPECT_EQ(sys.cantons.Vit_AUTO[0], 0);
  EXPECT_EQ(sys.cantons.ResvMANU[0], 1);  // the train is manual where it stands
  EXPECT_EQ(sys.trains.mode[0], "SEL");
  EXPECT_EQ(sys.garage.res_auto[0], 0);
  EXPECT_EQ(sys.io.srv_reserved[1], 0);
  EXPECT_EQ(var_write(sys, 6900, 1), 0);
  EXPECT_EQ(sys.garage.cmd_lock[0], 1);
  tick(sys);
  tick(sys);
  EXPECT_EQ(layout.speed_byte(0), 0);
  EXPECT_EQ(layout.speed_byte(1), 0);
}

TEST(DeplEngine, QuittingDuringAMovementLeavesNoTrainPowered) {
  CardLayout layout;
  layout.run_movement();
  shutdown(layout.sys);
  for (int i = 0; i < kDetPerCard; ++i) EXPECT_EQ(layout.speed_byte(i), 0) << i;
}

}  // namespace
