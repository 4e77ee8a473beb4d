#include "turnouts/aig_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kErrorPrefix = "Fichier 'config.txt',\n\nSection #aig Erreur ligne :";

class AigConfigTest : public ::testing::Test {
 protected:
  // Reads `file` as config.txt the way start-up does: '-' is a word character by then.
  // With memorisation_aig on, a config_tco.txt is there unless `panel_file` says otherwise.
  void read_file(const std::string& file, bool memorisation_aig = false, bool panel_file = true) {
    t_ = std::make_unique<TestSystem>();
    t_->dir.write("config.txt", file);
    if (memorisation_aig && panel_file) t_->dir.write("config_tco.txt", "");
    sys().minus_switch = true;
    sys().general.memorisation_aig = memorisation_aig ? 1 : 0;
    read_aig_section(sys());
  }
  void read(const std::string& body, bool memorisation_aig = false) {
    read_file("#general\n[\n]\n#aig\n[\n" + body + "]\n", memorisation_aig);
  }
  System& sys() { return t_->sys; }
  const std::vector<RecordedBox>& boxes() { return t_->host.boxes; }

  std::unique_ptr<TestSystem> t_ = std::make_unique<TestSystem>();
};

void expect_slot(const AigSlot& slot, int out, int value) {
  EXPECT_EQ(slot.out, out);
  EXPECT_EQ(slot.value, value);
}

struct EntryCase {
  const char* name;
  const char* body;
  std::function<void(System&)> check;
};

