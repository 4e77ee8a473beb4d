#include "clock/vib_config.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fatal.h"
#include "core/var_bus.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kDescription =
    "Fichier 'config.txt',\n\nSection #Vib,\n\nErreur de description sur la ligne : ";

struct VibFile : TestSystem {
  explicit VibFile(const std::string& file) {
    dir.write("config.txt", file);
    sys.minus_switch = true;
    read_vib_section(sys);
  }
};

TEST(VibConfig, EntriesAndBothHeaders) {
  VibFile f("#vib\n[\ntime_before: 20 time_after: 40 out: out_105 on\nout_pwm: 203, -40\n]\n");
  const VibState& v = f.sys.vib;
  EXPECT_EQ(v.time_before, 20);
  EXPECT_EQ(v.time_after, 40);
  EXPECT_EQ(v.out, 1305);
  EXPECT_EQ(v.inverted, 0);
  EXPECT_EQ(v.canton, 203);
  EXPECT_EQ(v.speed, -40);
  EXPECT_EQ(v.vib_on, 1);
  EXPECT_EQ(v.start_count, 20);  // counting starts from the times
  EXPECT_EQ(v.stop_count, 40);

  VibFile g("#vibrator\n[\nout: ! var_3 on off\n]\n");
  EXPECT_EQ(g.sys.vib.out, 5403);
  EXPECT_EQ(g.sys.vib.inverted, 1);
  EXPECT_EQ(g.sys.vib.vib_on, 0);
  EXPECT_EQ(g.sys.vib.canton, -1);
  EXPECT_EQ(g.sys.vib.speed, 32);
}

TEST(VibConfig, DescriptionErrors) {
  const char* const lines[] = {
      "time_before: -1", "time_after: x", "time_before 5",   "out: det_3",
      "out: out_80",     "out: !",        "out_pwm: 16, 10", "out_pwm: 400, 10",
      "out_pwm: 3, 65",  "out_pwm: 3 10", "out_pwm: 3,",     "vibre",
  };
  for (const char* line : lines) {
    SCOPED_TRACE(line);
    TestSystem t;
    t.dir.write("config.txt", std::string("#vib\n[\n") + line + "\n]\n");
    t.sys.minus_switch = true;
    EXPECT_THROW(read_vib_section(t.sys), FatalConfigError);
    ASSERT_EQ(t.host.boxes.size(), 1u);
    EXPECT_EQ(t.host.boxes[0].title, "ZIR - Erreur");
    EXPECT_EQ(t.host.boxes[0].text.rfind(kDescription, 0), 0u);
  }
}

TEST(VibConfig, LineTooComplexUsesItsOwnTitle) {
  std::string line;
  for (int i = 0; i < 40; ++i) line += "on off ";
  TestSystem t;
  t.dir.write("config.txt", "#vib\n[\n" + line + "\n]\n");
  EXPECT_THROW(read_vib_section(t.sys), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 3u);
  EXPECT_EQ(t.host.boxes[2].title, "ZIr - Erreur");
  EXPECT_EQ(t.host.boxes[2].text.rfind("Section #vib Erreur ligne :  on  off", 0), 0u);
}

TEST(VibConfig, ReloadLeavesNoOutputPowered) {
  VibFile f("#vib\n[\nout: out_105 out_pwm: 2, 30 on\n]\n");
  System& s = f.sys;
  s.vib.vib_state = 1;
  var_write(s, 1305, 1);
  s.cantons.Vitesse[2] = 30;
  s.cantons.Vit_reel[2] = 30;
  f.dir.write("config.txt", "#vib\n[\nout: out_106\n]\n");
  read_vib_section(s);
  EXPECT_EQ(var_read(s, 1305), 0);
  EXPECT_EQ(s.cantons.Vitesse[2], 0);
  EXPECT_EQ(s.cantons.Vit_reel[2], 0);
  EXPECT_EQ(s.vib.out, 1306);
  EXPECT_EQ(s.vib.vib_state, 0);
}

}  // namespace
