#include "panels/panel_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/temp_dir.h"
#include "trains/train_config.h"

namespace {

// A system as start-up leaves it before the panels are read: #train gave trains 0..15 no
// colour of their own, train 1 colour 9.
void as_after_config(System& sys, bool memorise) {
  for (int n = 0; n < 16; ++n) sys.trains.color[n] = -1;
  sys.trains.color[1] = 9;
  sys.general.memorisation_train = memorise;
  sys.general.memorisation_aig = memorise;
  sys.aig.AIG_DESCR_INFO[3][AIG_INFO_DEFINED] = 1;
  sys.aig.AIG_DESCR_INFO[4][AIG_INFO_DEFINED] = 1;
}

std::unique_ptr<TestSystem> fresh(const std::filesystem::path* same_dir_as = nullptr,
                                  bool memorise = true) {
  auto t = std::make_unique<TestSystem>();
  if (same_dir_as) t->sys.dir = *same_dir_as;
  as_after_config(t->sys, memorise);
  return t;
}

// A panel store and live tables worth saving.
void fill_layout(System& sys) {
  TcoCell& a = sys.panels.cell(0, 3, 4);
  for (int i = 0; i < kCellFields; ++i) a.f[i] = i * 7 - 3;
  set_cell_text(a, "AB\"C");
  TcoCell& b = sys.panels.cell(7, 31, 24);
  b.f[CELL_FAMILY] = 2;
  set_cell_text(b, "12345678901234567890");
  sys.panels.rendu[0] = 5;
  sys.panels.cant_color[17] = 23;
  TrainTable& t = sys.trains;
  t.en[2] = 1;
  t.name[2] = "LOCO A  ";
  t.color[2] = 5;
  t.cmd[2] = 101;
  t.en_auto[2] = 1;
  t.vmin[2] = 1;
  t.vmax[2] = 64;
  place_train_on_canton(sys, 2, 3);
  place_train_on_canton(sys, 2, 104);
  t.en[5] = 1;
  t.name[5] = "SHORT";  // fewer than 8 characters: saved, not restored
  t.cmd[5] = 1003;
  t.inv[5] = 1;
  park_train_in_siding(sys, 5, 7);
  sys.aig.aig_cmd[3] = 1;
  sys.aig.aig_cmd[9] = 1;  // not defined in #aig: not restored
}

class PanelFileTest : public ::testing::Test {
 protected:
  std::unique_ptr<TestSystem> t_ = fresh();
  System& sys() { return t_->sys; }
  std::string file() { return t_->dir.read(kPanelFile); }
  void write(const std::string& text) { t_->dir.write(kPanelFile, text); }
  // Loads the file into a second system of the same folder.
  std::unique_ptr<TestSystem> reload(bool memorise = true) {
    auto other = fresh(&t_->dir.path(), memorise);
    load_panels(other->sys, kPanelFile);
    return other;
  }
  std::filesystem::path path(const std::string& name) { return t_->dir.path() / name; }
  int files_in_folder() {
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(t_->dir.path())) ++n;
    return n;
  }
};

TEST_F(PanelFileTest, MissingFileGivesDefaultsAndTheFirstSaveWritesThem) {
  load_panels(sys(), kPanelFile);
  EXPECT_EQ(sys().panels.rendu, kRenduDefaults);
  EXPECT_EQ(sys().panels.cant_color[0], 1);
  EXPECT_EQ(sys().panels.cant_color[63], 16);
  EXPECT_EQ(sys().trains.color[0], 0);
  EXPECT_EQ(sys().trains.color[1], 9);  // config.txt's colour stays
  EXPECT_EQ(sys().trains.color[15], 15);
  EXPECT_EQ(sys().trains.color[16], 20);
  EXPECT_TRUE(t_->host.boxes.empty());
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  const std::string text = file();
  EXPECT_TRUE(text.starts_with(
      "[TCO_data]\n\ntco=0\nx=00 y=00 data:   -1   -1   -1   -1   -1   -1   -1   -1   -1   -1   "
      "-1   -1   -1   -1   -1 string= \"                    \"\nx=00 y=01 data:"));
  EXPECT_NE(text.find("\nx=31 y=24 data:"), std::string::npos);
  EXPECT_NE(text.find("\n\nrendu\ndata:\n   0\n   7\n   0\n   1\n   0\n   4"), std::string::npos);
  EXPECT_NE(text.find("\n  16\n   0\n   9\n   2\n"), std::string::npos);  // last canton, trains
  EXPECT_TRUE(text.ends_with("a60.0 a61.0 a62.0 a63.0 \n[FIN]\n"));
  EXPECT_NE(text.find("\n\n[SAUVEGARDE_POSITION_DES_TRAINS]\ntrain00\ntrain01\n"),
            std::string::npos);
  EXPECT_NE(text.find("train31\n[FIN]\n\n[SAUVEGARDE_POSITION_DES_AIGUILLAGES]\na00.0 a01.0 "),
            std::string::npos);
}

