#include "moves/iti_config.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kDescriptionTitle = "ZIR - Erreur dans 'config.txt'";
constexpr const char* kDescriptionPrefix =
    "Fichier 'config.txt',\n\nSection #Itineraire,\n\nErreur de description sur la ligne :";

class ItiConfig : public ::testing::Test {
 protected:
  // Reads `body` as the #iti section, with '-' a word character as it is after #general.
  void read(const std::string& body) {
    t.dir.write("config.txt", "#general\n[\n]\n#iti\n[\n" + body + "]\n#horo\n[\n]\n");
    t.sys.minus_switch = true;
    read_iti_section(t.sys);
  }
  const ItiRecord& route(int n) { return t.sys.iti.iti_record[n]; }

  TestSystem t;
};

struct LineCase {
  const char* body;
  std::function<void(const ItiTable&)> check;
};

const LineCase kLineCases[] = {
    {"iti4: onoff start c12 stop c15 a3.1 a7.0 name:Quai_2\n",
     [](const ItiTable& iti) {
       const ItiRecord& r = iti.iti_record[4];
       EXPECT_EQ(r[ITI_DEFINED], 1);
       EXPECT_EQ(r[ITI_MODE], 1);
       EXPECT_EQ(r[ITI_START_CANTON], 12);
       EXPECT_EQ(r[ITI_STOP_CANTON], 15);
       EXPECT_EQ(r[ITI_TURNOUTS], 3);
       EXPECT_EQ(r[ITI_TURNOUTS + 1], 1);
       EXPECT_EQ(r[ITI_TURNOUTS + 2], 7);
       EXPECT_EQ(r[ITI_TURNOUTS + 3], 0);
       EXPECT_EQ(r[ITI_TURNOUTS + 4], -1);
       EXPECT_EQ(iti.name[4], "Quai_2");
       EXPECT_EQ(r[ITI_STATE], 0);
       EXPECT_EQ(iti.iti_record[3][ITI_DEFINED], 0);
     }},
    {"iti49: direct @ a1.1 is a comment\niti0:\n",
     [](const ItiTable& iti) {
       EXPECT_EQ(iti.iti_record[49][ITI_DEFINED], 1);
       EXPECT_EQ(iti.iti_record[49][ITI_MODE], 0);
       EXPECT_EQ(iti.iti_record[49][ITI_TURNOUTS], -1);
       EXPECT_EQ(iti.iti_record[0][ITI_DEFINED], 1);
       EXPECT_EQ(iti.iti_record[0][ITI_START_CANTON], -1);
     }},
    {"iti1: a0.0 a1.0 a2.0 a3.0 a4.0 a5.0 a6.0 a7.0 a8.0 a63.1 start c315\n",
     [](const ItiTable& iti) {
       EXPECT_EQ(iti.iti_record[1][ITI_TURNOUTS + 18], 63);
       EXPECT_EQ(iti.iti_record[1][ITI_TURNOUTS + 19], 1);
       EXPECT_EQ(iti.iti_record[1][ITI_START_CANTON], 315);
     }},
    // A second line of a route starts its turnout list again from the first entry.
    {"iti2: a5.1 a6.1 name:first\niti2: a9.0 onoff\n",
     [](const ItiTable& iti) {
       const ItiRecord& r = iti.iti_record[2];
       EXPECT_EQ(r[ITI_TURNOUTS], 9);
       EXPECT_EQ(r[ITI_TURNOUTS + 1], 0);
       EXPECT_EQ(r[ITI_TURNOUTS + 2], 6);
       EXPECT_EQ(r[ITI_MODE], 1);
       EXPECT_EQ(iti.name[2], "first");
     }},
    {"separe2: c105 g3\nregroupe99: g31 c0 c1 c2\nsepare7:\n",
     [](const ItiTable& iti) {
       EXPECT_EQ(iti.separe[2], (SplitEntry{0, 105, 1003}));
       EXPECT_TRUE(iti.separe_defined[2]);
       EXPECT_EQ(iti.regroupe[99], (SplitEntry{0, 1, 2}));  // the later pair replaces the first
       EXPECT_TRUE(iti.regroupe_defined[99]);
       EXPECT_EQ(iti.separe[7], (SplitEntry{0, -1, -1}));
       EXPECT_EQ(iti.separe[3], (SplitEntry{-1, -1, -1}));
       EXPECT_FALSE(iti.separe_defined[3]);
       EXPECT_FALSE(iti.regroupe_defined[2]);
     }},
    {"", [](const ItiTable& iti) { EXPECT_EQ(iti.iti_record[0][ITI_DEFINED], 0); }},
};

TEST_F(ItiConfig, LinesAndTheirRecords) {
  for (const LineCase& c : kLineCases) {
    SCOPED_TRACE(c.body);
    read(c.body);
    EXPECT_TRUE(t.host.boxes.empty());
    c.check(t.sys.iti);
  }
}

