#include "block/aigauto_config.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/fatal.h"
#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kErrorPrefix =
    "Fichier 'config.txt',\n\nSection #aigauto,\n\nErreur de description sur la ligne :";

class AigautoConfigTest : public ::testing::Test {
 protected:
  void read(const std::string& body) {
    t_ = std::make_unique<TestSystem>();
    t_->dir.write("config.txt", "#aigauto\n[\n" + body + "]\n");
    sys().minus_switch = true;
    read_aigauto(sys());
  }
  System& sys() { return t_->sys; }
  const AigautoRule& rule(int n) { return sys().block.aigauto[static_cast<size_t>(n)]; }

  std::unique_ptr<TestSystem> t_ = std::make_unique<TestSystem>();
};

TEST_F(AigautoConfigTest, RuleWithAllFourParts) {
  read(
      "cant : c10 : + 5 plusur : c9 condi : a4 . 1 det_11 . 0 actions : a7 . 0 a8 . 1\n"
      "cant:c112:-64 plusur: condi: actions: a63.1 @ empty parts still open the next\n"
      "cant : c3 : + 1\n");
  EXPECT_TRUE(t_->host.boxes.empty());
  EXPECT_EQ(sys().block.aigauto_count, 3);
  const AigautoRule& r = rule(0);
  EXPECT_EQ(r.canton, 10);
  EXPECT_EQ(r.speed, 5);
  EXPECT_EQ(r.done, 0);
  EXPECT_EQ(r.plusur[0], 9);
  EXPECT_EQ(r.plusur[1], -1);
  EXPECT_EQ(r.cond.var[0], var_from_label(sys(), "pos1_aig_4"));
  EXPECT_EQ(r.cond.val[0], 1);
  EXPECT_EQ(r.cond.var[1], 11);
  EXPECT_EQ(r.cond.val[1], 0);
  EXPECT_EQ(r.cond.var[2], -1);
  EXPECT_EQ(r.aig[0], 7);
  EXPECT_EQ(r.pos[0], 0);
  EXPECT_EQ(r.aig[1], 8);
  EXPECT_EQ(r.pos[1], 1);
  EXPECT_EQ(r.aig[2], -1);
  EXPECT_EQ(rule(1).canton, 112);
  EXPECT_EQ(rule(1).speed, -64);
  EXPECT_EQ(rule(1).plusur[0], -1);
  EXPECT_EQ(rule(1).aig[0], 63);
  EXPECT_EQ(rule(2).speed, 1);
  EXPECT_EQ(rule(2).aig[0], -1);
  EXPECT_EQ(rule(3).canton, -1);
  EXPECT_EQ(rule(3).speed, -1);
}

TEST_F(AigautoConfigTest, ReadingStopsAfterTheHundredthRule) {
  std::string body;
  for (int n = 0; n < kAigautoRules; ++n) body += "cant : c" + std::to_string(n % 16) + " : + 5\n";
  body += "whatever follows is not read\n";
  std::string long_line = "cant : c1 : + 5 condi :";
  for (int k = 0; k < 30; ++k) long_line += " in_1 . 1";
  read(body + long_line + "\n");
  EXPECT_TRUE(t_->host.boxes.empty());
  EXPECT_EQ(sys().block.aigauto_count, kAigautoRules);
  EXPECT_EQ(rule(kAigautoRules - 1).canton, (kAigautoRules - 1) % 16);
}

TEST_F(AigautoConfigTest, BadLinesShowTheDescriptionError) {
  const char* bad_lines[] = {
      "cant : c10 : + 5 condi : in_3 . 1",  // condi without plusur first
      "cant : c10 : + 5 plusur : actions : a1 . 1",
      "cant : c10 : + 5 plusur : condi : condi :",
      "plusur : c9",                        // no cant
      "cant : c10 : + 5 cant : c11 : + 5",  // a second cant
      "cant : c10 : + 5 plusur : c1 c2 c3 c4 c5 c6 c7",
      "cant : c10 : + 5 plusur : condi : in_1.1 in_2.1 in_3.1 in_4.1 in_5.1 in_6.1 in_7.1",
      "cant : c10 : + 5 plusur : condi : actions : a1.1 a2.1 a3.1 a4.1 a5.1 a6.1 a7.1",
      "cant : c10 : + 5 plusur : condi : actions : a64 . 1",
      "cant : c10 : + 5 plusur : condi : actions : a3 . 2",
      "cant : c10 : + 5 plusur : condi : actions : in_3 . 1",
      "cant : c10 : + 5 plusur : condi : a64 . 1",
      "cant : c10 : + 5 plusur : condi : nothing_1 . 1",
      "cant : c10 : + 5 plusur : condi : depl_stop_3 . 1",
      "cant : c10 : + 5 plusur : c16",
      "cant : c10 : + 65",
      "cant : c10 : + 0",
      "cant : c10 : 5",
      "cant : c16 : + 5",
      "cant : c10 : + 5 extra",
  };
  for (const char* bad : bad_lines) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(read(std::string(bad) + "\n"), FatalConfigError);
    ASSERT_EQ(t_->host.boxes.size(), 1u);
    EXPECT_EQ(t_->host.boxes[0].title, "ZIR - Erreur");
    EXPECT_EQ(t_->host.boxes[0].text.rfind(kErrorPrefix, 0), 0u) << t_->host.boxes[0].text;
  }
}

TEST_F(AigautoConfigTest, TooComplexLineShowsThreeBoxesWithTheSectionTexts) {
  std::string line = "cant : c1 : + 5 plusur : condi :";
  for (int k = 0; k < 25; ++k) line += " in_1 . 1";
  EXPECT_THROW(read(line + "\n"), FatalConfigError);
  ASSERT_EQ(t_->host.boxes.size(), 3u);
  EXPECT_EQ(t_->host.boxes[0].text,
            "Le fichier config.txt comporte une ligne trop complexe dans la section '#aigauto'");
  EXPECT_EQ(t_->host.boxes[1].text,
            "Section '#aigauto' (ligne>75 blocs) commençant par (taper sur Entrée) : ");
  EXPECT_EQ(t_->host.boxes[2].text.rfind("Section #aigauto Erreur ligne :  cant  :  c1", 0), 0u);
}

TEST_F(AigautoConfigTest, MissingFileShowsTheOpenFailure) {
  EXPECT_THROW(read_aigauto(sys()), FatalConfigError);
  ASSERT_EQ(t_->host.boxes.size(), 1u);
  EXPECT_EQ(t_->host.boxes[0].title, "Erreur");
  EXPECT_EQ(t_->host.boxes[0].text, "Impossible d'ouvrir le fichier de configuration du #aigauto");
}

}  // namespace
