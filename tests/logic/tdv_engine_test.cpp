#include "logic/tdv_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/fatal.h"
#include "runtime/startup.h"
#include "tdv_fixture.h"

namespace {

using Values = std::vector<std::pair<const char*, int>>;

struct EngineCase {
  const char* name;
  const char* tdv;
  Values before;  // written through the bus before the first tick
  Values after;   // read after the ticks
  int ticks = 1;
};

void PrintTo(const EngineCase& c, std::ostream* os) {
  *os << c.name;
}

class TdvEngine : public testing::TestWithParam<EngineCase> {};

TEST_P(TdvEngine, Evaluates) {
  const EngineCase& c = GetParam();
  TdvFixture f;
  f.compile(c.tdv);
  for (const auto& [label, value] : c.before) f.set(label, value);
  for (int i = 0; i < c.ticks; ++i) tdv_tick(f.sys);
  for (const auto& [label, value] : c.after) EXPECT_EQ(f.var(label), value) << label;
  EXPECT_TRUE(f.host.boxes.empty());
  EXPECT_EQ(f.log(), "");
}

constexpr const char* kTwoInputs = "tdv: in: var_0 var_1 out: var_10 eq: 1 x 1 eq: 0 0 0";
constexpr const char* kOperators =
    "equ: l var_0 a var_1 = var_10  l var_0 an var_1 = var_11  l var_1 o var_0 = var_12\n"
    "l var_1 on var_0 = var_13  l var_0 x var_0 = var_14  l var_0 xn var_1 = var_15\n"
    "ln var_1 = var_16  l var_1 on var_1 = var_17  l var_1 x var_0 = var_18";
constexpr const char* kCompare =
    "equ: l var_0==-5 = var_10  l var_0<>-5 = var_11  l var_0>-6 = var_12\n"
    "l var_0>=-5 = var_13  l var_0<-5 = var_14  l var_0<=-6 = var_15";

INSTANTIATE_TEST_SUITE_P(
    Cases, TdvEngine,
    testing::Values(
        EngineCase{"RowWithDontCare", kTwoInputs, {{"var_0", 1}}, {{"var_10", 1}}},
        EngineCase{"ZeroRow", kTwoInputs, {{"var_10", 1}}, {{"var_10", 0}}},
        EngineCase{"NoRowKeepsOne", kTwoInputs, {{"var_1", 1}, {"var_10", 1}}, {{"var_10", 1}}},
        EngineCase{"NoRowKeepsZero", kTwoInputs, {{"var_1", 1}}, {{"var_10", 0}}},
        EngineCase{"InputIsComparedExactly", kTwoInputs, {{"var_0", 2}}, {{"var_10", 0}}},
        EngineCase{"LastMatchingRowWins",
                   "tdv: in: var_0 out: var_10 eq: 1 1 eq: x 0",
                   {{"var_0", 1}, {"var_10", 1}},
                   {{"var_10", 0}}},
        EngineCase{"OutputXLeavesItAlone",
                   "tdv: in: var_0 out: var_10 var_11 eq: 1 x 1",
                   {{"var_0", 1}, {"var_10", 5}},
                   {{"var_10", 5}, {"var_11", 1}}},
        EngineCase{"RowPairsWhenMatched",
                   "tdv: in: var_0 out: eq: 1 var_12 clear var_13",
                   {{"var_0", 1}, {"var_13", 1}},
                   {{"var_12", 1}, {"var_13", 0}}},
        EngineCase{"RowPairsNotMatched",
                   "tdv: in: var_0 out: eq: 1 var_12 clear var_13",
                   {{"var_13", 1}},
                   {{"var_12", 0}, {"var_13", 1}}},
        EngineCase{"InitPairsEveryTick",
                   "tdv: init: set var_20 var_21 in: var_0 out: var_10 eq: 1 1",
                   {{"var_21", 1}, {"var_0", 1}},
                   {{"var_20", 1}, {"var_21", 0}, {"var_10", 1}}},
        EngineCase{"TableOffButEquationsRun",
                   "tdv: on: 0 in: var_0 out: var_10 eq: 1 1 equ: l var_0 = var_11",
                   {{"var_0", 1}},
                   {{"var_10", 0}, {"var_11", 1}}},
        EngineCase{"AnyNonZeroOnValueIsOn",
                   "tdv: on: 7 in: var_0 out: var_10 eq: 1 1",
                   {{"var_0", 1}},
                   {{"var_10", 1}}},
        EngineCase{"SecondTableStopsTheFirst",
                   "tdv: in: var_0 out: var_10 tdv: on: 0 eq: 1 1",
                   {{"var_0", 1}},
                   {{"var_10", 0}}},
        EngineCase{"TablesRunBeforeEquations",
                   "equ: l var_10 = var_11 tdv: in: var_0 out: var_10 eq: 1 1",
                   {{"var_0", 1}},
                   {{"var_11", 1}}},
        EngineCase{"Operators",
                   kOperators,
                   {{"var_0", 1}},
                   {{"var_10", 0},
                    {"var_11", 1},
                    {"var_12", 1},
                    {"var_13", 0},
                    {"var_14", 0},
                    {"var_15", 0},
                    {"var_16", 1},
                    {"var_17", 1},
                    {"var_18", 1}}},
        EngineCase{"CompareNegative",
                   kCompare,
                   {{"var_0", -5}},
                   {{"var_10", 1},
                    {"var_11", 0},
                    {"var_12", 1},
                    {"var_13", 1},
                    {"var_14", 0},
                    {"var_15", 0}}},
        EngineCase{"CompareBelow",
                   kCompare,
                   {{"var_0", -6}},
                   {{"var_10", 0},
                    {"var_11", 1},
                    {"var_12", 0},
                    {"var_13", 0},
                    {"var_14", 1},
                    {"var_15", 1}}},
        EngineCase{"SetReachesThreshold",
                   "equ: l var_5>=100 =set var_10",
                   {{"var_5", 100}},
                   {{"var_10", 1}}},
        EngineCase{"SetNeverClears",
                   "equ: l var_5>=100 =set var_10",
                   {{"var_5", 99}, {"var_10", 1}},
                   {{"var_10", 1}}},
        EngineCase{"AssignIsALevel", "equ: l var_0 = var_10", {{"var_10", 1}}, {{"var_10", 0}}},
        EngineCase{"ClrWhenTrue",
                   "equ: l var_0 =clr var_10",
                   {{"var_0", 1}, {"var_10", 1}},
                   {{"var_10", 0}}},
        EngineCase{"ClrWhenFalse", "equ: l var_0 =clr var_10", {{"var_10", 1}}, {{"var_10", 1}}},
        EngineCase{
            "NumWhateverTheAccumulator", "equ: l var_0 =num var_10 var_3", {}, {{"var_10", 5403}}},
        EngineCase{"ValWhenTrue", "equ: l var_0 =val var_10 -7", {{"var_0", 1}}, {{"var_10", -7}}},
        EngineCase{"ValWhenFalse", "equ: l var_0 =val var_10 -7", {{"var_10", 3}}, {{"var_10", 3}}},
        EngineCase{"VarCopies",
                   "equ: l var_0 =var var_10 var_3",
                   {{"var_0", 1}, {"var_3", 42}},
                   {{"var_10", 42}}},
        EngineCase{
            "VarWhenFalse", "equ: l var_0 =var var_10 var_3", {{"var_3", 42}}, {{"var_10", 0}}},
        EngineCase{"VarX4",
                   "equ: l var_0 =varx4 var_10 var_3",
                   {{"var_0", 1}, {"var_3", -200}},
                   {{"var_10", -800}}},
        EngineCase{"AccumulatorCarriesToTheNextEquation",
                   "equ: l var_0 = var_10 =set var_11 a var_1 = var_12",
                   {{"var_0", 1}, {"var_12", 1}},
                   {{"var_10", 1}, {"var_11", 1}, {"var_12", 0}}},
        EngineCase{"AccumulatorStartsAtZeroEachTick",
                   "equ: =set var_10 l var_0",
                   {{"var_0", 1}},
                   {{"var_10", 0}},
                   2},
        EngineCase{"TruncatedEquationIsIgnored",
                   "equ: l var_0 =set var_10 l",
                   {{"var_0", 1}},
                   {{"var_10", 1}}}),
    [](const testing::TestParamInfo<EngineCase>& info) { return std::string(info.param.name); });

TEST(TdvEngineBus, WritesKeepTheirGuards) {
  TdvFixture f;
  f.compile("equ: l in_0 =varx4 srv_cmd_0 var_10 = aig_cmd_3");
  f.sys.io.in[0] = 1;
  f.set("var_10", 200);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("srv_cmd_0"), 800);
  EXPECT_EQ(f.var("aig_cmd_3"), 1);