TEST_F(PanelFileTest, TrainLinesAreWrittenByteForByte) {
  load_panels(sys(), kPanelFile);
  fill_layout(sys());
  sys().trains.mode[2] = "SEL";
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  const std::string text = file();
  EXPECT_NE(text.find("\ntrain02 LOCO_A__ color05 pot  101 ok_auto pasinv 01 64 -1 -1 -1 SEL c3 "
                      "c104\n"),
            std::string::npos);
  EXPECT_NE(text.find("\ntrain05 SHORT color05 clav 003 pasauto invers 00 64 -1 -1 -1 SEL g07\n"),
            std::string::npos);
  EXPECT_NE(text.find("\na00.0 a01.0 a02.0 a03.1 a04.0 a05.0 a06.0 a07.0 a08.0 a09.1 \n"),
            std::string::npos);
  EXPECT_NE(text.find("\nx=03 y=04 data:   -3    4   11   18   25   32   39   46   53   60   67  "
                      " 74   81   88   95 string= \"                AB\"C\"\n"),
            std::string::npos);
}

TEST_F(PanelFileTest, RoundTripRestoresPanelsColoursAndPositions) {
  load_panels(sys(), kPanelFile);
  fill_layout(sys());
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  for (const bool crlf : {false, true}) {
    SCOPED_TRACE(crlf ? "CRLF" : "LF");
    if (crlf) {
      std::string text = file();
      std::string converted;
      for (char c : text) converted += c == '\n' ? std::string("\r\n") : std::string(1, c);
      write(converted);
    }
    auto other = reload();
    System& o = other->sys;
    EXPECT_TRUE(o.panels.cells == sys().panels.cells);
    EXPECT_EQ(o.panels.rendu, sys().panels.rendu);
    EXPECT_EQ(o.panels.cant_color, sys().panels.cant_color);
    EXPECT_TRUE(other->host.boxes.empty());
    EXPECT_EQ(o.trains.name[2], "LOCO A  ");
    EXPECT_EQ(o.trains.cmd[2], 101);
    EXPECT_EQ(o.trains.en_auto[2], 1);
    EXPECT_EQ(o.trains.color[2], 5);
    EXPECT_EQ(o.cantons.num_train[canton_slot(104)], 2);
    EXPECT_EQ(o.cantons.ResvMANU[canton_slot(3)], 1);
    EXPECT_EQ(o.trains.name[5], "");  // too short to be restored
    EXPECT_EQ(o.trains.cmd[5], 1003);
    EXPECT_EQ(o.trains.inv[5], 1);
    EXPECT_EQ(o.trains.train_garage[5], 7);
    EXPECT_EQ(o.garage.num_train[7], 5);
    EXPECT_EQ(o.garage.state_lock[7], 1);
    EXPECT_EQ(o.trains.color[1], 9);
    EXPECT_EQ(o.aig.aig_cmd[3], 1);
    EXPECT_EQ(o.aig.aig_cmd[9], 0);  // not defined in #aig
    EXPECT_EQ(o.trains.en[3], 0);
  }
}

TEST_F(PanelFileTest, PositionsAreReadOnlyWhenRemembered) {
  load_panels(sys(), kPanelFile);
  fill_layout(sys());
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  auto other = reload(false);
  EXPECT_EQ(other->sys.trains.en[2], 0);
  EXPECT_EQ(other->sys.aig.aig_cmd[3], 0);
  EXPECT_TRUE(other->sys.panels.cells == sys().panels.cells);
}

// Token rules of a saved train line, each case one line of the block.
struct TrainLineCase {
  const char* line;
  std::function<void(const System&)> check;
};

