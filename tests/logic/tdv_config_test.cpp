#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fatal.h"
#include "tdv_fixture.h"

namespace {

std::vector<int32_t> program(const System& sys) {
  return {sys.tdv.prog.begin(), sys.tdv.prog.begin() + sys.tdv.length};
}

TEST(TdvCompile, RowWithDontCareSeparatorAndClearPair) {
  TdvFixture f;
  f.compile(
      "tdv: in: det_0 det_1 det_2 det_3 det_4 out: out_0 out_1\n"
      "eq: 1 0 x | 1 0 clear var_12");
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30001, 0, 1, 2, 3, 4, 30005, 1200, 1201,
                                                  30003, 1, 0, 120, 1, 0, 99, 5412, 30004}));
  EXPECT_EQ(f.sys.tdv.start[0], 1);
  EXPECT_EQ(f.sys.tdv.on[0], 1);
  EXPECT_EQ(f.sys.tdv.start[1], -1);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(TdvCompile, ComparisonFoldsIntoTheLoad) {
  TdvFixture f;
  f.compile("equ: l var_5>=100 =set out_0");
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30104, 5405, 100, 30150, 1200, 30004}));
}

TEST(TdvCompile, EveryComparisonOperator) {
  TdvFixture f;
  f.compile("equ: l var_1==1 l var_1<>2 l var_1>3 l var_1>=4 l var_1<-5 l var_1<=6");
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30101, 5401,  1,     30102, 5401, 2,
                                                  30103, 5401,  3,     30104, 5401,  4,    30105,
                                                  5401,  -5,    30106, 5401,  6,     30004}));
}

TEST(TdvCompile, PulseDefinition) {
  TdvFixture f;
  f.compile("pulse3:10,5,0,0,0 out_5\npulse31:1,2,3,4,5 out_0 led_1");
  const PulseTable& p = f.sys.tdv.pulse;
  EXPECT_EQ(p.defined[3], 1);
  EXPECT_EQ(p.time[3], (std::array<int32_t, 5>{10, 5, 0, 0, 0}));
  EXPECT_EQ(p.var1[3], 1205);
  EXPECT_EQ(p.var2[3], -1);
  EXPECT_EQ(p.defined[31], 1);
  EXPECT_EQ(p.time[31], (std::array<int32_t, 5>{1, 2, 3, 4, 5}));
  EXPECT_EQ(p.var1[31], 1200);
  EXPECT_EQ(p.var2[31], 1601);
  EXPECT_EQ(p.defined[0], 0);
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30004}));
}

// Case, comments, init: defaults, on:, two sections in one program, every equation word and
// the pulse trigger label inside an equation.
TEST(TdvCompile, TwoSectionsMakeOneProgram) {
  TdvFixture f;
  f.write_config(
      "#general\n[\n]\n"
      "#tdv\n[\n"
      "TDV: On: 0 @ first table in: det_9\n"
      "  INIT: var_1 SET var_2\n"
      "  In: det_0 Out: out_0\n"
      "  Eq: 1 X\n"
      "]\n"
      "#aig\n[\n]\n"
      "#tdv\n[\n"
      "tdv: in: in_0 out: led_0\n"
      "eq: 0 1 clr var_3 var_4\n"
      "equ: l in_0 =val var_7 -12 =num var_8 var_9 x det_1 xn det_2\n"
      "ln var_1 a var_2 an var_3 o var_4 on var_5 = var_6 =clr var_7 =var var_8 var_9\n"
      "=varx4 srv_cmd_0 var_10 =set pulse_cmd_2\n"
      "]\n");
  read_tdv(f.sys);
  EXPECT_EQ(
      program(f.sys),
      (std::vector<int32_t>{
          30000, 30002, 99,    5401, 115,   5402,  30001, 0,     30005, 1200, 30003, 1,
          120,                                                                           // table 0
          30001, 400,   30005, 1600, 30003, 0,     1,     99,    5403,  115,  5404,      // table 1
          30100, 400,   30180, 5407, -12,   30170, 5408,  5409,  30130, 1,    30230, 2,  //
          30200, 5401,  30110, 5402, 30210, 5403,  30120, 5404,  30220, 5405,            //
          30140, 5406,  30160, 5407, 30190, 5408,  5409,  30240, 8000,  5410, 30150, 8502, 30004}));
  EXPECT_EQ(f.sys.tdv.start[0], 1);
  EXPECT_EQ(f.sys.tdv.on[0], 0);
  EXPECT_EQ(f.sys.tdv.start[1], 13);
  EXPECT_EQ(f.sys.tdv.on[1], 1);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(TdvCompile, UnknownLabelCompilesToMinusOneWithoutBox) {
  TdvFixture f;
  f.compile("tdv: in: det_16 out: out_0");
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30001, -1, 30005, 1200, 30004}));
  EXPECT_TRUE(f.host.boxes.empty());
  EXPECT_NE(f.log().find("Erreur3"), std::string::npos);
}