  f.sys.io.in[0] = 1;
  f.set("var_10", 100);
  f.sys.io.srv_reserved[0] = 1;
  f.sys.aig.aig_reserved[3] = 1;
  f.sys.aig.aig_cmd[3] = 0;
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("srv_cmd_0"), 800);
  EXPECT_EQ(f.var("aig_cmd_3"), 0);
  EXPECT_NE(f.log().find("Erreur5 : Ecriture N° variable interne : Var inconnue = 8000"),
            std::string::npos);
  EXPECT_NE(f.log().find("Var inconnue = 5003"), std::string::npos);
}

TEST(TdvEngineBus, UnknownVariablesAreLoggedAtEveryUse) {
  TdvFixture f;
  f.compile("equ: l nothing_1 = var_10 l var_0 = nothing_2");
  f.set("var_0", 1);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("var_10"), 1);  // an unknown variable reads as -1
  const std::string log = f.log();
  EXPECT_NE(log.find("Erreur4 : Lecture N° variable interne : Var inconnue = -1"),
            std::string::npos);
  EXPECT_NE(log.find("Erreur5 : Ecriture N° variable interne : Var inconnue = -1"),
            std::string::npos);
}

struct TooManyCase {
  const char* name;
  std::string tdv;
  std::string what;
};

std::string labels(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "var_" + std::to_string(i) + " ";
  return s;
}