const TrainLineCase kTrainLines[] = {
    {"train03 AUTORAIL color30 pot 305 pasauto pasinv 50 12 30 00 27 AUTO c5 c6 c7 c8 c9 c10 c11",
     [](const System& s) {
       EXPECT_EQ(s.trains.en[3], 1);
       EXPECT_EQ(s.trains.mode[3], "SEL");
       EXPECT_EQ(s.trains.color[3], 3);  // colour 30 refused: the rendu block's stays
       EXPECT_EQ(s.trains.cmd[3], -1);   // pot 305 refused
       EXPECT_EQ(s.trains.vmin[3], 1);
       EXPECT_EQ(s.trains.vmax[3], 64);  // not above vmin's 50
       EXPECT_EQ(s.trains.acc[3], -1);
       EXPECT_EQ(s.trains.dec[3], -1);
       EXPECT_EQ(s.trains.frein[3], 27);
       EXPECT_EQ(s.cantons.num_train[canton_slot(10)], 3);   // sixth canton
       EXPECT_EQ(s.cantons.num_train[canton_slot(11)], -1);  // seventh: dropped
     }},
    {"train04 AB_CD_EF color07 clav 004 ok_auto invers 10 40 05 06 07 SEL c116 c400 c15",
     [](const System& s) {
       EXPECT_EQ(s.trains.name[4], "AB CD EF");
       EXPECT_EQ(s.trains.cmd[4], 1004);
       EXPECT_EQ(s.trains.vmax[4], 40);
       EXPECT_EQ(s.cantons.num_train[canton_slot(15)], 4);
       EXPECT_EQ(s.cantons.Res2MANU[canton_slot(15)], 0);
     }},
    {"train32 AUTORAIL color07 clav 004 ok_auto invers 10 40 05 06 07 SEL c1",
     [](const System& s) { EXPECT_EQ(s.cantons.num_train[1], -1); }},
    {"train06 AUTORAIL color07 clav 004 ok_auto invers 10 40 05 06 07",
     [](const System& s) { EXPECT_EQ(s.trains.en[6], 0); }},
    {"train07 AUTORAIL color07 sans cmd ok_auto invers 10 40 05 06 07 SEL g32 c2",
     [](const System& s) {
       EXPECT_EQ(s.trains.train_garage[7], -1);
       EXPECT_EQ(s.cantons.num_train[2], 7);
     }},
};

TEST_F(PanelFileTest, TrainLineTokens) {
  load_panels(sys(), kPanelFile);
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  const std::string text = file();
  const size_t at = text.find("train31\n") + 8;
  for (const TrainLineCase& c : kTrainLines) {
    SCOPED_TRACE(c.line);
    write(text.substr(0, at) + c.line + "\n" + text.substr(at));
    c.check(reload()->sys);
  }
}

// A damaged file: where it is cut or changed, and what must survive.
struct DamageCase {
  const char* name;
  std::function<std::string(const std::string&)> damage;
  int line;
  bool first_cell_kept;
  bool rendu_kept;
};

std::string replace_once(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}
std::string cut_before(const std::string& text, const std::string& marker, size_t keep = 0) {
  return text.substr(0, text.find(marker) + keep);
}

const DamageCase kDamage[] = {
    {"cut in a cell", [](const std::string& t) { return cut_before(t, "\nx=00 y=01 data:", 30); },
     5, true, false},
    {"cut between panels", [](const std::string& t) { return cut_before(t, "\n\ntco=3"); }, 2407,
     true, false},
    {"cut in rendu", [](const std::string& t) { return cut_before(t, "\n  16\n"); }, 6445, true,
     false},
    {"train block without its end",
     [](const std::string& t) { return cut_before(t, "[FIN]\n\n[SAUVEGARDE_POSITION_DES_AIG"); },
     6579, true, true},
    {"turnout block without its end",
     [](const std::string& t) { return t.substr(0, t.rfind("[FIN]")); }, 6589, true, true},
    {"14 values",
     [](const std::string& t) {
       return replace_once(t, "x=00 y=01 data:   -1", "x=00 y=01 data:");
     },
     5, true, false},
    {"16 values",
     [](const std::string& t) {
       return replace_once(t, "x=00 y=01 data:", "x=00 y=01 data:   -1");
     },
     5, true, false},
    {"missing quote",
     [](const std::string& t) {
       std::string damaged = t;
       damaged[t.find('"', t.find("x=00 y=01"))] = ' ';
       return damaged;
     },
     5, true, false},
    {"a word for a number",
     [](const std::string& t) { return replace_once(t, "   -1   -1 string", "   -1   xx string"); },
     4, false, false},
};

