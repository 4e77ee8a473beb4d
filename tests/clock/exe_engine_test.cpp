#include "clock/exe_engine.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/exe_launcher.h"
#include "clock/exe_config.h"
#include "support/temp_dir.h"

namespace {

TEST(ExeEngine, FileAndArgumentsSplitAtTheSecondQuote) {
  struct Case {
    const char* text;
    bool runs;
    const char* file;
    const char* arguments;
  };
  const Case cases[] = {
      {"\"sons/gare.wav\"", true, "sons/gare.wav", ""},
      {"\"doc.pdf\" trailing words", true, "doc.pdf", ""},  // two quotes: no arguments
      {"\"/usr/bin/aplay\" \"sons/gare.wav\"", true, "/usr/bin/aplay", " \"sons/gare.wav\""},
      {"\"prog\" -v \"a b\" 'c'", true, "prog", " -v \"a b\" 'c'"},
      {"\"\"", true, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ExternalCommand command;
    ASSERT_EQ(exe_command(c.text, command), c.runs);
    if (!c.runs) continue;
    EXPECT_EQ(command.file, c.file);
    EXPECT_EQ(command.arguments, c.arguments);
  }
}

struct ExeSystem : TestSystem {
  explicit ExeSystem(const std::string& body) {
    dir.write("config.txt", "#exe\n[\n" + body + "]\n");
    read_exe_section(sys);
  }
};

TEST(ExeEngine, TriggerRunsOnceAndIsCleared) {
  ExeSystem t("exe3: \"/usr/bin/aplay\" \"sons/gare.wav\"\nexe4: \"caf\xC3\xA9.wav\"\n");
  t.sys.exe.exe[3] = 1;
  t.sys.exe.exe[3] = 1;  // written twice in one tick: one run
  t.sys.exe.exe[4] = 1;
  t.sys.exe.exe[5] = 1;  // no text: cleared without effect
  t.sys.exe.exe[6] = 2;  // only 1 triggers
  exe_tick(t.sys);
  exe_tick(t.sys);
  ASSERT_EQ(t.host.launched.size(), 2u);
  EXPECT_EQ(t.host.launched[0].action, 3);
  EXPECT_EQ(t.host.launched[0].file, "/usr/bin/aplay");
  EXPECT_EQ(t.host.launched[0].folder, t.dir.path());
  EXPECT_EQ(t.host.launched[1].file, "caf\xC3\xA9.wav");  // back to UTF-8
  EXPECT_EQ(t.sys.exe.exe[3], 0);
  EXPECT_EQ(t.sys.exe.exe[5], 0);
  EXPECT_EQ(t.sys.exe.exe[6], 2);
}

TEST(ExeLauncher, ChoosesHowToStart) {
  TempDir dir;
  dir.write("gare.wav", "RIFF");
  dir.write("annonce.sh", "#!/bin/sh\n");
  chmod((dir.path() / "annonce.sh").c_str(), 0755);
  struct Case {
    const char* file;
    LaunchWay way;
  };
  const Case cases[] = {
      {"https://example.org/horaire", LaunchWay::Open},
      {"mailto:chef@gare.fr", LaunchWay::Open},
      {"gare.wav", LaunchWay::Open},
      {"annonce.sh", LaunchWay::Spawn},
      {"./annonce.sh", LaunchWay::Spawn},
      {"sh", LaunchWay::Spawn},  // a bare name found on PATH
      {"C:\\sons\\depart.wav", LaunchWay::Missing},
      {"absent.wav", LaunchWay::Missing},
      {"bin/sh", LaunchWay::Missing},  // only bare names are looked for on PATH
      {"", LaunchWay::Missing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string target;
    EXPECT_EQ(choose_launch(c.file, dir.path(), target), c.way);
  }
  std::string target;
  choose_launch("annonce.sh", dir.path(), target);
  EXPECT_EQ(target, (dir.path() / "annonce.sh").string());
}

TEST(ExeLauncher, ArgumentsSplitByShellRules) {
  std::vector<std::string> args;
  std::string reason;
  ASSERT_TRUE(split_arguments(" -v \"a b\" 'c d' e\\ f", args, reason));
  EXPECT_EQ(args, (std::vector<std::string>{"-v", "a b", "c d", "e f"}));
  ASSERT_TRUE(split_arguments("   ", args, reason));
  EXPECT_TRUE(args.empty());
  EXPECT_FALSE(split_arguments(" 'unclosed", args, reason));
  EXPECT_FALSE(reason.empty());
}

// With the real launcher behind the host: a program starts in the layout's folder with its
// arguments, and one that cannot start leaves its line in the log.
struct LaunchingSystem : TestSystem {
  explicit LaunchingSystem(const std::string& body) {
    host.external = launch_external;
    dir.write("config.txt", "#exe\n[\n" + body + "]\n");
    read_exe_section(sys);
  }
};

// The child also lists its descriptors: one the program holds open (as it holds the serial
// port) must not reach it.
TEST(ExeLauncher, StartsAProgramWithItsArgumentsAndNoInheritedDescriptor) {
  LaunchingSystem t("exe1: \"./annonce.sh\" \"voie 2\" quai\n");
  t.dir.write("annonce.sh",
              "#!/bin/sh\nls /proc/$$/fd > fds.txt\necho \"$1|$2\" > annonce.part\n"
              "mv annonce.part annonce.txt\n");
  chmod((t.dir.path() / "annonce.sh").c_str(), 0755);
  const int held = open("/dev/null", O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(dup2(held, 200), 200);
  t.sys.exe.exe[1] = 1;
  exe_tick(t.sys);
  for (int i = 0; i < 300 && !std::filesystem::exists(t.dir.path() / "annonce.txt"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  close(200);
  close(held);
  EXPECT_EQ(t.dir.read("annonce.txt"), "voie 2|quai\n");
  std::string fds = "\n";
  fds += t.dir.read("fds.txt");
  EXPECT_NE(fds.find("\n1\n"), std::string::npos);
  EXPECT_EQ(fds.find("\n200\n"), std::string::npos);
  EXPECT_EQ(t.log(), "");
}

TEST(ExeLauncher, FailuresAreLogged) {
  LaunchingSystem t(
      "exe2: \"./absent_program\" \"x\"\n"
      "exe3: \"sh\" \"unclosed\" 'quote\n");
  t.sys.exe.exe[2] = 1;
  t.sys.exe.exe[3] = 1;
  exe_tick(t.sys);
  const std::string log = t.log();
  EXPECT_EQ(log.rfind("\n-Erreur exe_2 : impossible de lancer './absent_program' (", 0), 0u);
  EXPECT_NE(log.find("\n-Erreur exe_3 : impossible de lancer 'sh' ("), std::string::npos);
  EXPECT_EQ(t.sys.exe.exe[2], 0);
  EXPECT_EQ(t.host.boxes.size(), 0u);
}

}  // namespace