void PrintTo(const TooManyCase& c, std::ostream* os) {
  *os << c.name;
}

class TdvTooMany : public testing::TestWithParam<TooManyCase> {};

TEST_P(TdvTooMany, EndsTheProgramAtTheFirstRun) {
  TdvFixture f;
  f.compile(GetParam().tdv);
  EXPECT_THROW(tdv_tick(f.sys), FatalConfigError);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].title, "ZIR - Erreur");
  EXPECT_EQ(f.host.boxes[0].text,
            "Erreur, une ligne dans une table n°xxx de la section 'tdv:' du fichier "
            "'config.txt'\ncontient plus de  20  " +
                GetParam().what);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TdvTooMany,
    testing::Values(
        TooManyCase{"Inputs", "tdv: in: " + labels(21) + "out: var_30", "variables d'entrées."},
        TooManyCase{"Outputs", "tdv: in: var_30 out: " + labels(21), "variables de sorties."}),
    [](const testing::TestParamInfo<TooManyCase>& info) { return std::string(info.param.name); });

TEST(TdvEngineTables, TwentyInputsAndOutputsFit) {
  TdvFixture f;
  std::string ones;
  for (int i = 0; i < 20; ++i) ones += "1 ";
  f.compile("tdv: in: " + labels(20) + "out: " + labels(40).substr(labels(20).size()) +
            "eq: " + ones + ones);
  for (int i = 0; i < 20; ++i) f.sys.logic.var[static_cast<size_t>(i)] = 1;
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("var_39"), 1);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(TdvEngineTables, OffTableIsNeverCheckedForItsSize) {
  TdvFixture f;
  f.compile("tdv: on: 0 in: " + labels(21));
  tdv_tick(f.sys);
  EXPECT_TRUE(f.host.boxes.empty());
}

// ---- pulses ----

struct PulseTrace {
  std::vector<int> value;  // of the pulse's variable, after each tick from the trigger on
  std::vector<int> state;
};

PulseTrace run_pulse(TdvFixture& f, int ticks) {
  PulseTrace trace;
  f.set("pulse_cmd_0", 1);
  for (int i = 0; i < ticks; ++i) {
    tdv_tick(f.sys);
    EXPECT_EQ(f.var("pulse_cmd_0"), 0) << "tick " << i;
    trace.value.push_back(f.var("out_7"));
    trace.state.push_back(f.sys.tdv.pulse.state[0]);
  }
  return trace;
}

TEST(TdvPulse, PauseThenOn) {
  TdvFixture f;
  f.compile("pulse0:2,3,0,0,0 out_7");
  EXPECT_EQ(run_pulse(f, 7).value, (std::vector<int>{0, 0, 1, 1, 1, 0, 0}));
}