TEST_F(ItiConfig, EveryReadStartsFromTheInitialValues) {
  read("iti3: onoff start c1 a2.1 name:old\nsepare1: c1 c2\n");
  t.sys.iti.iti_record[3][ITI_STATE] = 4;
  t.sys.iti.iti_record[3][ITI_OK] = 1;
  read("iti3: direct\n");
  EXPECT_EQ(route(3)[ITI_MODE], 0);
  EXPECT_EQ(route(3)[ITI_STATE], 0);
  EXPECT_EQ(route(3)[ITI_OK], 0);
  EXPECT_EQ(route(3)[ITI_START_CANTON], -1);
  EXPECT_EQ(route(3)[ITI_TURNOUTS], -1);
  EXPECT_EQ(t.sys.iti.name[3], "");
  EXPECT_EQ(t.sys.iti.separe[1], (SplitEntry{-1, -1, -1}));
  EXPECT_FALSE(t.sys.iti.separe_defined[1]);
}

TEST_F(ItiConfig, NoSectionMeansNoRoutes) {
  t.dir.write("config.txt", "#general\n[\n]\n");
  read_iti_section(t.sys);
  EXPECT_TRUE(t.host.boxes.empty());
  EXPECT_EQ(route(0)[ITI_DEFINED], 0);
}

TEST_F(ItiConfig, MissingFileIsTheOpenError) {
  EXPECT_THROW(read_iti_section(t.sys), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(t.host.boxes[0].text,
            "Impossible d'ouvrir le fichier de configuration des itinéraires 'Config.txt'");
}

// Each line is the description error, quoted token by token.
TEST_F(ItiConfig, DescriptionErrors) {
  const char* kBad[] = {
      "separe4: c12",          // a position without its partner
      "separe4: c12 c13 c14",  //
      "regroupe4: c12 x13",    //
      "separe4: c16 c12",      // no canton index 16
      "separe4: g32 c12",      // sidings 0..31
      "iti4: start:c12",       // no colon after start
      "iti4: start",           //
      "iti50: direct",         // routes 0..49
      "separe100: c1 c2",      //
      "iti4 direct",           //
      "direct",                //
      "iti4: direct iti5:",    // the route is named first on its line only
      "iti4: a64.0",           // turnouts 0..63
      "iti4: a3.2",            // positions 0 and 1
      "iti4: a3 . 1 a4.",      //
      "iti4: a0.0 a1.0 a2.0 a3.0 a4.0 a5.0 a6.0 a7.0 a8.0 a9.0 a10.0",  // ten at most
      "iti4: name:Quai-2",  // '-' is not a word character in #iti
      "iti4: name:",        //
      "iti4: name:A2345678901234567890123456789012345678901",  // 41 characters
      "iti4: onoff start c12 stop c-1",                        //
  };
  for (const char* line : kBad) {
    SCOPED_TRACE(line);
    t.host.boxes.clear();
    EXPECT_THROW(read(std::string(line) + "\n"), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, kDescriptionTitle);
    EXPECT_EQ(t.host.boxes[0].text.rfind(kDescriptionPrefix, 0), 0u);
    EXPECT_TRUE(t.sys.minus_switch);  // switched back on after the section
  }
  t.host.boxes.clear();
  EXPECT_THROW(read("separe4: c12 @ c13\n"), FatalConfigError);
  EXPECT_EQ(t.host.boxes[0].text, std::string(kDescriptionPrefix) + "  separe4  :  c12");
}

TEST_F(ItiConfig, NameOfFortyCharacters) {
  read("iti4: name:A234567890123456789012345678901234567890\n");
  EXPECT_TRUE(t.host.boxes.empty());
  EXPECT_EQ(t.sys.iti.name[4].size(), 40u);
  read("iti4: name:Quai_\xC3\xA9t\xC3\xA9\n");  // UTF-8 file: stored as Windows-1252 bytes
  EXPECT_EQ(t.sys.iti.name[4], "Quai_\xE9t\xE9");
}

TEST_F(ItiConfig, LineOfSeventySixTokensIsTooComplex) {
  std::string line = "iti1:";
  while (line.size() < 2 + 74 * 2) line += " a";  // iti1 : and 74 more tokens
  EXPECT_THROW(read(line + "\n"), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 3u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(t.host.boxes[0].text,
            "Le fichier config.txt comporte une ligne trop complexe dans la section '#iti");
  EXPECT_EQ(t.host.boxes[1].text,
            "Section '#iti' (ligne>75 blocs) commençant par (taper sur entrée) : ");
  EXPECT_EQ(t.host.boxes[2].title, "ZIR - Erreur");
  EXPECT_EQ(t.host.boxes[2].text.rfind("Section #iti Erreur ligne :  iti1  :  a", 0), 0u);
}

}  // namespace
