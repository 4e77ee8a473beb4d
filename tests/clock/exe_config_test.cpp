#include "clock/exe_config.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kDescription =
    "Fichier 'config.txt',  Section #exe\n\nOn attend une ligne de type =  exeXX:  \"commande\" "
    "\n(Ne pas oublier un espace entre 'exeXX:' et \"commande\")\n\n\nErreur de description sur "
    "la ligne :\n\n";

struct ExeFile : TestSystem {
  explicit ExeFile(const std::string& body) {
    dir.write("config.txt", "#general\n[\n]\n#exe\n[\n" + body + "]\nexe9: \"after\"\n");
    read_exe_section(sys);
  }
  const std::string& text(int n) const { return sys.exe.text[static_cast<size_t>(n)]; }
};

TEST(ExeConfig, CommandsKeepTheirSpacesAndPunctuation) {
  const std::string longest = "\"" + std::string(194, 'x') + "\"";  // 196 after the quote
  ExeFile f(
      "@ exe1: \"commented out\"\n"
      "exe12: \"C:\\sons\\depart.wav\"\n"
      "exe3: \"/usr/bin/aplay\" \"sons/gare 2.wav\"  \r\n"
      "note: \"x\"\n"
      "exe7:\n"
      "exe8 : \"spaced colon\"\n"
      "exe20:\"glued\" : \"next\"\n"
      "exe12: \"replaced\" 'x'\n"
      "exe99: " +
      longest + "\n");
  EXPECT_EQ(f.text(12), "\"replaced\" 'x'");
  EXPECT_EQ(f.text(3), "\"/usr/bin/aplay\" \"sons/gare 2.wav\"  ");
  EXPECT_EQ(f.text(8), "\"spaced colon\"");
  EXPECT_EQ(f.text(20), "\"next\"");  // the colon search ran past the glued quote
  EXPECT_EQ(f.text(99), longest);
  EXPECT_EQ(f.text(1), "");
  EXPECT_EQ(f.text(7), "");
  EXPECT_EQ(f.text(9), "");
  EXPECT_EQ(f.sys.exe.count, 5);
  EXPECT_TRUE(f.host.boxes.empty());
}

TEST(ExeConfig, ReadingAgainClearsActionsAndTriggers) {
  ExeFile f("exe4: \"a\"\n");
  f.sys.exe.exe[4] = 1;
  f.dir.write("config.txt", "#exe\n[\n]\n");
  read_exe_section(f.sys);
  EXPECT_EQ(f.text(4), "");
  EXPECT_EQ(f.sys.exe.exe[4], 0);
  EXPECT_EQ(f.sys.exe.count, 0);
}

struct ErrorCase {
  std::string line;
  std::string word;
};

TEST(ExeConfig, DescriptionErrorsQuoteTheWord) {
  const ErrorCase cases[] = {
      {"exe150: \"x\"", "exe150:"},
      {"exe: \"x\"", "exe:"},
      {"exe", "exe"},
      {"exex1: \"x\"", "exex1:"},
      {"exe-1: \"x\"", "exe-1:"},
      {"exe5 \"x\"", "exe5"},  // no colon on its line
      {"exe5: \"x\" \"y", "exe5:"},
      {"exe5: \"" + std::string(196, 'x') + "\"", "exe5:"},  // 197 after the quote
      {"exe5" + std::string(400, '1') + ": \"x\"", "exe5" + std::string(255, '1')},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 40));
    TestSystem t;
    t.dir.write("config.txt", "#exe\n[\n" + c.line + "\n]\n");
    EXPECT_THROW(read_exe_section(t.sys), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, "ZIR - Erreur");
    EXPECT_EQ(t.host.boxes[0].text, kDescription + c.word);
  }
}

}  // namespace
