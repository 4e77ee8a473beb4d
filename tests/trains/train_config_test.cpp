#include "trains/train_config.h"

#include "core/fatal.h"
#include "trains_fixture.h"

namespace {

class TrainConfig : public TrainsFixture {
 protected:
  void read(const std::string& lines) {
    write_config("#train\n[\n" + lines + "]\n");
    read_train_section(sys);
  }
  // The line must end the program with the description error quoting its tokens.
  void expect_error(const std::string& line, const std::string& quoted) {
    EXPECT_THROW(read(line + "\n"), FatalConfigError) << line;
    EXPECT_EQ(last_box(),
              "ZIR - Erreur|Fichier 'config.txt',\n\nSection #train,\n\nErreur de description "
              "sur la ligne :" +
                  quoted)
        << line;
  }
  const TrainTable& t = sys.trains;
};

TEST_F(TrainConfig, FullTrainLine) {
  read("train05 : FRET_01_ pot102 c12 05-60-10-10-05\n");
  EXPECT_EQ(t.en[5], 1);
  EXPECT_EQ(t.name[5], "FRET 01 ");
  EXPECT_EQ(t.cmd[5], 102);
  EXPECT_EQ(t.vmin[5], 5);
  EXPECT_EQ(t.vmax[5], 60);
  EXPECT_EQ(t.acc[5], 10);
  EXPECT_EQ(t.dec[5], 10);
  EXPECT_EQ(t.frein[5], 5);
  const int slot = canton_slot(12);
  EXPECT_EQ(sys.cantons.num_train[slot], 5);
  EXPECT_EQ(sys.cantons.ResvMANU[slot], 1);
  EXPECT_EQ(sys.cantons.Res2MANU[slot], 0);
  EXPECT_EQ(t.mode[5], "SEL");
}

TEST_F(TrainConfig, OptionsInAnyOrder) {
  read(
      "train00 : Loco-[1]  color : 7 en_auto inv clav4 c315 c0\n"
      "train31 : WAGON\xe9xx g3 00-64-xx-xx-xx @ a comment\n"
      "train02 : AAAAAAAA pot304 40-xx-99-01-xx\n");
  EXPECT_EQ(t.name[0], "Loco-[1]");
  EXPECT_EQ(t.color[0], 7);
  EXPECT_EQ(t.en_auto[0], 1);
  EXPECT_EQ(t.inv[0], 1);
  EXPECT_EQ(t.cmd[0], 1004);
  EXPECT_EQ(sys.cantons.num_train[canton_slot(315)], 0);
  EXPECT_EQ(sys.cantons.num_train[canton_slot(0)], 0);
  EXPECT_EQ(t.name[31], "WAGON-xx");
  EXPECT_EQ(t.train_garage[31], 3);
  EXPECT_EQ(t.en[31], 1);
  EXPECT_EQ(sys.garage.num_train[3], 31);
  EXPECT_EQ(sys.garage.cmd_lock[3], 1);
  EXPECT_EQ(sys.garage.state_lock[3], 1);
  EXPECT_EQ(t.vmin[31], 1);
  EXPECT_EQ(t.vmax[31], 64);
  EXPECT_EQ(t.acc[31], -1);
  EXPECT_EQ(t.cmd[2], 304);
  EXPECT_EQ(t.vmin[2], 40);
  EXPECT_EQ(t.vmax[2], 64);  // not given: keeps its value
  EXPECT_EQ(t.acc[2], 28);   // capped
  EXPECT_EQ(t.dec[2], 1);
  EXPECT_EQ(t.frein[2], -1);
  // Colours of trains 0..15 start at -1 so that the panels file may give them.
  EXPECT_EQ(t.color[1], -1);
}

TEST_F(TrainConfig, BadLines) {
  struct Case {
    const char* line;
    const char* quoted;
  };
  const Case cases[] = {
      {"train01 : ABCDEFGH pot105", "  train01  :  ABCDEFGH  pot105"},
      {"train01 : ABCDEFGH clav5", "  train01  :  ABCDEFGH  clav5"},
      {"train01 : ABCDEFGH c16", "  train01  :  ABCDEFGH  c16"},
      {"train01 : ABCDEFGH g32", "  train01  :  ABCDEFGH  g32"},
      {"train01 : ABCDEFGH color : 24", "  train01  :  ABCDEFGH  color  :  24"},
      {"train01 : ABCDEFGH 60-50-xx-xx-xx", "  train01  :  ABCDEFGH  60-50-xx-xx-xx"},
      {"train01 : ABCDEFGH invers", "  train01  :  ABCDEFGH  invers"},
      {"train01 : ABCDEFG", "  train01  :  ABCDEFG"},
      {"train01 : ABCDEFGHI", "  train01  :  ABCDEFGHI"},
      {"train32 : ABCDEFGH", "  train32  :  ABCDEFGH"},
      {"pot102", "  pot102"},
      {"reserve : ABCDEFG inv", "  reserve  :  ABCDEFG  inv"},
      {"reserve : ABCDEFGH en_auto", "  reserve  :  ABCDEFGH  en_auto"},
      {"acc_progressif : 20 10", "  acc_progressif  :  20  10"},
      {"acc_progressif : 0", "  acc_progressif  :  0"},
      {"dec_progressif : 1 2 3 4 5 6 7 8 9", "  dec_progressif  :  1  2  3  4  5  6  7  8  9"},
      {"train01 : ABCDEFGH acc_progressif : 5", "  train01  :  ABCDEFGH  acc_progressif  :  5"},
      {"clav_conf_5 : + a ! z -e", "  clav_conf_5  :  +  a  !  z  -e"},
      {"clav_conf_0 : + a ! ", "  clav_conf_0  :  +  a  !"},
  };
  for (const Case& c : cases) expect_error(c.line, c.quoted);
}

TEST_F(TrainConfig, ReserveEntries) {
  read(
      "reserve : TGV_SUD_ name : Train_a_grande_vitesse color : 3 inv 02-40-05-xx-xx\n"
      "reserve : SHORT\n"
      "reserve : BB-67000\n");
  EXPECT_EQ(t.reserve_count, 2);
  EXPECT_EQ(t.name[kReserveRow0], "TGV SUD ");
  EXPECT_EQ(t.long_name[0], "Train a grande vitesse");
  EXPECT_EQ(t.reserve_color[0], 3);
  EXPECT_EQ(t.inv[kReserveRow0], 1);
  EXPECT_EQ(t.vmin[kReserveRow0], 2);
  EXPECT_EQ(t.vmax[kReserveRow0], 40);
  EXPECT_EQ(t.acc[kReserveRow0], 5);
  EXPECT_EQ(t.dec[kReserveRow0], -1);
  EXPECT_EQ(t.name[kReserveRow0 + 1], "BB-67000");
  EXPECT_EQ(t.en[0], 0);  // reserve trains are not on the layout
}

TEST_F(TrainConfig, The24thReserveIsAnError) {
  std::string lines;
  for (int r = 0; r < kReserveEntries; ++r)
    lines += "reserve : RES_" + std::to_string(r + 10) + "__\n";
  read(lines);
  EXPECT_EQ(t.reserve_count, kReserveEntries);
  EXPECT_THROW(read(lines + "reserve : ONE_MORE\n"), FatalConfigError);
}

TEST_F(TrainConfig, KeyboardConfigurationsAndProgressiveTables) {
  read(
      "clav_conf_0 : + a ! z -e\n"
      "clav_conf_3 : -q ! s + d\n"
      "clav_conf_1 : + p ! m -l stop\n"
      "acc_progressif : 5 10 20\n"
      "dec_progressif :\n");
  EXPECT_EQ(t.plus_key[0], 'a');
  EXPECT_EQ(t.stop_key[0], 'z');
  EXPECT_EQ(t.minus_key[0], 'e');
  EXPECT_EQ(t.plus_key[3], 'd');
  EXPECT_EQ(t.stop_key[3], 's');
  EXPECT_EQ(t.minus_key[3], 'q');
  EXPECT_EQ(t.minus_key[1], 'l');  // "stop" ends the list and is skipped
  EXPECT_EQ(t.acc_progressif, (std::array<int32_t, 8>{5, 10, 20, -1, -1, -1, -1, -1}));
  EXPECT_EQ(t.dec_progressif, (std::array<int32_t, 8>{-1, -1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(TrainConfig, RememberedPositionsSkipTheTrainLines) {
  sys.general.memorisation_train = 1;
  dir.write("config_tco.txt", "");
  read("train07 : XXXXXXXX garbage\ntrain08 : YY\n");
  EXPECT_EQ(t.en[7], 0);
  EXPECT_EQ(t.name[7], "");
}

// Until there is a config_tco.txt to remember them, the trains come from config.txt.
TEST_F(TrainConfig, RememberedPositionsWithoutPanelFileReadTheTrainLines) {
  sys.general.memorisation_train = 1;
  read("train07 : ABCDEFGH c105\n");
  EXPECT_EQ(t.en[7], 1);
  EXPECT_EQ(t.name[7], "ABCDEFGH");
}

TEST_F(TrainConfig, TooManyTokens) {
  std::string line = "train01 : ABCDEFGH";
  for (int k = 0; k < 80; ++k) line += " inv";
  EXPECT_THROW(read(line + "\n"), FatalConfigError);
  ASSERT_EQ(host.boxes.size(), 3u);
  EXPECT_EQ(host.boxes[0].text,
            "Le fichier config.txt comporte une ligne trop complexe dans la section '#train'");
}

TEST_F(TrainConfig, NoSectionLeavesTheStartValues) {
  write_config("#general\n[\n]\n");
  read_train_section(sys);
  EXPECT_EQ(t.cmd[0], -1);
  EXPECT_EQ(t.vmax[0], 64);
  EXPECT_EQ(t.color[0], -1);
}

}  // namespace
