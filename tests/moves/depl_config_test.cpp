#include "moves/depl_config.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fatal.h"
#include "moves/garage_config.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kBadLine =
    "Fichier 'config.txt',\n\nSection #Déplacement,\n\nErreur de description sur la ligne :";
constexpr const char* kNoFin =
    "Fichier 'config.txt',\n\nSection #Déplacement, erreur il manque l'instruction 'fin:' ligne :";

// Reads `body` as the #depl section, as start-up does ('-' is a word character by then).
void read_depl(TestSystem& t, const std::string& body) {
  t.dir.write("config.txt", "#depl\n[\n" + body + "]\n");
  t.sys.minus_switch = true;
  read_depl_section(t.sys);
}

TEST(DeplConfig, SecondsBecomeTicsOf95Ms) {
  EXPECT_EQ(depl_seconds_to_tics(5), 52);
  EXPECT_EQ(depl_seconds_to_tics(1), 10);
  EXPECT_EQ(depl_seconds_to_tics(0), 0);
  EXPECT_EQ(depl_seconds_to_tics(999), 10515);
}

TEST(DeplConfig, AMovementLineAndItsRecord) {
  TestSystem t;
  read_depl(t,
            "d3 name:Gare_Est start:c12 c12+30 c13+30 c14-20 a5.1 a6.0 stop:c14 tempo:2 "
            "fin:det_14 taf3 tsf2 sdeb:var_0\n");
  const DeplRecord& r = t.sys.depl.depl_record[3];
  const int kList[] = {12, 30, 13, 30, 14, -20, -1};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(r[DEPL_CANTONS + k], kList[k]) << k;
  const int kTurnoutList[] = {5, 1, 6, 0, -1};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(r[DEPL_TURNOUTS + k], kTurnoutList[k]) << k;
  EXPECT_EQ(r[DEPL_START], 12);
  EXPECT_EQ(r[DEPL_START2], -1);
  EXPECT_EQ(r[DEPL_STOP], 14);
  EXPECT_EQ(r[DEPL_TEMPO], 21);
  EXPECT_EQ(r[DEPL_FIN], 14);
  EXPECT_EQ(r[DEPL_FIN + 1], 1);
  EXPECT_EQ(r[DEPL_PASS], -1);
  EXPECT_EQ(r[DEPL_TAF], 31);
  EXPECT_EQ(r[DEPL_TSF], 21);
  EXPECT_EQ(r[DEPL_VARIABLES], 0);
  EXPECT_EQ(r[DEPL_VARIABLES + 1], 5400);
  EXPECT_EQ(r[DEPL_VARIABLES + 2], -1);
  EXPECT_EQ(r[DEPL_REQUIRED_TRAIN], -1);
  EXPECT_EQ(r[DEPL_STATE], 0);
  EXPECT_EQ(r[DEPL_START_REQUEST], 0);
  EXPECT_EQ(r[DEPL_CURRENT_SPEED], 0);  // ready for a ramp from standing
  EXPECT_EQ(t.sys.depl.name[3], "Gare_Est");
  EXPECT_TRUE(t.sys.minus_switch);  // on again after the section
  EXPECT_TRUE(t.host.boxes.empty());
}

TEST(DeplConfig, KeywordsSidingsServoAndGlobalLevels) {
  TestSystem t;
  t.sys.aig.aig_reserved[9] = 1;
  t.sys.depl.name[8] = "old";
  read_depl(t,
            "acc-dec: xx-12 whatever follows\n"
            "d0 start:g4 g4 c101+5 stop:g5 start2:c7 train:31 srv304:1023 passage:in_3 "
            "liberation:var_1 final:det_2 halte:var_3 tempo2:0 sc:vib_on cfin:out_1 "
            "sfin:led_5 cdeb:exe_2\n"
            "d0 c102-64\n"
            "acc-dec : 28 - xx\n");
  const DeplRecord& r = t.sys.depl.depl_record[0];
  EXPECT_EQ(t.sys.depl.acc, 28);
  EXPECT_EQ(t.sys.depl.dec, 12);
  EXPECT_EQ(r[DEPL_START], 1004);
  EXPECT_EQ(r[DEPL_START2], 7);
  EXPECT_EQ(r[DEPL_STOP], 1005);
  EXPECT_EQ(r[DEPL_REQUIRED_TRAIN], 31);
  EXPECT_EQ(r[DEPL_SERVO], 304);
  EXPECT_EQ(r[DEPL_SERVO_POSITION], 1023);
  EXPECT_EQ(r[DEPL_PASS], 403);
  EXPECT_EQ(r[DEPL_LIBE], 5401);
  EXPECT_EQ(r[DEPL_FIN], 2);
  EXPECT_EQ(r[DEPL_HALT], 5403);
  EXPECT_EQ(r[DEPL_HALT + 1], 1);
  EXPECT_EQ(r[DEPL_TEMPO], 0);
  // The second line starts the lists again: its canton replaces the first entry.
  EXPECT_EQ(r[DEPL_CANTONS], 102);
  EXPECT_EQ(r[DEPL_CANTONS + 1], -64);
  EXPECT_EQ(r[DEPL_CANTONS + 2], 101);
  const int kVariables[] = {4, 7000, 3, 1201, 1, 1605, 2, 8402};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(r[DEPL_VARIABLES + k], kVariables[k]) << k;
  EXPECT_EQ(t.sys.aig.aig_reserved[9], 0);
  EXPECT_EQ(t.sys.depl.name[8], "");
  EXPECT_TRUE(t.host.boxes.empty());
}

