#include "clock/horo_config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/fatal.h"
#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kDescription =
    "Fichier 'config.txt',\n\nSection #horo,\n\nErreur de description sur la ligne :";

// Reads `body` as the #horo section the way start-up does ('-' is a word character by then).
struct HoroFile : TestSystem {
  explicit HoroFile(const std::string& body) {
    dir.write("config.txt", "#horo\n[\n" + body + "]\n");
    sys.minus_switch = true;
    read_horo_section(sys);
  }
  const HoroAction& action(int n) const { return sys.clock.horo[static_cast<size_t>(n)]; }
};

TEST(HoroConfig, ExampleLineFillsTheAction) {
  HoroFile f(
      "depart j:2 06:00 tic_par_min: 20\n"
      "hd j:s:07:30 hf 19:30 hi 01:00 s:depl_start_run_3 hb +00:20 vf:det_14\n"
      "hd 08:15\n"
      "  c:out_105 s : var_7 @ the action carries over lines\n"
      "  hb 09:00 vf : ! in_3\n"
      "hd j:w:10:00\nhd j:n:00:00\nhd j:6:12:00\n");
  const ClockState& c = f.sys.clock;
  EXPECT_EQ(c.start_day, 2);
  EXPECT_EQ(c.day, 2);
  EXPECT_EQ(c.start_hour, 6);
  EXPECT_EQ(c.hour, 6);
  EXPECT_EQ(c.minute, 0);
  EXPECT_EQ(c.tic_par_min, 20);
  EXPECT_EQ(c.countdown, 16);  // left as it was: the first minute is the start-up one

  // clang-format off
  const HoroAction expected0 = {HORO_WEEKDAYS, 7, 30, 19, 30, 1, 0, 0, 20, 1, 0, 14,
                                1, 6503, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                0, -1, -1, 0};
  const HoroAction expected1 = {-1, 8, 15, -1, -1, -1, -1, 9, 0, 0, 1, 403,
                                0, 1305, 1, 5407, -1, -1, -1, -1, -1, -1, -1, -1,
                                0, -1, -1, 0};
  // clang-format on
  EXPECT_EQ(f.action(0), expected0);
  EXPECT_EQ(f.action(1), expected1);
  EXPECT_EQ(f.action(2)[HORO_DAY], HORO_WEEKEND);
  EXPECT_EQ(f.action(3)[HORO_DAY], HORO_CLEANING);
  EXPECT_EQ(f.action(4)[HORO_DAY], 6);
  EXPECT_EQ(f.action(4)[HORO_HD_H], 12);
  EXPECT_FALSE(c.defined(5));
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(HoroConfig, UnknownActionLabelEndsTheListThere) {
  HoroFile f("hd 08:00 s:depl_start_run_1 s:nothing_9 c:var_3\n");
  EXPECT_EQ(f.action(0)[HORO_ENTRIES + 1], 6501);
  EXPECT_EQ(f.action(0)[HORO_ENTRIES + 3], -1);  // the engine stops here
  EXPECT_EQ(f.action(0)[HORO_ENTRIES + 5], 5403);
  EXPECT_NE(f.log().find("Var inconnue = nothing_9"), std::string::npos);
}

TEST(HoroConfig, CommentsKeepBelowEightyCharactersAndGluePunctuation) {
  const std::string long_word(70, 'x');
  HoroFile f(
      "commentaire: Départ (train 3) à 07:30 , voie_2\n"
      "commentaire: " +
      long_word +
      " trop_long_pour_la_place court\n"
      "commentaire: a\ncommentaire: b\ncommentaire: c @ not part of it\n");
  const auto& comments = f.sys.clock.comments;
  EXPECT_EQ(comments[0], "D\xE9part (train 3 )\xE0 07 : 30 ,voie_2 ");
  EXPECT_EQ(comments[1], long_word + " court ");
  EXPECT_LT(comments[1].size(), 80u);
  EXPECT_EQ(comments[4], "c ");
}

TEST(HoroConfig, ReadingAgainResetsTheTableButNotTheClock) {
  HoroFile f("depart j:3 07:45\nhd 08:00 hb +00:10 vf:det_1\ncommentaire: x\n");
  ClockState& c = f.sys.clock;
  c.horo[0][HORO_STATE] = 2;
  c.horo[0][HORO_INHIBITED] = 1;
  c.cleaning = 1;
  c.hour = 11;
  f.dir.write("config.txt", "#horo\n[\nhd 09:00\n]\n");
  read_horo_section(f.sys);
  EXPECT_EQ(c.hour, 11);  // no depart: the clock keeps its time
  EXPECT_EQ(c.start_hour, 7);
  EXPECT_EQ(c.cleaning, 0);
  EXPECT_EQ(c.comments[0], "");
  EXPECT_EQ(c.horo[0][HORO_HD_H], 9);
  EXPECT_EQ(c.horo[0][HORO_STATE], 0);
  EXPECT_EQ(c.horo[0][HORO_INHIBITED], 0);
  EXPECT_EQ(c.horo[0][HORO_HB_MODE], -1);
}

struct ErrorCase {
  const char* body;
  const char* quoted;  // the tokens of the line the box quotes
};

const ErrorCase kErrorCases[] = {
    {"hf 10:00\n", "  hf  10  :  00"},  // before any hd
    {"hi 01:00\n", "  hi  01  :  00"},
    {"hb 10:00\n", "  hb  10  :  00"},
    {"vf:det_1\n", "  vf  :  det_1"},
    {"s:var_1\n", "  s  :  var_1"},
    {"c:var_1\n", "  c  :  var_1"},
    {"hd 08:00 hf 09:00 hi 00:00\n", "  hd  08  :  00  hf  09  :  00  hi  00  :  00"},
    {"hd j:7:08:00\n", "  hd  j  :  7  :  08  :  00"},
    {"hd j:x:08:00\n", "  hd  j  :  x  :  08  :  00"},
    {"hd 08:60\n", "  hd  08  :  60"},
    {"hd 60:00\n", "  hd  60  :  00"},
    {"hd -1:00\n", "  hd  -1  :  00"},
    {"depart j:0 24:00\n", "  depart  j  :  0  24  :  00"},
    {"depart j:7 05:00\n", "  depart  j  :  7  05  :  00"},
    {"tic_par_min: 0\n", "  tic_par_min  :  0"},
    {"tic_par_min: 10001\n", "  tic_par_min  :  10001"},
    {"tic_par_min: 2x\n", "  tic_par_min  :  2x"},
    {"hd 08:00\nvf: det_99\n", "  vf  :  det_99"},            // unknown
    {"hd 08:00\nvf: ! det_99\n", "  vf  :  !  det_99"},       // unknown with !
    {"hd 08:00\nvf: iti_start_1\n", "  vf  :  iti_start_1"},  // cannot be read
    {"hd 08:00 s:det_1\n", "  hd  08  :  00  s  :  det_1"},   // cannot be written
    {"hd 08:00 s:var_1 s:var_2 s:var_3 c:var_4 c:var_5 c:var_6\nc:var_7\n", "  c  :  var_7"},
    {"hd 08:00\nvitesse: 3\n", "  vitesse  :  3"},
    {"hd 08:00 hf\n", "  hd  08  :  00  hf"},
    {"commentaire: 1\ncommentaire: 2\ncommentaire: 3\ncommentaire: 4\ncommentaire: 5\n"
     "commentaire: 6\n",
     "  commentaire  :  6"},
    // Found when the action closes, quoting its hd line.
    {"hd 07:00 hf 08:00\n  s:var_1\nhd 09:00\n", "  hd  07  :  00  hf  08  :  00"},
    {"hd 07:00\n  hb 08:00\n", "  hd  07  :  00"},
    {"hd j:s:07:00 hb +00:05\nhd 10:00\n", "  hd  j  :  s  :  07  :  00  hb  +  00  :  05"},
};

TEST(HoroConfig, DescriptionErrorsQuoteTheLine) {
  for (const ErrorCase& c : kErrorCases) {
    SCOPED_TRACE(c.body);
    TestSystem t;
    t.dir.write("config.txt", std::string("#horo\n[\n") + c.body + "]\n");
    t.sys.minus_switch = true;
    EXPECT_THROW(read_horo_section(t.sys), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, "ZIR - Erreur");
    EXPECT_EQ(t.host.boxes[0].text, std::string(kDescription) + c.quoted);
  }
}

TEST(HoroConfig, AcceptedEdges) {
  // hf 24:00 reaches the end of the day; hi without hf repeats to 23:59; hb without hf or hi.
  HoroFile f("hd 22:00 hf 24:00 hi 00:30\nhd 06:00 hi 02:00\nhd 05:00 hb 05:30 vf:!det_3\n");
  EXPECT_EQ(f.action(0)[HORO_HF_H], 24);
  EXPECT_EQ(f.action(1)[HORO_HI_H], 2);
  EXPECT_EQ(f.action(2)[HORO_VF_SENSE], 1);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(HoroConfig, TheTwoHundredFiftySixthActionShowsTwoBoxes) {
  std::string body;
  for (int i = 0; i < 255; ++i) body += "hd 08:00\n";
  HoroFile full(body);
  EXPECT_TRUE(full.sys.clock.defined(254));
  EXPECT_TRUE(full.host.boxes.empty());

  TestSystem t;
  t.dir.write("config.txt", "#horo\n[\n" + body + "hd 09:00\n]\n");
  EXPECT_THROW(read_horo_section(t.sys), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 2u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(t.host.boxes[0].text, "Le fichier config.txt comporte trop d'action '#horo");
  EXPECT_EQ(t.host.boxes[1].title, "Erreur");
  EXPECT_EQ(t.host.boxes[1].text, "Section '#horo' (Nb de lignes > 255)");
}

}  // namespace
