#include "core/general.h"

#include <gtest/gtest.h>

#include "core/fatal.h"
#include "runtime/startup.h"
#include "support/temp_dir.h"

namespace {

struct ScreenCase {
  const char* line;
  int width, height, maximise, relief;
};

TEST(GeneralScreenKeys, ResolutionAndRelief) {
  const ScreenCase kCases[] = {
      {"resolution_ecran 640 480", 800, 700, 0, 1},
      {"resolution_ecran 1024 768", 1024, 768, 0, 1},
      {"RESOLUTION_ECRAN 1024 768", 1024, 768, 0, 1},
      {"resolution_ecran plein écran", 800, 700, 1, 1},
      {"resolution_ecran plein ecran", 800, 700, 1, 1},
      {"resolution_ecran Plein ecran", 800, 700, 0, 1},  // "plein" is compared with case
      {"resolution_ecran 1024", 800, 700, 0, 1},         // needs three tokens
      {"relief OFF", 800, 700, 0, 0},
      {"relief on", 800, 700, 0, 1},
  };
  for (const ScreenCase& c : kCases) {
    TestSystem t;
    t.dir.write("config.txt", std::string("#general\n[\n") + c.line + "\n]\n");
    startup_before_window(t.sys);
    EXPECT_EQ(t.sys.general.width, c.width) << c.line;
    EXPECT_EQ(t.sys.general.height, c.height) << c.line;
    EXPECT_EQ(t.sys.general.maximise, c.maximise) << c.line;
    EXPECT_EQ(t.sys.general.relief, c.relief) << c.line;
    EXPECT_TRUE(t.sys.minus_switch);
  }
}

TEST(General, EveryKeyAndItsIgnoredForms) {
  TestSystem t;
  t.dir.write("config.txt",
              "#general\n[\n"
              "leds_card_2 OFF @ second card\n"
              "leds_card_1 on\n"
              "show_cards_found On\n"
              "memorisation_train on\n"
              "memorisation_aig off\n"
              "aigauto off\n"
              "inv_canton_105 on\n"
              "inv_canton_116 on\n"  // index beyond 15: ignored
              "inv_canton_415 on\n"  // card 4: ignored
              "inv_pot_304 on\n"
              "inv_pot_5 on\n"  // index beyond 4: ignored
              "ir_aig_digit 2\n"
              "unknown_key 3\n"
              "]\n");
  startup_before_window(t.sys);
  read_general(t.sys);
  const GeneralSettings& g = t.sys.general;
  EXPECT_EQ(t.sys.io.leds_shown, (std::array<int32_t, 4>{1, 1, 0, 1}));
  EXPECT_EQ(g.show_cards_found, 1);
  EXPECT_EQ(g.memorisation_train, 1);
  EXPECT_EQ(g.memorisation_aig, 0);
  EXPECT_EQ(g.aigauto, 0);
  EXPECT_EQ(g.ir_aig_digit, 2);
  int inverted = 0;
  for (int v : t.sys.io.canton_inverted) inverted += v;
  EXPECT_EQ(inverted, 1);
  EXPECT_EQ(t.sys.io.canton_inverted[1 * 16 + 5], 1);
  int pots = 0;
  for (int v : t.sys.io.pot_inverted) pots += v;
  EXPECT_EQ(pots, 1);
  EXPECT_EQ(t.sys.io.pot_inverted[3 * 5 + 4], 1);
  EXPECT_TRUE(t.host.boxes.empty());
}

TEST(General, TrainAigautoClearsTheSameFlag) {
  TestSystem t;
  t.dir.write("config.txt", "#general\n[\ntrain_aigauto off\n]\n");
  read_general(t.sys);
  EXPECT_EQ(t.sys.general.aigauto, 0);
}

TEST(Startup, MissingConfigShowsItsBoxAndStops) {
  TestSystem t;
  EXPECT_THROW(startup_before_window(t.sys), FatalConfigError);
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_EQ(t.host.boxes[0].title, "Erreur");
  EXPECT_EQ(
      t.host.boxes[0].text.rfind("Le fichier de configuration   'config.txt'   est introuvable", 0),
      0u);
}

TEST(Startup, EmptyConfigIsAccepted) {
  TestSystem t;
  t.dir.write("config.txt", "");
  startup_before_window(t.sys);
  startup_window_create(t.sys);
  // No serial port: the card search's warning is the only box.
  ASSERT_EQ(t.host.boxes.size(), 1u);
  EXPECT_EQ(t.host.boxes[0].title, "ZIR - Avertissement");
  EXPECT_EQ(t.sys.general.width, 800);
}

}  // namespace