const EntryCase kEntryCases[] = {
    {"turnout line with its rest list",
     "aig3: prep0: out105=1 tic=2 go0: out104=1 tic=3 lib0: out105=0 tic=1 prep1: out106=1 go1: "
     "out104=1 lib1: out106=0\nrepos: out104=0 out105=0 out106=0\n",
     [](System& s) {
       const auto& d = s.aig.AIG_DESCR[3];
       EXPECT_EQ(s.aig.AIG_DESCR_INFO[3][AIG_INFO_DEFINED], 1);
       expect_slot(d[0].slot[0], 105, 1);
       expect_slot(d[0].slot[1], -1, -1);
       expect_slot(d[1].slot[0], 104, 1);
       expect_slot(d[2].slot[0], 105, 0);
       expect_slot(d[3].slot[0], 106, 1);
       expect_slot(d[4].slot[0], 104, 1);
       expect_slot(d[5].slot[0], 106, 0);
       EXPECT_EQ(d[0].tic, 2);
       EXPECT_EQ(d[1].tic, 3);
       EXPECT_EQ(d[2].tic, 1);
       EXPECT_EQ(d[3].tic, -1);
       expect_slot(s.aig.AIG_DESCR_IDLE[0], 104, 0);
       expect_slot(s.aig.AIG_DESCR_IDLE[2], 106, 0);
       expect_slot(s.aig.AIG_DESCR_IDLE[3], -1, -1);
       EXPECT_EQ(s.aig.AIG_DESCR_INFO[2][AIG_INFO_DEFINED], 0);
     }},
    {"outputs before any phase keyword go to the rest list", "out7=1\naig2:\nout8=-1\n",
     [](System& s) {
       expect_slot(s.aig.AIG_DESCR_IDLE[0], 7, 1);
       expect_slot(s.aig.AIG_DESCR_IDLE[1], 8, -1);
       EXPECT_EQ(s.aig.AIG_DESCR_INFO[2][AIG_INFO_DEFINED], 1);
       expect_slot(s.aig.AIG_DESCR[2][0].slot[0], -1, -1);
     }},
    {"the phase and slot carry over to the next turnout",
     "aig4: go1: out10=1\naig5: out11=1 tic=7\n",
     [](System& s) {
       expect_slot(s.aig.AIG_DESCR[4][4].slot[0], 10, 1);
       expect_slot(s.aig.AIG_DESCR[4][4].slot[1], -1, -1);
       expect_slot(s.aig.AIG_DESCR[5][4].slot[0], -1, -1);
       expect_slot(s.aig.AIG_DESCR[5][4].slot[1], 11, 1);
       EXPECT_EQ(s.aig.AIG_DESCR[5][4].tic, 7);
       EXPECT_EQ(s.aig.AIG_DESCR[4][4].tic, -1);
     }},
    {"preplib0 fills prepare and release together",
     "aig1: preplib0: out3=1 tic=4\naig2: preplib1: out4=0\n",
     [](System& s) {
       for (int phase : {0, 2}) {
         expect_slot(s.aig.AIG_DESCR[1][phase].slot[0], 3, 1);
         EXPECT_EQ(s.aig.AIG_DESCR[1][phase].tic, 4);
       }
       expect_slot(s.aig.AIG_DESCR[1][1].slot[0], -1, -1);
       EXPECT_EQ(s.aig.AIG_DESCR[1][1].tic, -1);
       expect_slot(s.aig.AIG_DESCR[2][3].slot[0], 4, 0);
       expect_slot(s.aig.AIG_DESCR[2][5].slot[0], 4, 0);
       expect_slot(s.aig.AIG_DESCR[2][4].slot[0], -1, -1);
     }},
    {"default_tic fills only durations still unset",
     "aig1: prep0: tic=5\ndefault_tic: 2,3,2,-1,0,2\naig1: go0: tic=9\n",
     [](System& s) {
       EXPECT_EQ(s.aig.AIG_DESCR[1][0].tic, 5);
       EXPECT_EQ(s.aig.AIG_DESCR[1][1].tic, 9);
       EXPECT_EQ(s.aig.AIG_DESCR[1][2].tic, 2);
       const std::array<int, kAigPhases> defaults{2, 3, 2, -1, 0, 2};
       for (int p = 0; p < kAigPhases; ++p) EXPECT_EQ(s.aig.AIG_DESCR[63][p].tic, defaults[p]);
       EXPECT_EQ(s.aig.AIG_DESCR_INFO[63][AIG_INFO_DEFINED], 0);
     }},
    {"a later repos block overwrites only its first slots",
     "repos: out1=1 out2=1 out3=1\naig0: prep0: out9=1\nrepos: out4=0\n",
     [](System& s) {
       expect_slot(s.aig.AIG_DESCR_IDLE[0], 4, 0);
       expect_slot(s.aig.AIG_DESCR_IDLE[1], 2, 1);
       expect_slot(s.aig.AIG_DESCR_IDLE[2], 3, 1);
       expect_slot(s.aig.AIG_DESCR_IDLE[3], -1, -1);
     }},
    {"tic in the rest list is ignored", "repos: out1=0 tic=3\n",
     [](System& s) {
       for (const auto& phases : s.aig.AIG_DESCR)
         for (const AigPhase& phase : phases) EXPECT_EQ(phase.tic, -1);
     }},
    {"start positions: only valid entries with 1 throw a turnout",
     "position_depart: a3.1 a4.0 a70.1 b5.1 a6,1 a7.1 a8\n",
     [](System& s) {
       for (int n = 0; n < kTurnouts; ++n)
         EXPECT_EQ(s.aig.aig_cmd[n], n == 3 || n == 7 ? 1 : 0) << n;
     }},
    {"verif0 and verif1 are stored for the current turnout",
     "aig2: verif0: det_105 = 1 verif1: var_3=0\n",
     [](System& s) {
       const auto& info = s.aig.AIG_DESCR_INFO[2];
       EXPECT_EQ(info[AIG_INFO_VERIF0_VAR], var_from_label(s, "det_105"));
       EXPECT_GE(info[AIG_INFO_VERIF0_VAR], 0);
       EXPECT_EQ(info[AIG_INFO_VERIF0_VALUE], 1);
       EXPECT_EQ(info[AIG_INFO_VERIF1_VAR], var_from_label(s, "var_3"));
       EXPECT_EQ(info[AIG_INFO_VERIF1_VALUE], 0);
     }},
    {"eight outputs in a phase, the last output of card 3, and a comment",
     "aig0: prep0: out0=1 out1=1 out2=1 out3=1 out4=1 out5=1 out6=1 out379=7 @ out8=1 nonsense\n",
     [](System& s) {
       expect_slot(s.aig.AIG_DESCR[0][0].slot[7], 379, 7);
       expect_slot(s.aig.AIG_DESCR[0][0].slot[0], 0, 1);
     }},
};

TEST_F(AigConfigTest, EntriesAndTheirEffect) {
  for (const EntryCase& c : kEntryCases) {
    SCOPED_TRACE(c.name);
    read(c.body);
    c.check(sys());
    EXPECT_TRUE(boxes().empty());
  }
}

TEST_F(AigConfigTest, FileWithoutSectionLeavesTheInitialTables) {
  read_file("#general\n[\n]\n");
  EXPECT_TRUE(boxes().empty());
  for (int n = 0; n < kTurnouts; ++n) {
    EXPECT_FALSE(sys().aig.defined(n));
    EXPECT_EQ(sys().aig.AIG_DESCR_INFO[n][AIG_INFO_VERIF1_VALUE], -1);
  }
  expect_slot(sys().aig.AIG_DESCR_IDLE[0], -1, -1);
  EXPECT_EQ(sys().aig.aig_seq_current, -1);
  EXPECT_EQ(sys().aig.aig_seq_state, AIG_SEQ_IDLE);
}

