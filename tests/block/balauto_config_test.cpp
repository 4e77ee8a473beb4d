#include "block/balauto_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/fatal.h"
#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kErrorPrefix =
    "Fichier 'config.txt',\n\nSection #balauto,\n\nErreur de description sur la ligne :";

class BalautoConfigTest : public ::testing::Test {
 protected:
  // Reads a #balauto section the way start-up does: '-' is a word character elsewhere by then.
  void read(const std::string& body) {
    t_ = std::make_unique<TestSystem>();
    t_->dir.write("config.txt", "#general\n[\n]\n#balauto\n[\n" + body + "]\n");
    sys().minus_switch = true;
    read_balauto(sys());
  }
  System& sys() { return t_->sys; }
  BlockState& block() { return t_->sys.block; }

  std::unique_ptr<TestSystem> t_ = std::make_unique<TestSystem>();
};

struct LineCase {
  const char* name;
  const char* body;
  std::function<void(System&, BlockState&)> check;
};

const LineCase kLineCases[] = {
    {"a limit alone is a complete rule", "vitmax : c12 : + 30\n",
     [](System&, BlockState& b) {
       EXPECT_EQ(b.vitmax[0].canton, 12);
       EXPECT_EQ(b.vitmax[0].limit, 30);
       EXPECT_EQ(b.vitmax[0].active, -1);
       EXPECT_EQ(b.vitmax[0].cond.var[0], -1);
       EXPECT_EQ(b.vitmax[1].canton, -1);
       EXPECT_EQ(b.vitmax_count, 1);
     }},
    {"spaces are optional around one-character tokens, a turnout stands for its position",
     "vitmax:c112:-20 condi: a3.0 det_14.1 a63 . 1\n",
     [](System& t, BlockState& b) {
       EXPECT_EQ(b.vitmax[0].canton, 112);
       EXPECT_EQ(b.vitmax[0].limit, -20);
       EXPECT_EQ(b.vitmax[0].cond.var[0], var_from_label(t, "pos0_aig_3"));
       EXPECT_EQ(b.vitmax[0].cond.val[0], 1);
       EXPECT_EQ(b.vitmax[0].cond.var[1], var_from_label(t, "det_14"));
       EXPECT_EQ(b.vitmax[0].cond.val[1], 1);
       EXPECT_EQ(b.vitmax[0].cond.var[2], var_from_label(t, "pos1_aig_63"));
       EXPECT_EQ(b.vitmax[0].cond.var[3], -1);
     }},
    {"a halt with six conditions, and the release delay on the same line",
     "halt : c5 : - condi : in_3 . 1 var_0 . 0 det_1.1 det_2.1 det_3.1 det_4.0 "
     "tempo-libe-cant: 3\n",
     [](System& t, BlockState& b) {
       EXPECT_EQ(b.halt[0].canton, 5);
       EXPECT_EQ(b.halt[0].direction, -1);
       EXPECT_EQ(b.halt[0].cond.var[0], var_from_label(t, "in_3"));
       EXPECT_EQ(b.halt[0].cond.val[1], 0);
       EXPECT_EQ(b.halt[0].cond.var[5], var_from_label(t, "det_4"));
       EXPECT_EQ(b.halt_count, 1);
       EXPECT_EQ(b.tempo_libe_cant, 3);
     }},
    {"a block rule with its OR marker",
     "cant : c5 : + dec : 5 ral : 20 plusur : c4 c3 blocage : det_6 . 1 | det_7 . 1 in_3 . 0\n",
     [](System& t, BlockState& b) {
       const CantRule& r = b.cant[0];
       EXPECT_EQ(r.canton, 5);
       EXPECT_EQ(r.direction, 1);
       EXPECT_EQ(r.dec, 5);
       EXPECT_EQ(r.ral, 20);
       EXPECT_EQ(r.state, -1);
       EXPECT_EQ(r.plusur[0], 4);
       EXPECT_EQ(r.plusur[1], 3);
       EXPECT_EQ(r.plusur[2], -1);
       const std::array<int, 5> vars{var_from_label(t, "det_6"), kOrMarker,
                                     var_from_label(t, "det_7"), var_from_label(t, "in_3"), -1};
       const std::array<int, 5> vals{1, 0, 1, 0, -1};
       for (size_t k = 0; k < vars.size(); ++k) {
         EXPECT_EQ(r.blocage.var[k], vars[k]) << k;
         EXPECT_EQ(r.blocage.val[k], vals[k]) << k;
       }
     }},
    {"ral before dec, no plusur, a block rule ending before blocage",
     "cant : c315 : - ral : 64 dec : 28\ncant : c0 : + blocage : det_1 . 0\n",
     [](System&, BlockState& b) {
       EXPECT_EQ(b.cant[0].canton, 315);
       EXPECT_EQ(b.cant[0].direction, -1);
       EXPECT_EQ(b.cant[0].ral, 64);
       EXPECT_EQ(b.cant[0].dec, 28);
       EXPECT_EQ(b.cant[0].blocage.var[0], -1);
       EXPECT_EQ(b.cant[1].canton, 0);
       EXPECT_EQ(b.cant[1].plusur[0], -1);
       EXPECT_EQ(b.cant[1].blocage.var[0], 1);  // det_1
       EXPECT_EQ(b.cant[1].blocage.val[0], 0);
     }},
    {"the release delay alone, with a comment", "tempo - libe - cant : 99 @ ticks\n",
     [](System&, BlockState& b) {
       EXPECT_EQ(b.tempo_libe_cant, 99);
       EXPECT_EQ(b.vitmax_count, 0);
     }},
    {"a full blocage list: 22 entries",
     "cant:c1:+ blocage: det_1.1 det_2.1 det_3.1 det_4.1 det_5.1 det_6.1 det_7.1 det_8.1 "
     "det_9.1 det_10.1 det_11.1 | det_12.1 det_13.1 det_14.1 det_15.1 det_100.1 det_101.1 "
     "det_102.1 det_103.1 det_104.1 det_105.1\n",
     [](System& t, BlockState& b) {
       EXPECT_EQ(b.cant[0].blocage.var[11], kOrMarker);
       EXPECT_EQ(b.cant[0].blocage.var[21], var_from_label(t, "det_105"));
     }},
};