TEST(TdvPulse, SecondOnOnlyStartsAtTheTrigger) {
  TdvFixture f;
  f.compile("pulse0:0,0,0,4,0 out_7");
  EXPECT_EQ(run_pulse(f, 6).value, (std::vector<int>{1, 1, 1, 1, 0, 0}));
}

TEST(TdvPulse, DoublePulseWalksEveryState) {
  TdvFixture f;
  f.compile("pulse0:1,2,1,2,1 out_7 led_3");
  const PulseTrace t = run_pulse(f, 9);
  EXPECT_EQ(t.value, (std::vector<int>{0, 1, 1, 0, 1, 1, 0, 0, 0}));
  EXPECT_EQ(t.state, (std::vector<int>{1, 2, 2, 3, 4, 4, 5, 0, 0}));
  EXPECT_EQ(f.var("led_3"), 0);
}

TEST(TdvPulse, BothVariablesSwitch) {
  TdvFixture f;
  f.compile("pulse0:0,2,0,0,0 out_7 led_3");
  f.set("pulse_cmd_0", 1);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("out_7"), 1);
  EXPECT_EQ(f.var("led_3"), 1);
}

TEST(TdvPulse, TriggerDuringARunWaitsForIdle) {
  TdvFixture f;
  f.compile("pulse0:0,1,0,0,0 out_7");
  f.set("pulse_cmd_0", 1);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("out_7"), 1);
  f.set("pulse_cmd_0", 1);
  tdv_tick(f.sys);  // the run ends: the trigger stays
  EXPECT_EQ(f.var("out_7"), 0);
  EXPECT_EQ(f.var("pulse_cmd_0"), 1);
  EXPECT_EQ(f.sys.tdv.pulse.state[0], kPulseIdle);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("out_7"), 1);
  EXPECT_EQ(f.var("pulse_cmd_0"), 0);
}

TEST(TdvPulse, UndefinedPulseIgnoresItsTrigger) {
  TdvFixture f;
  f.compile("pulse1:0,1,0,0,0 out_7");
  f.set("pulse_cmd_0", 1);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("pulse_cmd_0"), 1);
  EXPECT_EQ(f.var("out_7"), 0);
}

TEST(TdvPulse, EquationFiresAPulseForTheNextTick) {
  TdvFixture f;
  f.compile("pulse2:0,1,0,0,0 out_7\nequ: l var_0 =set pulse_cmd_2");
  f.set("var_0", 1);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("out_7"), 0);
  EXPECT_EQ(f.var("pulse_cmd_2"), 1);
  f.set("var_0", 0);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("out_7"), 1);
  EXPECT_EQ(f.var("pulse_cmd_2"), 0);
}

// ---- reload (menu 914) ----

TEST(TdvReload, RecompilesAndResetsThePulsesButKeepsTheVariables) {
  TdvFixture f;
  f.compile("pulse0:0,5,0,0,0 out_7\npulse1:0,0,9,0,0 out_8\nequ: l var_0 = var_1");
  f.set("pulse_cmd_0", 1);
  f.set("pulse_cmd_1", 1);
  f.set("var_0", 1);
  f.set("out_8", 1);  // pulse 1 (no "on" time) does not own it
  tdv_tick(f.sys);
  ASSERT_EQ(f.sys.tdv.pulse.state[0], kPulseFirstOn);
  ASSERT_EQ(f.sys.tdv.pulse.state[1], kPulseSecondPause);
  ASSERT_EQ(f.var("out_7"), 1);
  f.set("var_3", 7);

  f.write_config("#tdv\n[\npulse0:0,5,0,0,0 out_7\nequ: l var_0 = var_2\n]\n");
  reload_config(f.sys);
  EXPECT_EQ(f.sys.tdv.pulse.state[0], kPulseIdle);
  EXPECT_EQ(f.sys.tdv.pulse.state[1], kPulseIdle);
  EXPECT_EQ(f.sys.tdv.pulse.defined[1], 0);
  EXPECT_EQ(f.var("out_7"), 0);  // cut short while on
  EXPECT_EQ(f.var("out_8"), 1);
  EXPECT_EQ(f.var("var_1"), 1);
  EXPECT_EQ(f.var("var_3"), 7);
  tdv_tick(f.sys);
  EXPECT_EQ(f.var("var_2"), 1);
  EXPECT_EQ(f.var("out_7"), 0);
}

}  // namespace