TEST(TdvCompile, RereadingStartsAfresh) {
  TdvFixture f;
  f.compile("tdv: in: in_0 out: out_0 eq: 1 1\npulse2:1,1,1,1,1 out_3");
  f.sys.tdv.pulse.state[2] = kPulseSecondOn;
  f.sys.tdv.pulse.count[2] = 1;
  f.compile("equ: l in_0 = out_1");
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30100, 400, 30140, 1201, 30004}));
  EXPECT_EQ(f.sys.tdv.start[0], -1);
  EXPECT_EQ(f.sys.tdv.on[0], 0);
  EXPECT_EQ(f.sys.tdv.pulse.defined[2], 0);
  EXPECT_EQ(f.sys.tdv.pulse.state[2], kPulseIdle);
  EXPECT_EQ(f.sys.tdv.pulse.var1[2], -1);
}

TEST(TdvCompile, MissingSectionGivesAnEmptyProgram) {
  TdvFixture f;
  f.write_config("#general\n[\n]\n");
  read_tdv(f.sys);
  EXPECT_EQ(program(f.sys), (std::vector<int32_t>{30000, 30004}));
}

TEST(TdvCompile, LimitsThatStillFit) {
  TdvFixture f;
  std::string body;
  for (int t = 0; t < 50; ++t) body += "tdv: ";
  body += "\nequ: l var_1 =val var_2 " + std::string(258, '0') + "1\n";  // the longest word
  for (int i = 0; i < 20000 - 2 - 5; ++i) body += "0 ";
  f.compile(body);
  EXPECT_EQ(f.sys.tdv.length, 20000);
  EXPECT_EQ(f.sys.tdv.start[49], 1);
  EXPECT_EQ(f.sys.tdv.prog[5], 1);
  EXPECT_EQ(f.sys.tdv.prog[19999], 30004);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(TdvCompile, MissingFileEndsTheProgram) {
  TdvFixture f;
  EXPECT_THROW(read_tdv(f.sys), FatalConfigError);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].title, "Erreur");
  EXPECT_EQ(f.host.boxes[0].text,
            "Impossible d'ouvrir le fichier de configuration des tables de vérité 'Config.txt'");
}

struct ErrorCase {
  const char* name;
  std::string body;
  std::string reason_and_word;  // what follows the common description prefix
};

const std::string kPulse = "Erreur dans une ligne 'pulse:'\n\n";

std::string many(const std::string& word, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += word + " ";
  return s;
}

void PrintTo(const ErrorCase& c, std::ostream* os) {
  *os << c.name;
}

class TdvErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(TdvErrors, ShowTheDescriptionBoxAndEndTheProgram) {
  TdvFixture f;
  EXPECT_THROW(f.compile(GetParam().body), FatalConfigError);
  ASSERT_EQ(f.host.boxes.size(), 1u);
  EXPECT_EQ(f.host.boxes[0].title, "ZIR - Erreur");
  EXPECT_EQ(f.host.boxes[0].icon, BoxIcon::Error);
  EXPECT_EQ(f.host.boxes[0].text,
            "Fichier 'config.txt',    Section #tdv\n\nErreur de description sur une ligne ou un "
            "élement de ligne :\n\n" +
                GetParam().reason_and_word);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TdvErrors,
    testing::Values(
        ErrorCase{"PulseNumber32", "pulse32:1,1,1,1,1", kPulse + "pulse32:1,1,1,1,1"},
        ErrorCase{"NegativeTime", "pulse3:10,-5,0,0,0", kPulse + "pulse3:10,-5,0,0,0"},
        ErrorCase{"FourTimes", "pulse3:10,5,0,0", kPulse + "pulse3:10,5,0,0"},
        ErrorCase{"TrailingText", "pulse3:10,5,0,0,0,", kPulse + "pulse3:10,5,0,0,0,"},
        ErrorCase{"TimeAbove9999", "pulse3:10000,5,0,0,0", kPulse + "pulse3:10000,5,0,0,0"},
        ErrorCase{"NoNumber", "pulse:1,1,1,1,1", kPulse + "pulse:1,1,1,1,1"},
        ErrorCase{"ThirdVariable", "PULSE3:10,5,0,0,0 out_5 out_6 OUT_7", kPulse + "out_7"},
        ErrorCase{"UnknownVariable", "pulse3:10,5,0,0,0 out_80", kPulse + "out_80"},
        ErrorCase{"Table51", many("tdv:", 51), "Trop de tables 'tdv:' (50 maximum)\n\ntdv:"},
        ErrorCase{"OnBeforeTdv", "on: 1 tdv:", "'on:' avant le premier 'tdv:'\n\non:"},
        ErrorCase{"OnWithoutNumber", "tdv: on: oui",
                  "'on:' doit être suivi d'un nombre entier\n\noui"},
        ErrorCase{"WordTooLong", "tdv: in: " + std::string(260, 'a'),
                  "Mot trop long (259 caractères maximum)\n\n" + std::string(260, 'a')},
        ErrorCase{"ComparisonAfterAnd", "equ: l var_1 a var_5==3",
                  "Une comparaison doit suivre 'l'\n\nvar_5==3"},
        ErrorCase{"ComparisonConstant", "equ: l var_5<=trois",
                  "Constante invalide dans une comparaison\n\nvar_5<=trois"},
        ErrorCase{"ValConstant", "equ: l var_1 =val var_2 var_3",
                  "Constante invalide après '=val'\n\nvar_3"},
        ErrorCase{"ProgramTooLong", many("1", 19999),
                  "Trop d'éléments dans les tables et équations (20000 maximum)\n\n1"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

}  // namespace
