// Both readers on good lines with words replaced, dropped or repeated at random: a line is either
// read into well-formed rules or refused with a box, never anything else.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "block/aigauto_config.h"
#include "block/balauto_config.h"
#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kWords[] = {
    "vitmax", "halt",        "cant",      "condi", "plusur", "blocage", "actions", "dec",
    "ral",    "tempo",       "libe",      ":",     ":",      ".",       ".",       "+",
    "-",      "|",           "c5",        "c315",  "c16",    "c0",      "C3",      "c",
    "30",     "0",           "1",         "64",    "65",     "28",      "99",      "100",
    "-5",     "a3",          "a63",       "a64",   "a",      "det_6",   "det_16",  "in_3",
    "var_0",  "iti_start_1", "aig_cmd_2", "x",     "@c",     "]",       ";",       "999999999999",
};

// Good lines of each section, as words.
const std::vector<std::string> kGoodBalauto = {
    "vitmax : c12 : + 30 condi : a3 . 0 det_14 . 1",
    "halt : c5 : - condi : in_3 . 1",
    "cant : c5 : + dec : 5 ral : 20 plusur : c4 c3 blocage : det_6 . 1 | det_7 . 1 in_3 . 0",
    "tempo - libe - cant : 20",
};
const std::vector<std::string> kGoodAigauto = {
    "cant : c10 : + 5 plusur : c9 condi : a4 . 1 actions : a7 . 0 a8 . 1",
    "cant : c1 : - 64",
};

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// A good line with up to three words replaced, dropped or repeated.
std::string random_line(std::mt19937& rng, const std::vector<std::string>& good) {
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  std::vector<std::string> words = split(good[pick(good.size())]);
  for (size_t edits = pick(4); edits > 0 && !words.empty(); --edits) {
    const size_t at = pick(words.size());
    switch (pick(3)) {
      case 0:
        words[at] = kWords[pick(std::size(kWords))];
        break;
      case 1:
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(at));
        break;
      default:
        words.insert(words.begin() + static_cast<std::ptrdiff_t>(at), words[at]);
    }
  }
  std::string line;
  for (const std::string& w : words) line += w + " ";
  return line + "\n";
}

// A list is used up to its first -1 and holds nothing after it.
template <typename List>
void expect_contiguous(const List& list) {
  bool ended = false;
  for (const int32_t v : list) {
    EXPECT_TRUE(!ended || v == -1);
    ended = ended || v == -1;
  }
}

bool canton_or_none(int32_t canton) {
  return canton == -1 || canton_slot(canton) >= 0;
}

void expect_well_formed(const BlockState& b) {
  for (const VitmaxRule& r : b.vitmax) {
    EXPECT_TRUE(canton_or_none(r.canton));
    EXPECT_TRUE(r.canton == -1 || (r.limit != 0 && r.limit >= -64 && r.limit <= 64));
    expect_contiguous(r.cond.var);
  }
  for (const CantRule& r : b.cant) {
    EXPECT_TRUE(canton_or_none(r.canton));
    EXPECT_TRUE(r.dec == -1 || (r.dec >= 1 && r.dec <= 28));
    EXPECT_TRUE(r.ral == -1 || (r.ral >= 1 && r.ral <= 64));
    for (const int32_t c : r.plusur) EXPECT_TRUE(canton_or_none(c));
    expect_contiguous(r.blocage.var);
    if (r.blocage.var[0] == kOrMarker) ADD_FAILURE() << "an OR marker first";
  }
  for (const AigautoRule& r : b.aigauto) {
    EXPECT_TRUE(canton_or_none(r.canton));
    for (const int32_t n : r.aig) EXPECT_TRUE(n >= -1 && n < kTurnouts);
    expect_contiguous(r.aig);
  }
  EXPECT_TRUE(b.tempo_libe_cant >= 0 && b.tempo_libe_cant < 100);
}

TEST(BlockReaders, RandomLinesAreReadOrRefused) {
  std::mt19937 rng(7);
  int read = 0;
  int refused = 0;
  for (int trial = 0; trial < 400; ++trial) {
    TestSystem t;
    const bool balauto = trial % 2 == 0;
    const std::string body = random_line(rng, balauto ? kGoodBalauto : kGoodAigauto);
    t.dir.write("config.txt",
                std::string(balauto ? "#balauto" : "#aigauto") + "\n[\n" + body + "]\n");
    t.sys.minus_switch = true;
    try {
      balauto ? read_balauto(t.sys) : read_aigauto(t.sys);
      EXPECT_TRUE(t.host.boxes.empty()) << body;
      ++read;
    } catch (const FatalConfigError&) {
      EXPECT_FALSE(t.host.boxes.empty()) << body;
      ++refused;
    }
    expect_well_formed(t.sys.block);
    EXPECT_TRUE(t.sys.minus_switch);
    if (::testing::Test::HasFailure()) return;
  }
  EXPECT_GT(read, 50);
  EXPECT_GT(refused, 50);
}

}  // namespace
