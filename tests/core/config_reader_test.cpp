#include "core/config_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

std::vector<std::vector<std::string>> tokenize(const std::string& bytes, bool minus,
                                               std::vector<int>* results = nullptr) {
  ConfigText text;
  text.load_bytes(bytes);
  TokenLine line;
  std::vector<std::vector<std::string>> lines;
  for (;;) {
    const int r = read_config_line(text, line, minus);
    if (results != nullptr) results->push_back(r);
    std::vector<std::string> tokens;
    for (int i = 0; i < line.count; ++i) tokens.emplace_back(line[i]);
    if (r == 0 && tokens.empty()) break;
    lines.push_back(tokens);
    if (r == 0) break;
  }
  return lines;
}

using Lines = std::vector<std::vector<std::string>>;

TEST(Tokenizer, WordsPunctuationAndLineEnds) {
  EXPECT_EQ(tokenize("a1 b_2\t[x]\n", true), (Lines{{"a1", "b_2", "[x]"}}));
  EXPECT_EQ(tokenize("tdv:a.b=3\n", true), (Lines{{"tdv", ":", "a", ".", "b", "=", "3"}}));
  // ';' is both a token and a line end
  EXPECT_EQ(tokenize("a ; b\n", true), (Lines{{"a", ";"}, {"b"}}));
  // a CR before LF is dropped; the last line is read even without its line feed
  EXPECT_EQ(tokenize("a b\r\nc d", true), (Lines{{"a", "b"}, {"c", "d"}}));
}

TEST(Tokenizer, MinusSwitch) {
  EXPECT_EQ(tokenize("x -12\n", true), (Lines{{"x", "-12"}}));
  EXPECT_EQ(tokenize("x -12\n", false), (Lines{{"x", "-", "12"}}));
}

TEST(Tokenizer, AccentedBytes) {
  // é (0xE9) is a word character, É (0xC9) a token of its own; UTF-8 input reads the same.
  EXPECT_EQ(tokenize("\xE9t\xC9"
                     "a\n",
                     true),
            (Lines{{"\xE9t", "\xC9", "a"}}));
  EXPECT_EQ(tokenize("étÉa\n", true), (Lines{{"\xE9t", "\xC9", "a"}}));
}

TEST(Tokenizer, ClosingBracketLineEndsWithZero) {
  std::vector<int> results;
  tokenize("a\n]\nb\n", true, &results);
  EXPECT_EQ(results, (std::vector<int>{1, 0}));
  results.clear();
  tokenize("] end\n", true, &results);  // two tokens: not the lone-bracket line
  EXPECT_EQ(results.front(), 1);
}

TEST(Tokenizer, SeventyFiveTokensCutTheLine) {
  std::string line;
  for (int i = 0; i < 80; ++i) line += "w ";
  line += "\n";
  const Lines lines = tokenize(line, true);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].size(), 75u);
  EXPECT_EQ(lines[1].size(), 5u);  // the rest of the physical line
}

TEST(Tokenizer, TwoHundredFiftyCharacterWordIsDropped) {
  const std::string word249(249, 'a');
  EXPECT_EQ(tokenize("x " + word249 + "\n", true), (Lines{{"x", word249}}));
  const std::string word250(250, 'b');
  const Lines lines = tokenize("x " + word250 + "c y\n", true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], (std::vector<std::string>{"x"}));
  EXPECT_EQ(lines[1], (std::vector<std::string>{"c", "y"}));
}

TEST(Tokenizer, RandomBytesStayInsideTheTokenTable) {
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    const int size = round * 37 % 4000;
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(byte(rng));
    if (round % 3 == 0) bytes += std::string(600, 'z');
    tokenize(bytes, round % 2 == 0);
  }
}

TEST(Sections, ScanFindsHeaderSkipsBracketCutsCommentsAndEnds) {
  TestSystem t;
  t.dir.write("config.txt",
              "#aigx\n[\nnot this\n]\n"
              "  #aig  trailing words\n[\nline one @ comment here\n\n@ whole comment\n"
              "two 2;three\n] end\nafter\n");
  ConfigSection section(t.sys, kAigTexts);
  TokenLine line;
  std::vector<std::string> firsts;
  while (section.next_line(line))
    firsts.push_back(std::string(line[0]) + "/" + std::to_string(line.count));
  EXPECT_EQ(firsts, (std::vector<std::string>{"line/2", "two/3", "three/1"}));
}

TEST(Sections, Utf8FileWithByteOrderMarkFindsItsFirstHeader) {
  TestSystem t;
  t.dir.write("config.txt", "\xEF\xBB\xBF#aig\n[\nté 1\n]\n");
  ConfigSection section(t.sys, kAigTexts);
  TokenLine line;
  ASSERT_TRUE(section.next_line(line));
  EXPECT_STREQ(line[0], "t\xE9");
}