TEST(DeplConfig, AnUnknownStartOrEndLabelStaysUnsetAndIsLogged) {
  TestSystem t;
  read_depl(t, "d1 start:c1 fin:det_1 sdeb:nothing_1\n");
  EXPECT_EQ(t.sys.depl.depl_record[1][DEPL_VARIABLES], 0);
  EXPECT_EQ(t.sys.depl.depl_record[1][DEPL_VARIABLES + 1], -1);
  EXPECT_NE(t.log().find("Erreur3"), std::string::npos);
  EXPECT_NE(t.log().find("nothing_1"), std::string::npos);
}

TEST(DeplConfig, BadLinesAndTheirBoxes) {
  struct Case {
    const char* lines;
    const char* text;
  };
  const Case kCases[] = {
      {"d1 c12-0 fin:det_1", kBadLine},
      {"d1 c12+65 fin:det_1", kBadLine},
      {"d1 c116+5 fin:det_1", kBadLine},
      {"d1 c12 fin:det_1", kBadLine},
      {"d1 g32 fin:det_1", kBadLine},
      {"d1 a64.0 fin:det_1", kBadLine},
      {"d1 a3.2 fin:det_1", kBadLine},
      {"d200 fin:det_1", kBadLine},
      {"c1+5 d1 fin:det_1", kBadLine},
      {"fin:det_1", kBadLine},
      {"d1 fin:det_99", kBadLine},
      {"d1 fin:!det_1", kBadLine},
      {"d1 pass:var_600 fin:det_1", kBadLine},
      {"d1 start2:g1 fin:det_1", kBadLine},
      {"d1 stop:c16 fin:det_1", kBadLine},
      {"d1 train:32 fin:det_1", kBadLine},
      {"d1 taf1000 fin:det_1", kBadLine},
      {"d1 tafx fin:det_1", kBadLine},
      {"d1 tempo:1000 fin:det_1", kBadLine},
      {"d1 srv5:10 fin:det_1", kBadLine},
      {"d1 srv400:10 fin:det_1", kBadLine},
      {"d1 srv0:1024 fin:det_1", kBadLine},
      {"d1 name:abcdefghijabcdefghijabcdefghijabcdefghijk fin:det_1", kBadLine},
      {"d1 fin:det_1 sdeb:var_1 sdeb:var_2 sfin:var_3 sc:var_4 cdeb:var_5", kBadLine},
      {"d1 fin:det_1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1 c1+1", kBadLine},
      {"d1 fin:det_1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1 a1.1", kBadLine},
      {"acc-dec: 0-5", kBadLine},
      {"acc-dec: 5-29", kBadLine},
      {"d1 fin:det_1 start", kBadLine},
      {"d1 c12+30", kNoFin},
      {"d5 d6 fin:det_3", kNoFin},
  };
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.lines);
    TestSystem t;
    EXPECT_THROW(read_depl(t, std::string(k.lines) + "\n"), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, "ZIR - Erreur dans 'config.txt'");
    EXPECT_EQ(t.host.boxes[0].text.rfind(k.text, 0), 0u);
    EXPECT_TRUE(t.sys.minus_switch);
  }
}

TEST(DeplConfig, TheArrivalMarkerCarriesOverToLaterLines) {
  TestSystem t;
  read_depl(t, "d5 fin:det_3\nd5 start:c1 c1+10\nd6 fin:det_4 d5 c2+10\n");
  EXPECT_EQ(t.sys.depl.depl_record[5][DEPL_START], 1);
  EXPECT_EQ(t.sys.depl.depl_record[5][DEPL_CANTONS], 2);
  EXPECT_TRUE(t.host.boxes.empty());
}

// A line of 75 tokens or more: the three boxes of each section, whatever the line holds.
TEST(DeplConfig, OverlongLinesOfBothSectionsShowTheThreeBoxes) {
  struct Case {
    const char* header;
    void (*read)(System&);
    const char* first;
    const char* second;
    const char* third;
  };
  const Case kCases[] = {
      {"#depl", read_depl_section,
       "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#depl'",
       "Section '#depl' (ligne>75 blocs) commençant par (taper sur Entrée) : ",
       "Section #depl Erreur ligne :"},
      {"#garage", read_garage_section,
       "Le fichier config.txt comporte une ligne trop complexe dans la section '#garage'",
       "Section '#garage' (ligne>75 blocs) commençant par (taper sur entrée) : ",
       "Section #garage Erreur ligne :"},
  };
  std::string long_line = "d1";
  for (int k = 0; k < 80; ++k) long_line += " x";
  for (const Case& k : kCases) {
    SCOPED_TRACE(k.header);
    TestSystem t;
    t.dir.write("config.txt", std::string(k.header) + "\n[\n" + long_line + "\n]\n");
    t.sys.minus_switch = true;
    EXPECT_THROW(k.read(t.sys), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 3u);
    EXPECT_EQ(t.host.boxes[0].title, "Erreur");
    EXPECT_EQ(t.host.boxes[0].text, k.first);
    EXPECT_EQ(t.host.boxes[1].text, k.second);
    EXPECT_EQ(t.host.boxes[2].title, "ZIR - Erreur");
    EXPECT_EQ(t.host.boxes[2].text.rfind(std::string(k.third) + "  d1  x", 0), 0u);
  }
}

TEST(DeplConfig, AMissingFileIsTheOpenFailureOfEachSection) {
  struct Case {
    void (*read)(System&);
    const char* text;
  };
  const Case kCases[] = {
      {read_depl_section,
       "Impossible d'ouvrir le fichier de configuration des déplacements 'Config.txt'"},
      {read_garage_section,
       "Impossible d'ouvrir le fichier de configuration des garages 'Config.txt'"},
  };
  for (const Case& k : kCases) {
    TestSystem t;
    EXPECT_THROW(k.read(t.sys), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, "Erreur");
    EXPECT_EQ(t.host.boxes[0].text, k.text);
  }
}

}  // namespace