TEST_F(BalautoConfigTest, LinesAndTheirRules) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.name);
    read(c.body);
    c.check(sys(), block());
    EXPECT_TRUE(t_->host.boxes.empty());
  }
}

TEST_F(BalautoConfigTest, FullTablesDropTheRestOfTheLineSilently) {
  std::string body;
  for (int n = 0; n < kVitmaxRules; ++n)
    body += "vitmax : c" + std::to_string(n % 16) + " : + 10\n";
  for (int n = 0; n < kHaltRules; ++n) body += "halt : c1 : + condi : in_1 . 1\n";
  for (int n = 0; n < kCantRules; ++n) body += "cant : c2 : - dec : 1\n";
  // Beyond the tables: even a bad tail or a release delay on the same line is not read.
  body += "vitmax : c3 : + 99 nonsense\nhalt : c1 : + condi : bad\ncant : c1 : + x : y\n";
  body += "vitmax : c1 : + 10 tempo - libe - cant : 5\n";
  read(body);
  EXPECT_TRUE(t_->host.boxes.empty());
  EXPECT_EQ(block().vitmax_count, kVitmaxRules);
  EXPECT_EQ(block().halt_count, kHaltRules);
  EXPECT_EQ(block().vitmax[kVitmaxRules - 1].canton, (kVitmaxRules - 1) % 16);
  EXPECT_EQ(block().cant[kCantRules - 1].direction, -1);
  EXPECT_EQ(block().tempo_libe_cant, 0);
}

TEST_F(BalautoConfigTest, ReadingResetsTablesAndPerTrainResults) {
  block().bal_dec.fill(4);
  block().bal_ral.fill(9);
  block().bal_state.fill(2);
  block().halt_flag.fill(1);
  block().tempo_libe_cant = 7;
  t_->dir.write("config.txt", "#general\n[\n]\n");
  sys().minus_switch = true;
  read_balauto(sys());
  EXPECT_EQ(block().bal_dec[5], -1);
  EXPECT_EQ(block().bal_ral[5], 0);
  EXPECT_EQ(block().bal_state[5], 0);
  EXPECT_EQ(block().halt_flag[5], 0);
  EXPECT_EQ(block().tempo_libe_cant, 0);
  EXPECT_EQ(block().cant[0].canton, -1);
  EXPECT_TRUE(sys().minus_switch);  // switched off only while the section is read
}