TEST_F(PanelFileTest, DamagedFileIsSetAsideKeepingWhatWasWhole) {
  load_panels(sys(), kPanelFile);
  TcoCell& first = sys().panels.cell(0, 0, 0);
  first.f[CELL_FAMILY] = 0;
  first.f[CELL_CANT] = 5;
  fill_layout(sys());
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  const std::string good = file();
  for (const DamageCase& c : kDamage) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path("config_tco.txt.bad"));
    write(c.damage(good));
    auto other = reload();
    const System& o = other->sys;
    ASSERT_EQ(other->host.boxes.size(), 1u);
    EXPECT_EQ(other->host.boxes[0].title, "ZIR - Erreur");
    EXPECT_EQ(other->host.boxes[0].text,
              "Le fichier 'config_tco.txt' est endommagé (ligne " + std::to_string(c.line) +
                  ").\n\nIl a été mis de côté sous le nom 'config_tco.txt.bad' ; les TCO lus "
                  "avant l'erreur sont gardés.");
    EXPECT_FALSE(std::filesystem::exists(path(kPanelFile)));
    EXPECT_EQ(t_->dir.read("config_tco.txt.bad"), c.damage(good));
    EXPECT_EQ(o.panels.cell(0, 0, 0).f[CELL_CANT], c.first_cell_kept ? 5 : -1);
    EXPECT_EQ(o.panels.cell(0, 0, 1), TcoCell());  // the cell in error, or never reached
    EXPECT_EQ(o.panels.rendu[0], c.rendu_kept ? 5 : 0);
    EXPECT_EQ(o.panels.rendu[28], 7);  // never black on black
    EXPECT_EQ(o.trains.en[2], 0);      // positions only from whole blocks
    EXPECT_EQ(o.aig.aig_cmd[3], 0);
    // The next save writes a whole file again.
    EXPECT_TRUE(save_panels(other->sys, kPanelFile));
    EXPECT_TRUE(std::filesystem::exists(path(kPanelFile)));
  }
}

TEST_F(PanelFileTest, SetAsideNeverReplacesAnEarlierOne) {
  t_->dir.write("config_tco.txt.bad", "first");
  t_->dir.write("config_tco.txt.bad2", "second");
  write("[TCO_data]\n\ntco=0\nx=00");
  auto other = reload();
  EXPECT_EQ(t_->dir.read("config_tco.txt.bad"), "first");
  EXPECT_EQ(t_->dir.read("config_tco.txt.bad2"), "second");
  EXPECT_EQ(t_->dir.read("config_tco.txt.bad3"), "[TCO_data]\n\ntco=0\nx=00");
  ASSERT_EQ(other->host.boxes.size(), 1u);
  EXPECT_NE(other->host.boxes[0].text.find("'config_tco.txt.bad3'"), std::string::npos);
}

TEST_F(PanelFileTest, UnreadableFileIsSetAside) {
  std::filesystem::create_directory(path(kPanelFile));
  auto other = reload();
  ASSERT_EQ(other->host.boxes.size(), 1u);
  EXPECT_NE(other->host.boxes[0].text.find("(ligne 1)"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(path("config_tco.txt.bad")));
  EXPECT_EQ(other->sys.panels.rendu, kRenduDefaults);
}

// Save failures: the box, the old file intact, no temporary left.
TEST_F(PanelFileTest, FailedSaveKeepsTheOldFile) {
  load_panels(sys(), kPanelFile);
  ASSERT_TRUE(save_panels(sys(), kPanelFile));
  const std::string old = file();
  sys().panels.cell(0, 0, 0).f[CELL_FAMILY] = 1;
  const int files = files_in_folder();

  // Full disk: the file-size limit makes the write fail the way a full disk does.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_FALSE(save_panels(sys(), kPanelFile));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  EXPECT_EQ(file(), old);
  EXPECT_EQ(files_in_folder(), files);
  ASSERT_EQ(t_->host.boxes.size(), 1u);
  EXPECT_EQ(t_->host.boxes[0].title, "ZIR - Erreur");
  EXPECT_EQ(t_->host.boxes[0].text,
            "Impossible d'enregistrer 'config_tco.txt' : File too large\n\nLe fichier précédent "
            "est conservé.");

  // The rename fails: the name is taken by a folder.
  std::filesystem::rename(path(kPanelFile), path("kept"));
  std::filesystem::create_directories(path(kPanelFile) / "inside");
  EXPECT_FALSE(save_panels(sys(), kPanelFile));
  EXPECT_EQ(files_in_folder(), files + 1);
  EXPECT_TRUE(std::filesystem::is_directory(path(kPanelFile) / "inside"));

  // The folder is gone.
  sys().dir = t_->dir.path() / "gone";
  EXPECT_FALSE(save_panels(sys(), kPanelFile));
  EXPECT_EQ(t_->host.boxes.size(), 3u);
}

TEST_F(PanelFileTest, QuitAfterAFailedSaveAsksFirst) {
  load_panels(sys(), kPanelFile);
  sys().dir = t_->dir.path() / "gone";
  t_->host.answers = {false, true};
  EXPECT_FALSE(save_panels_before_quit(sys()));
  EXPECT_TRUE(save_panels_before_quit(sys()));
  ASSERT_EQ(t_->host.boxes.size(), 4u);
  EXPECT_EQ(t_->host.boxes[1].text,
            "Quitter quand même ? Les modifications des TCO seront perdues.");
}

TEST_F(PanelFileTest, NothingIsSavedByARunThatDidNotLoad) {
  write("old");
  EXPECT_TRUE(save_panels(sys(), kPanelFile));
  EXPECT_EQ(file(), "old");
}

}  // namespace
