#include "trains/selectif_config.h"

#include <vector>

#include "core/fatal.h"
#include "trains_fixture.h"

namespace {

using Rule = std::array<int32_t, kSelRuleSize>;

Rule rule(int target, int target_sign, int from, int from_sign, std::vector<int> conditions = {}) {
  Rule r;
  r.fill(-1);
  r[kSelTarget] = target;
  r[kSelTargetSign] = target_sign;
  r[kSelFrom] = from;
  r[kSelFromSign] = from_sign;
  for (size_t k = 0; k < conditions.size(); ++k) r[kSelConditions + k] = conditions[k];
  return r;
}

class SelectifConfig : public TrainsFixture {
 protected:
  std::vector<Rule> read(const std::string& text) {
    write_config(text);
    read_selectif(sys);
    std::vector<Rule> rules;
    for (const Rule& r : sys.selectif.rule) {
      if (r[kSelTarget] == -1) break;
      rules.push_back(r);
    }
    return rules;
  }
};

TEST_F(SelectifConfig, RulesAlternativesAndConditions) {
  auto rules = read(
      "#general\n[\n]\n@ #selectif in a comment is not a header\n"
      "#selectif\n[\n"
      "c12:+ c11+ a3.0 + c20- a3 . 1 a 4.1\n"
      "c13:- c12+\n"
      "c 14:x c13-\n"
      "]\n"
      "c99:+ c98+\n");
  ASSERT_EQ(rules.size(), 4u);
  EXPECT_EQ(rules[0], rule(12, 0, 11, 0, {3, 0}));
  EXPECT_EQ(rules[1], rule(12, 0, 20, 1, {3, 1, 4, 1}));
  EXPECT_EQ(rules[2], rule(13, 1, 12, 0));
  EXPECT_EQ(rules[3], rule(14, -1, 13, 1));
}

TEST_F(SelectifConfig, BlankBeforeColonAndUpperCase) {
  // "c12 :+" gives the current rule from canton 12; its '+' opens an alternative.
  // "C12:+" is no term: only its '+' counts.
  auto rules = read("#selectif\n[\nc5:+ c4+ c12 :+ C7:- c6-\n]\n");
  ASSERT_EQ(rules.size(), 3u);
  EXPECT_EQ(rules[0], rule(5, 0, 12, 0));
  EXPECT_EQ(rules[1], rule(5, 0, -1, -1));
  EXPECT_EQ(rules[2], rule(5, 0, 6, 1));
}

TEST_F(SelectifConfig, SixConditionsAcceptedNotSeven) {
  const std::string six = "c1:+ c0+ a1.0 a2.1 a3.0 a4.1 a5.0 a6.1";
  auto rules = read("#selectif\n[\n" + six + "\n]\n");
  ASSERT_EQ(rules.size(), 1u);
  EXPECT_EQ(rules[0], rule(1, 0, 0, 0, {1, 0, 2, 1, 3, 0, 4, 1, 5, 0, 6, 1}));
  EXPECT_THROW(read("#selectif\n[\n" + six + " a7.0\n]\n"), FatalConfigError);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text,
            "Le fichier 'config.txt' comporte une ligne trop complexe dans la section "
            "'#selectif' !");
  EXPECT_EQ(host.boxes[1].text,
            "Un terme 'cX:+ cY+' doit être suivi de 6 aiguillages au maximum !");
  EXPECT_EQ(host.boxes[1].title, "Erreur");
}

TEST_F(SelectifConfig, HundredRulesAcceptedNotMore) {
  std::string text = "#selectif\n[\nc1:+ c0+";
  for (int k = 1; k < kSelectifRules; ++k) text += " +";
  EXPECT_EQ(read(text + "\n]\n").size(), 100u);
  EXPECT_THROW(read(text + " -\n]\n"), FatalConfigError);
  EXPECT_EQ(host.boxes.back().text,
            "Pas plus de 100 termes 'Cx :' dans la partie '#selectif' de 'config.txt'");
}

TEST_F(SelectifConfig, TermsBeforeTheFirstRuleAreReported) {
  for (const char* text : {"c11+ c12:+", "+ c12:+ c11+", "a3.0 c12:+ c11+"}) {
    host.boxes.clear();
    EXPECT_THROW(read(std::string("#selectif\n[\n") + text + "\n]\n"), FatalConfigError) << text;
    EXPECT_EQ(host.boxes.size(), 1u);
  }
}

TEST_F(SelectifConfig, NoSectionLeavesTheTableEmpty) {
  EXPECT_TRUE(read("#train\n[\n]\n").empty());
}

}  // namespace
