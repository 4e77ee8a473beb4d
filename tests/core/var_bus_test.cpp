#include "core/var_bus.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "support/temp_dir.h"

namespace {

struct LabelCase {
  const char* label;
  VarNum number;
};

// Both directions hold for each of these.
const LabelCase kRoundTrip[] = {
    {"det_0", 0},
    {"det_105", 105},
    {"det_315", 315},
    {"in_79", 479},
    {"in_300", 700},
    {"can_4", 804},
    {"out_0", 1200},
    {"out_379", 1579},
    {"led_47", 1647},
    {"led_cli_3", 2003},
    {"led_phase_147", 2547},
    {"srv_pos_204", 3004},
    {"bal_cant_p_15", 3215},
    {"bal_cant_m_315", 3915},
    {"det2_0", 4000},
    {"det2p_105", 4125},
    {"det2m_5", 4045},
    {"det2_315", 4315},
    {"aig_cmd_63", 5063},
    {"pos0_aig_3", 5103},
    {"pos1_aig_0", 5200},
    {"var_0", 5400},
    {"var_599", 5999},
    {"iti_start_49", 6049},
    {"iti_stop_0", 6100},
    {"iti_wait_1", 6201},
    {"iti_ok_2", 6302},
    {"iti_step_3", 6403},
    {"depl_start_run_199", 6699},
    {"depl_stop_7", 6707},
    {"garage_lock_cmd_31", 6931},
    {"garage_lock_status_48", 6998},
    {"vib_on", 7000},
    {"vib_state", 7002},
    {"screen_mode", 7003},
    {"arret_urg_on", 7004},
    {"arret_urg_state", 7005},
    {"srv_cmd_110", 8110},
    {"exe_99", 8499},
    {"pulse_cmd_31", 8531},
    {"pb_capt_c_215", 8815},
    {"pb_capt_t_15", 9015},
    {"special_var_95", 9195},
    {"separe_0", 9400},
    {"regroupe_99", 9599},
};

TEST(VarBusLabels, LabelsAndNumbersConvertBothWays) {
  TestSystem t;
  for (const LabelCase& c : kRoundTrip) {
    EXPECT_EQ(var_from_label(t.sys, c.label), c.number) << c.label;
    EXPECT_EQ(var_label(t.sys, c.number), c.label) << c.number;
  }
  EXPECT_EQ(t.log(), "");
}

TEST(VarBusLabels, PrefixIsComparedWithoutCaseAndCountOneRowsIgnoreTheRest) {
  TestSystem t;
  EXPECT_EQ(var_from_label(t.sys, "DET_105"), 105);
  EXPECT_EQ(var_from_label(t.sys, "Led_Cli_2"), 2002);
  EXPECT_EQ(var_from_label(t.sys, "vib_on_anything"), 7000);
  // the number is read as a decimal number, leading zeros included
  EXPECT_EQ(var_from_label(t.sys, "var_0000001"), 5401);
  EXPECT_EQ(var_from_label(t.sys, "det_000000105"), 105);
  EXPECT_EQ(t.log(), "");
}

TEST(VarBusLabels, UnknownLabelsLogErreur3AndGiveMinusOne) {
  const char* kRefused[] = {
      "det_16",      // beyond the 16 detections of a card
      "var_600",     // beyond the user variables
      "det_400",     // card 4 does not exist
      "det_",        // no number
      "led_cli_60",  // must not fall through to led_0
      "det_-5",      // no sign
      "det_5x",      // digits only after the prefix
      "nothing",    "det_99999999999",
  };
  for (const char* label : kRefused) {
    TestSystem t;
    EXPECT_EQ(var_from_label(t.sys, label), -1) << label;
    EXPECT_EQ(t.log(), std::string("\n-Erreur3 : Conversion Libellé => N° variable interne : Var "
                                   "inconnue = ") +
                           label)
        << label;
  }
}

TEST(VarBusLabels, OverlongLabelIsRefusedWithoutOverflow) {
  TestSystem t;
  const std::string label = "var_" + std::string(300, '1');
  EXPECT_EQ(var_from_label(t.sys, label.c_str()), -1);
  EXPECT_NE(t.log().find("Erreur3"), std::string::npos);
}

TEST(VarBusLabels, NumbersWithoutLabelAreNamedInvalid) {
  TestSystem t;
  char label[kLabelBufferSize];
  EXPECT_EQ(var_to_label(t.sys, 16, label), 0);
  EXPECT_STREQ(label, "INVALIDE HORS-LIMITE");
  EXPECT_EQ(var_to_label(t.sys, 5300, label), 0);
  EXPECT_STREQ(label, "INVALIDE N° INCONNU");
  EXPECT_EQ(t.log(),
            "\n-Erreur2 : Conversion N° variable interne => Libellé : Numéro var hors limite = 16"
            "\n-Erreur1 : Conversion N° variable interne => Libellé : Numéro var inconnue    = "
            "5300");
}

TEST(VarBusRead, UnreadableNumbersLogErreur4) {
  for (VarNum n : {6000, 6100, 6700, 7001, 16, 5064, 8532, 6932, 9016, 9600, -1, 4016, 4399}) {
    TestSystem t;
    EXPECT_EQ(var_read(t.sys, n), -1) << n;
    EXPECT_EQ(t.log(),
              "\n-Erreur4 : Lecture N° variable interne : Var inconnue = " + std::to_string(n));
  }
}

TEST(VarBusRead, EachRangeReadsItsOwnTable) {
  TestSystem t;
  System& s = t.sys;
  s.io.det[1 * 16 + 5] = 1;
  s.io.in[2 * 80 + 79] = 1;
  s.io.can[3 * 5 + 4] = 200;
  s.io.srv_cmd[1 * 15 + 10] = 7;
  s.cantons.det2p[1 * 16 + 5] = 1;
  s.cantons.pb_capt_t[3] = 1;
  s.iti.iti_record[4][ITI_STATE] = 5;
  s.depl.depl_record[150][DEPL_START_REQUEST] = 1;
  s.garage.state_lock[31] = 1;
  s.iti.separe[7][SPLIT_TRIGGER] = 0;
  EXPECT_EQ(var_read(s, 105), 1);
  EXPECT_EQ(var_read(s, 679), 1);
  EXPECT_EQ(var_read(s, 1104), 200);
  EXPECT_EQ(var_read(s, 8110), 7);
  EXPECT_EQ(var_read(s, 4125), 1);
  EXPECT_EQ(var_read(s, 9003), 1);
  EXPECT_EQ(var_read(s, 6404), 5);
  EXPECT_EQ(var_read(s, 6650), 1);
  EXPECT_EQ(var_read(s, 6981), 1);
  EXPECT_EQ(var_read(s, 9407), 0);
  EXPECT_EQ(var_read(s, 9408), -1);  // undefined split entry: its trigger is -1
  EXPECT_EQ(t.log(), "");
}

TEST(VarBusWrite, WritableRangesStore) {
  TestSystem t;
  System& s = t.sys;
  const VarNum kWritable[] = {1200, 1579, 1647, 2047, 2447, 5000, 5400, 5999, 7000,
                              7003, 7004, 8400, 8531, 9100, 8014, 9400, 9599};
  for (VarNum n : kWritable) {
    EXPECT_EQ(var_write(s, n, 3), 0) << n;
    EXPECT_EQ(var_read(s, n), 3) << n;
  }
  EXPECT_EQ(t.log(), "");
}

TEST(VarBusWrite, ReadOnlyAndUnknownNumbersLogErreur5) {
  for (VarNum n : {0,    400,  800,  2800, 3200, 4000, 5100, 5200, 6200, 6300, 6400,
                   6950, 7002, 7005, 8600, 9000, 1280, 5064, 8532, 6932, 9600, -5}) {
    TestSystem t;
    EXPECT_EQ(var_write(t.sys, n, 1), -1) << n;
    EXPECT_EQ(t.log(),
              "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = " + std::to_string(n));
  }
}

TEST(VarBusWrite, GuardsRefuseOrIgnore) {
  TestSystem t;
  System& s = t.sys;
  // (a) a reserved turnout refuses with Erreur5
  s.aig.aig_reserved[3] = 1;
  EXPECT_EQ(var_write(s, 5003, 1), -1);
  EXPECT_EQ(s.aig.aig_cmd[3], 0);
  // (b), (c) routes: undefined, or in the wrong state, ignore silently
  EXPECT_EQ(var_write(s, 6000, 1), 0);
  EXPECT_EQ(s.iti.iti_record[0][ITI_START_REQUEST], 0);
  s.iti.iti_record[0][ITI_DEFINED] = 1;
  EXPECT_EQ(var_write(s, 6100, 1), 0);
  EXPECT_EQ(s.iti.iti_record[0][ITI_STOP_REQUEST], 0);
  EXPECT_EQ(var_write(s, 6000, 1), 0);
  EXPECT_EQ(s.iti.iti_record[0][ITI_START_REQUEST], 1);
  s.iti.iti_record[0][ITI_STATE] = 3;
  EXPECT_EQ(var_write(s, 6100, 1), 0);
  EXPECT_EQ(s.iti.iti_record[0][ITI_STOP_REQUEST], 1);
  // (d) a movement without start
  EXPECT_EQ(var_write(s, 6502, 1), 0);
  EXPECT_EQ(var_write(s, 6702, 1), 0);
  EXPECT_EQ(s.depl.depl_record[2][DEPL_START_REQUEST], 0);
  s.depl.depl_record[2][DEPL_START] = 105;
  EXPECT_EQ(var_write(s, 6702, 1), 0);
  EXPECT_EQ(s.depl.depl_record[2][DEPL_STOP_REQUEST], 1);
  // (e) a siding held by a movement
  s.garage.res_auto[4] = 1;
  EXPECT_EQ(var_write(s, 6904, 1), 0);
  EXPECT_EQ(s.garage.cmd_lock[4], 0);
  // (f) a reserved servo refuses both its setpoint and its speed
  s.io.srv_reserved[1 * 5 + 2] = 1;
  EXPECT_EQ(var_write(s, 8102, 600), -1);
  EXPECT_EQ(var_write(s, 8112, 9), -1);
  EXPECT_EQ(var_write(s, 8103, 600), 0);
  EXPECT_EQ(t.log(),
            "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = 5003"
            "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = 8102"
            "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = 8112");
}

// Readers refuse labels the engines could never use: the answer must match what a write does
// when no guard refuses (nothing reserved).
TEST(VarBusWrite, WritableAgreesWithWriteOverTheWholeSpace) {
  TestSystem t;
  for (VarNum n = -1; n <= 9600; ++n) {
    const bool writable = var_writable(t.sys, n);
    EXPECT_EQ(writable, var_write(t.sys, n, 0) == 0) << n;
  }
  const struct {
    VarNum n;
    bool readable;
  } cases[] = {{0, true},    {6000, false}, {6149, false}, {6200, true}, {6700, false},
               {6931, true}, {6940, false}, {7001, false}, {7002, true}, {9599, true}};
  for (const auto& c : cases) EXPECT_EQ(var_readable(t.sys, c.n), c.readable) << c.n;
}

TEST(VarBusLog, FirstErrorOfARunReplacesTheOldLogAndRepeatsAreCounted) {
  TestSystem t;
  t.dir.write("Train_ZIR_log.txt", "old run");
  for (int i = 0; i < 3; ++i) var_read(t.sys, 7001);
  EXPECT_EQ(t.log(), "\n-Erreur4 : Lecture N° variable interne : Var inconnue = 7001");
  var_read(t.sys, 6000);
  var_read(t.sys, 7001);
  t.sys.error_log.close();
  var_read(t.sys, 7001);  // after the log closed, the run goes on appending
  EXPECT_EQ(t.log(),
            "\n-Erreur4 : Lecture N° variable interne : Var inconnue = 7001"
            "\n-(ligne précédente répétée 2 fois de plus)"
            "\n-Erreur4 : Lecture N° variable interne : Var inconnue = 6000"
            "\n-Erreur4 : Lecture N° variable interne : Var inconnue = 7001"
            "\n-Erreur4 : Lecture N° variable interne : Var inconnue = 7001");
}

// Every number of the bus, read and written, stays in its own table (the sanitizers watch), and
// every label names its number back.
TEST(VarBusSweep, EveryNumberStaysInItsTableAndItsLabelNamesItBack) {
  TestSystem t;
  for (VarNum n = 0; n < kVarNumbers; ++n) {
    var_write(t.sys, n, var_read(t.sys, n) + 1);
    char label[kLabelBufferSize];
    if (var_to_label(t.sys, n, label) == 1) {
      EXPECT_EQ(var_from_label(t.sys, label), n) << label;
    }
  }
}

TEST(VarBusLog, TheLogIsCutPastItsCap) {
  TestSystem t;
  for (int i = 0; i < 40000; ++i) var_write(t.sys, 100000 + i, 1);
  const std::string log = t.log();
  EXPECT_LE(static_cast<int64_t>(log.size()), kErrorLogCap + 200);
  EXPECT_NE(log.rfind("\n-Journal coupé"), std::string::npos);
  EXPECT_EQ(log.find("Journal coupé"), log.rfind("Journal coupé"));
}

// Random numbers and random labels never reach outside a table (the sanitizers watch).
TEST(VarBusFuzz, RandomNumbersAndLabelsStayInTheirTables) {
  TestSystem t;
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> number(-200, 10200);
  for (int i = 0; i < 5000; ++i) {
    const VarNum n = number(rng);
    var_write(t.sys, n, var_read(t.sys, n) + 1);
    char label[kLabelBufferSize];
    var_to_label(t.sys, n, label);
    const VarNum back = var_from_label(t.sys, label);
    if (back >= 0) {
      EXPECT_EQ(back, n);
    }
  }
  std::uniform_int_distribution<int> byte(1, 255);
  for (int i = 0; i < 2000; ++i) {
    std::string label = kVarTable[i % kVarRows].prefix;
    const int extra = i % 300;
    for (int k = 0; k < extra; ++k) label += static_cast<char>(byte(rng));
    var_from_label(t.sys, label.c_str());
  }
}

}  // namespace