TEST_F(BalautoConfigTest, BadLinesShowTheDescriptionError) {
  const char* bad_lines[] = {
      "halt : c5 : -",                                    // a halt always has conditions
      "halt : c5 : + condi : in_3 .",                     // fewer than 5 tokens after halt's head
      "cant : c5 : +",                                    // fewer than 7 tokens
      "cant : c5 : + plusur : c4 dec : 5",                // dec after plusur
      "cant : c5 : + blocage : | det_6 . 1",              // an OR marker first
      "cant : c5 : + blocage : det_6 . 1 | | det_7 . 1",  // doubled
      "cant : c5 : + blocage : det_6 . 1 det_7 . 1 |",    // last
      "cant : c5 : + blocage :",                          // blocage with nothing after it
      "cant : c5 : + dec : 29",
      "cant : c5 : + dec : 0",
      "cant : c5 : + ral : 65",
      "cant : c5 : + plusur : c4 c3 c2 c1 c0 c6 c7",  // a 7th plusur canton
      "cant : c5 : + plusur : c16",
      "cant:c1:+ blocage: det_1.1 | det_2.1 | det_3.1 | det_4.1 | det_5.1 | det_6.1 | det_7.1 | "
      "det_8.1 | det_9.1 | det_10.1 | det_11.1 | det_12.1",  // a 23rd entry
      "tempo - libe - cant : 100",
      "tempo - libe - cant : x",
      "tempo libe cant : 3",
      "vitmax : c12 : + 65",
      "vitmax : c12 : + 0",
      "vitmax : c12 : 30",
      "vitmax : c16 : + 30",
      "vitmax : c400 : + 30",
      "vitmax : c12 : + 30 condi : in_3 . 2",
      "vitmax : c12 : + 30 condi : in_3 , 1",
      "vitmax : c12 : + 30 condi : det_16 . 1",       // an unknown label
      "vitmax : c12 : + 30 condi : iti_start_1 . 1",  // a variable that cannot be read
      "vitmax : c12 : + 30 condi : a64 . 1",
      "vitmax : c12 : + 30 condi : a70 . 1",
      "vitmax : c12 : + 30 condi : a1 . 0 a2 . 0 a3 . 0 a4 . 0 a5 . 0 a6 . 0 a7 . 0",
      "vitmax : c12 : + 30 halt : c1 : + condi : in_1 . 1",
      "vitmax : c12 : + 30 dec : 3",
      "halt : c5 : + in_3 . 1 in_4 . 1",
      "condi : in_3 . 1",
      "garbage",
  };
  for (const char* bad : bad_lines) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(read(std::string(bad) + "\n"), FatalConfigError);
    ASSERT_EQ(t_->host.boxes.size(), 1u);
    const RecordedBox& box = t_->host.boxes[0];
    EXPECT_EQ(box.title, "ZIR - Erreur");
    EXPECT_EQ(box.icon, BoxIcon::Error);
    EXPECT_EQ(box.text.rfind(kErrorPrefix, 0), 0u) << box.text;
  }
}

TEST_F(BalautoConfigTest, ErrorBoxQuotesTheTokensOfTheLine) {
  EXPECT_THROW(read("halt : c5 : -\n"), FatalConfigError);
  EXPECT_EQ(t_->host.boxes[0].text, std::string(kErrorPrefix) + "  halt  :  c5  :  -");
}

TEST_F(BalautoConfigTest, TooComplexLineShowsThreeBoxes) {
  std::string line = "vitmax : c1 : + 10 condi :";
  for (int k = 0; k < 25; ++k) line += " in_1 . 1";
  EXPECT_THROW(read(line + "\n"), FatalConfigError);
  ASSERT_EQ(t_->host.boxes.size(), 3u);
  EXPECT_EQ(t_->host.boxes[0].title, "Erreur");
  EXPECT_EQ(t_->host.boxes[0].text,
            "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#balauto'");
  EXPECT_EQ(t_->host.boxes[1].text,
            "Section '#balauto' (ligne>75 blocs) commençant par (taper sur Entrée) : ");
  EXPECT_EQ(t_->host.boxes[2].title, "ZIR - Erreur");
  EXPECT_EQ(t_->host.boxes[2].text.rfind("Section #balauto Erreur ligne :  vitmax  :  c1", 0), 0u);
}

TEST_F(BalautoConfigTest, MissingFileShowsTheOpenFailure) {
  EXPECT_THROW(read_balauto(sys()), FatalConfigError);
  ASSERT_EQ(t_->host.boxes.size(), 1u);
  EXPECT_EQ(t_->host.boxes[0].title, "Erreur");
  EXPECT_EQ(t_->host.boxes[0].text, "Impossible d'ouvrir le fichier de configuration du #balauto");
}

}  // namespace