// Until there is a config_tco.txt to remember them, the start positions come from config.txt.
TEST_F(AigConfigTest, MemorisedWithoutPanelFileReadsTheStartLine) {
  read_file("#general\n[\n]\n#aig\n[\naig3: prep0: out1=1\nposition_depart: a3.1\n]\n", true,
            false);
  EXPECT_EQ(sys().aig.aig_cmd[3], 1);
}

TEST_F(AigConfigTest, SavedPositionsReplaceTheStartLineWhenMemorised) {
  read("aig3: prep0: out1=1\nposition_depart: a3.1 a4.1\n", true);
  EXPECT_EQ(sys().aig.aig_cmd[3], 0);
  EXPECT_EQ(sys().aig.aig_cmd[4], 0);
  EXPECT_TRUE(boxes().empty());

  // What the panel file feeds back: a saved 1 moves only a defined turnout.
  const struct {
    int turnout, value, expected_cmd;
  } saved[] = {{3, 1, 1}, {4, 1, 0}, {3, 0, 1}, {64, 1, 0}, {-1, 1, 0}};
  for (const auto& s : saved) {
    aig_restore_saved_position(sys(), s.turnout, s.value);
    if (s.turnout >= 0 && s.turnout < kTurnouts) {
      EXPECT_EQ(sys().aig.aig_cmd[s.turnout], s.expected_cmd);
    }
  }
}

TEST_F(AigConfigTest, BadLinesShowTheDescriptionError) {
  const char* bad_lines[] = {
      "aig64:",
      "aig3 prep0:",
      "aigx:",
      "prep2: out1=1",
      "aig1: prep0: out1=1 out2=1 out3=1 out4=1 out5=1 out6=1 out7=1 out8=1 out9=1",
      "aig1: preplib1: out1=1 out2=1 out3=1 out4=1 out5=1 out6=1 out7=1 out8=1 out9=1",
      "aig1: prep0: out400=1",
      "aig1: prep0: out80=1",
      "aig1: prep0: out-1=1",
      "aig1: prep0: out5=x",
      "aig1: prep0: out5",
      "aig1: prep0: tic 3",
      "aig1: verif0: nolabel_7 = 1",
      "aig1: verif1: det_105 1",
      "default_tic: 2,3,2,2,3",
      "default_tic: 2 3 2 2 3 2",
      "position_depart:",
      "position_depart: a3",
      "aig1: prep0: out1=1 bogus",
  };
  for (const char* bad : bad_lines) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(read(std::string("aig0: prep0: out1=1\n") + bad + "\n"), FatalConfigError);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].title, "ZIR - Erreur");
    EXPECT_EQ(boxes()[0].text.rfind(kErrorPrefix, 0), 0u) << boxes()[0].text;
    EXPECT_EQ(boxes()[0].icon, BoxIcon::Error);
  }
}

TEST_F(AigConfigTest, ErrorBoxQuotesTheTokens) {
  EXPECT_THROW(read("aig64: prep0: @ comment\n"), FatalConfigError);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].text, std::string(kErrorPrefix) + "  aig64  :  prep0  :");
}

TEST_F(AigConfigTest, FortyFirstRestOutputIsRefused) {
  std::string forty;
  for (int k = 0; k < 40; ++k)
    forty += "out" + std::to_string(k) + "=0" + (k % 10 == 9 ? "\n" : " ");
  read(forty);
  expect_slot(sys().aig.AIG_DESCR_IDLE[39], 39, 0);
  EXPECT_THROW(read(forty + "out40=0\n"), FatalConfigError);
}

TEST_F(AigConfigTest, LineOfSeventyFiveTokensShowsThreeBoxes) {
  std::string line = "aig1: prep0:";
  for (int k = 0; k < 24; ++k) line += " out1=0";  // 4 + 72 tokens
  EXPECT_THROW(read(line + "\n"), FatalConfigError);
  ASSERT_EQ(boxes().size(), 3u);
  EXPECT_EQ(boxes()[0].text,
            "Le fichier config.txt comporte une ligne trop complexe dans la section '#aig'");
  EXPECT_EQ(boxes()[1].text,
            "Section '#aig' (ligne>75 blocs) commençant par (taper sur entrée) : ");
  EXPECT_EQ(boxes()[2].title, "ZIR - Erreur");
  EXPECT_EQ(boxes()[2].text.rfind("Section #aig Erreur ligne :  aig1  :  prep0  :", 0), 0u);
}

TEST_F(AigConfigTest, MissingFileShowsTheOpenFailure) {
  EXPECT_THROW(read_aig_section(sys()), FatalConfigError);
  ASSERT_EQ(boxes().size(), 1u);
  EXPECT_EQ(boxes()[0].title, "Erreur");
  EXPECT_EQ(boxes()[0].text,
            "Impossible d'ouvrir le fichier de configuration des aiguillages 'Config.txt'");
}

}  // namespace
