#include "moves/garage_config.h"

#include <gtest/gtest.h>

#include <string>

#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kBadLine =
    "Fichier 'config.txt',\n\nSection #Garage,\n\nErreur de description sur la ligne :";

struct GarageConfigTest : ::testing::Test {
  void read(const std::string& body) {
    t.dir.write("config.txt", "#garage\n[\n" + body + "]\n");
    t.sys.minus_switch = true;  // as at start-up: '-' is a word character
    read_garage_section(t.sys);
  }
  TestSystem t;
  GarageTable& g = t.sys.garage;
};

TEST_F(GarageConfigTest, EntriesInAnyOrderAndTheResetBeforehand) {
  g.res_auto[5] = 1;
  g.num_train[5] = 2;
  read("g3: c12 out105 pol0\ng31 : pol1 c315 out379 @ last siding\ng7: out2 pol0 pol1\n");
  EXPECT_EQ(g.ass_canton[3], 12);
  EXPECT_EQ(g.ass_out[3], 105);
  EXPECT_EQ(g.pol[3], 0);
  EXPECT_EQ(g.ass_canton[31], 315);
  EXPECT_EQ(g.ass_out[31], 379);
  EXPECT_EQ(g.pol[31], 1);
  // Without a canton the siding stays undefined; the last pol wins.
  EXPECT_EQ(g.ass_canton[7], -1);
  EXPECT_EQ(g.pol[7], 1);
  EXPECT_EQ(g.ass_canton[0], -1);
  EXPECT_EQ(g.pol[0], 1);
  EXPECT_EQ(g.res_auto[5], 0);
  EXPECT_EQ(g.num_train[5], -1);
  EXPECT_TRUE(t.host.boxes.empty());
}

TEST_F(GarageConfigTest, EveryBadLineIsTheDescriptionError) {
  const char* const kLines[] = {
      "g3: c12 out105",          "g3: c12 out105 pol1 pol0", "g32: c12 out105 pol1",
      "g3 c12 out105 pol1 pol1", "g3: c16 out105 pol1",      "g3: c316 out105 pol1",
      "g3: c12 out80 pol1",      "g3: c12 out380 pol1",      "g3: c12 out105 pol2",
      "g3: c12 out105 polx",     "x3: c12 out105 pol1",      "g3: c12 out-5 pol1",
      "g: c12 out105 pol1",      "g3: c12 out105 tic1",
  };
  for (const char* line : kLines) {
    SCOPED_TRACE(line);
    TestSystem fresh;
    fresh.dir.write("config.txt", std::string("#garage\n[\n") + line + "\n]\n");
    fresh.sys.minus_switch = true;
    EXPECT_THROW(read_garage_section(fresh.sys), FatalConfigError);
    ASSERT_EQ(fresh.host.boxes.size(), 1u);
    EXPECT_EQ(fresh.host.boxes[0].title, "ZIR - Erreur dans 'config.txt'");
    EXPECT_EQ(fresh.host.boxes[0].text.rfind(kBadLine, 0), 0u);
  }
}

}  // namespace