// Latin-1 text as UTF-16: each character one unit whose high byte is 0.
std::string utf16(std::string_view latin1, bool little, bool mark) {
  std::string out = mark ? (little ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (char c : latin1) out += little ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}

TEST(Sections, EncodingsAndLineEndsOfEveryEditor) {
  const std::string body = "#aig\r\n[\r\nt\xE9 1\r\n]\r\n";
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"UTF-16 little-endian with its mark", utf16(body, true, true)},
      {"UTF-16 big-endian with its mark", utf16(body, false, true)},
      {"UTF-16 without a mark", utf16(body, true, false)},
      {"CR alone ends lines", "#aig\r[\rt\xE9 1\r]\r"},
      {"no line feed after the last line", "#aig\n[\nt\xE9 1"},
      {"no opening bracket", "#aig\nt\xE9 1\n]\n"},
  };
  for (const auto& c : cases) {
    TestSystem t;
    t.dir.write("config.txt", c.bytes);
    ConfigSection section(t.sys, kAigTexts);
    TokenLine line;
    ASSERT_TRUE(section.next_line(line)) << c.what;
    EXPECT_STREQ(line[0], "t\xE9") << c.what;
    EXPECT_EQ(line.count, 2) << c.what;
    EXPECT_FALSE(section.next_line(line)) << c.what;
  }
}

TEST(Sections, AFileThatIsNoTextIsSaidToBeSo) {
  TestSystem t;
  t.dir.write("config.txt", std::string("#general\0\0\0\x01\x02", 13));
  EXPECT_THROW(check_config_present(t.sys), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_NE(t.host.boxes[0].text.find("n'est pas un fichier texte lisible"), std::string::npos);
}

TEST(Sections, MissingHeaderGivesNoLines) {
  TestSystem t;
  t.dir.write("config.txt", "#general\n[\nrelief off\n]\n");
  ConfigSection section(t.sys, kAigTexts);
  TokenLine line;
  EXPECT_FALSE(section.next_line(line));
}

TEST(Sections, TooComplexLineShowsThreeBoxesAndStops) {
  TestSystem t;
  std::string line = "#general\n[\n";
  for (int i = 0; i < 76; ++i) {
    line += 'k';
    line += std::to_string(i);
    line += ' ';
  }
  t.dir.write("config.txt", line + "\n]\n");
  ConfigSection section(t.sys, kGeneralTexts);
  TokenLine tokens;
  EXPECT_THROW(section.next_line(tokens), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 3u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(t.host.boxes[0].text,
            "Le fichier 'config.txt' comporte une ligne trop complexe dans la section '#general'");
  EXPECT_EQ(t.host.boxes[1].text,
            "Section '#general' (ligne>75 blocs) commençant par (taper sur Entrée) : ");
  EXPECT_EQ(t.host.boxes[2].title, "ZIR - Erreur");
  EXPECT_EQ(t.host.boxes[2].text.rfind("Section #general Erreur ligne :  k0  k1  k2", 0), 0u);
}

TEST(Sections, DescriptionErrorQuotesTheTokens) {
  TestSystem t;
  t.dir.write("config.txt", "#vib\n[\nbad \xE9t\xE9 line\n]\n");
  ConfigSection section(t.sys, kVibTexts);
  TokenLine line;
  ASSERT_TRUE(section.next_line(line));
  EXPECT_THROW(section.description_error(line), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_EQ(t.host.boxes[0].title, "ZIR - Erreur");
  EXPECT_EQ(t.host.boxes[0].text,
            "Fichier 'config.txt',\n\nSection #Vib,\n\nErreur de description sur la ligne :   "
            "bad  été  line");
}

TEST(Sections, MinusSwitchIsOffWhileAnOffSectionReads) {
  TestSystem t;
  t.sys.minus_switch = true;
  t.dir.write("config.txt", "#depl\n[\nd1 -5\n]\n");
  {
    ConfigSection section(t.sys, kDeplTexts, MinusMode::Off);
    TokenLine line;
    ASSERT_TRUE(section.next_line(line));
    EXPECT_EQ(line.count, 3);
  }
  EXPECT_TRUE(t.sys.minus_switch);
}

TEST(Sections, MissingFileShowsTheSectionsOpenFailure) {
  TestSystem t;
  EXPECT_THROW(ConfigSection(t.sys, kGarageTexts), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(t.host.boxes[0].text,
            "Impossible d'ouvrir le fichier de configuration des garages 'Config.txt'");
}

}  // namespace
