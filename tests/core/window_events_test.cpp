// The window's message handling without a window: key routing, ESC, menu commands, mouse on
// the table-screen frame, resize, and the two drawing steps of the tick.
#include "runtime/window_events.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "runtime/menu.h"
#include "runtime/tick.h"
#include "tools/sim/recording_host.h"

namespace {

// A working directory with an empty config.txt: every section absent.
std::filesystem::path empty_layout() {
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / "zir_window_events";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "config.txt").flush();
  return dir;
}

class WindowEvents : public ::testing::Test {
 protected:
  RecordingHost host;
  System sys{host, empty_layout()};

  void show(int screen) { sys.screen.screen_mode = screen; }
  int screen() const { return sys.screen.screen_mode; }
};

TEST_F(WindowEvents, KeysSwitchScreensFromTheDigitRowOfBothKeyboards) {
  struct Case {
    int32_t ch;
    int screen;
  };
  const Case cases[] = {
      {'0', 0},  {'5', 5}, {'7', 7},  {0xE0, 0},  {0xB2, 0}, {'&', 1},
      {0xE9, 2}, {'"', 3}, {'\'', 4}, {'(', 5},   {'-', 6},  {0xE8, 7},
      {'8', 8},  {'_', 8}, {'9', 49}, {0xE7, 49}, {')', 10}, {'=', 19},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ch);
    show(25);
    sys.screen.last_panel = 6;
    window_key(sys, c.ch);
    EXPECT_EQ(screen(), c.screen);
    EXPECT_EQ(sys.screen.last_panel, c.screen < 8 ? c.screen : 6);
    EXPECT_EQ(sys.screen.last_key, c.ch);
  }
}

TEST_F(WindowEvents, TableScreenKeysAskForARepaintPanelKeysDoNot) {
  show(3);
  window_key(sys, '8');
  EXPECT_EQ(host.repaints, 1);
  window_key(sys, '2');
  EXPECT_EQ(host.repaints, 1);
}

TEST_F(WindowEvents, OtherCharactersChangeNothing) {
  show(21);
  sys.screen.last_panel = 4;
  for (int32_t ch : {int32_t{'a'}, int32_t{'Z'}, int32_t{'+'}, int32_t{' '}, kKeyEnter, 0xC9}) {
    window_key(sys, ch);
  }
  EXPECT_EQ(screen(), 21);
  EXPECT_EQ(sys.screen.last_panel, 4);
}

TEST_F(WindowEvents, KeysStayWithTheScreenWhereItTakesThem) {
  show(3);
  sys.screen.panel_mode = 'A';  // editor open on panel 3
  window_key(sys, 0xE9);
  EXPECT_EQ(screen(), 3);
  show(kCardScreen);
  window_key(sys, '1');
  EXPECT_EQ(screen(), kCardScreen);
  show(8);
  sys.screen.field_editing = true;
  window_key(sys, '8');
  window_key(sys, '2');
  EXPECT_EQ(screen(), 8);
  sys.screen.field_editing = false;
  window_key(sys, '2');
  EXPECT_EQ(screen(), 2);
}

TEST_F(WindowEvents, EscapeReturnsToTheLastPanelOrOnlyLeavesTheOverlay) {
  window_key(sys, '5');
  window_key(sys, '=');
  EXPECT_EQ(screen(), 19);
  window_key(sys, kKeyEscape);
  EXPECT_EQ(screen(), 5);
  sys.screen.panel_mode = 'H';
  window_key(sys, kKeyEscape);
  EXPECT_EQ(sys.screen.panel_mode, ' ');
  EXPECT_EQ(screen(), 5);
  show(30);
  sys.screen.panel_mode = 'R';
  window_key(sys, kKeyEscape);
  EXPECT_EQ(sys.screen.panel_mode, ' ');
  EXPECT_EQ(screen(), 30);
}

TEST_F(WindowEvents, MenuCommandsShowTheirScreens) {
  struct Case {
    int id;
    int screen;
  };
  const Case cases[] = {
      {905, 0},  {912, 7},  {917, 22}, {918, 23}, {919, 28}, {920, 29}, {921, 10},
      {927, 16}, {928, 21}, {929, 17}, {930, 19}, {931, 20}, {932, 9},  {933, 32},
      {935, 34}, {936, 35}, {938, 37}, {939, 24}, {940, 30}, {944, 31}, {945, 8},
      {946, 25}, {948, 27}, {949, 18}, {951, 38}, {952, 39}, {953, 40}, {954, 41},
      {955, 42}, {957, 44}, {958, 45}, {960, 47}, {961, 48}, {962, 49}, {963, 50},
      {968, 55}, {969, 57}, {970, 58}, {971, 59}, {972, 60}, {974, 56},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    show(3);
    sys.screen.last_panel = 1;
    const int before = host.repaints;
    window_menu(sys, c.id);
    EXPECT_EQ(screen(), c.screen);
    EXPECT_EQ(sys.screen.last_panel, c.screen < 8 ? c.screen : 3);
    EXPECT_GT(host.repaints, before);
  }
}

TEST_F(WindowEvents, EveryMenuBarItemIsACommandWithAScreenOrAnAction) {
  int items = 0;
  for (const MenuBarEntry& entry : menu_bar()) {
    std::vector<int> ids;
    if (entry.id != 0) ids.push_back(entry.id);
    for (const MenuItem& item : entry.items) {
      if (item.id != 0) ids.push_back(item.id);
    }
    for (int id : ids) {
      SCOPED_TRACE(id);
      ++items;
      System fresh(host, empty_layout());
      fresh.screen.screen_mode = 50;  // a screen that no menu item shows
      fresh.panels.loaded = true;     // as after start-up: the panels may be saved
      const size_t boxes = host.boxes.size();
      window_menu(fresh, id);
      const bool saved = std::filesystem::remove(fresh.dir / "config_tco.txt");
      const bool acted = fresh.screen.screen_mode != 50 || fresh.screen.panel_mode != ' ' ||
                         host.boxes.size() > boxes || host.quit_requested || saved;
      EXPECT_TRUE(acted);
      host.quit_requested = false;
    }
  }
  EXPECT_EQ(items, 70);  // every id of the menu table that has a menu text
}

TEST_F(WindowEvents, BoxesOfHelpAboutAndVariableList) {
  window_menu(sys, 903);
  window_menu(sys, 904);
  window_menu(sys, 950);
  ASSERT_EQ(host.boxes.size(), 3u);
  EXPECT_EQ(host.boxes[0].title, "ZIR - Aide");
  EXPECT_NE(host.boxes[0].text.find(
                "Les erreurs de fonctionnement sont envoyées dans le fichier 'Train_ZIR_log.txt'"),
            std::string::npos);
  EXPECT_NE(host.boxes[0].text.find(
                "La version V3.7 ne fonctionne qu'avec des cartes PIC 20Mhz en version V3"),
            std::string::npos);
  EXPECT_EQ(host.boxes[1].title, "ZIR - A propos");
  EXPECT_EQ(host.boxes[2].title, "ZIR - Liste des variables");
  const std::string& list = host.boxes[2].text;
  for (const char* line :
       {"det2p_0 - det2p_315\t", "\t40xx  (16 par carte : 4020-4035", "var_0 - var_599\t",
        "\t5400 - 5999\n", "vib_on\t", "\t7000\n", "garage_lock_cmd_0 - garage_lock_cmd_31\t",
        "\t6900 - 6931\n", "regroupe_0 - regroupe_99\t"}) {
    EXPECT_NE(list.find(line), std::string::npos) << line;
  }
  for (const BoxIcon icon : {host.boxes[0].icon, host.boxes[1].icon, host.boxes[2].icon}) {
    EXPECT_EQ(icon, BoxIcon::Information);
  }
}

TEST_F(WindowEvents, EditAndReloadShowTheirWarningFirst) {
  window_menu(sys, 913);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].title, "ZIR - Info");
  EXPECT_EQ(host.boxes[0].icon, BoxIcon::Warning);
  EXPECT_EQ(host.boxes[0].text.rfind("ZIR va ouvrir le fichier de config", 0), 0u);
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(std::filesystem::path(host.opened[0]).filename(), "config.txt");
  EXPECT_TRUE(std::filesystem::path(host.opened[0]).is_absolute());

  sys.clock.running = 1;
  window_menu(sys, 914);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[1].text.rfind("ZIR va prendre en compte les modifications", 0), 0u);
  EXPECT_EQ(sys.clock.running, 0);
}

// The boxes promise nothing the program does not do yet.
TEST_F(WindowEvents, BoxesSayOnlyWhatTheProgramDoes) {
  window_menu(sys, 904);
  window_menu(sys, 914);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].text.find("config_tco.txt"), std::string::npos);
  // The reload box names the sections menu 914 reads again, and only those.
  EXPECT_EQ(host.boxes[1].text,
            "ZIR va prendre en compte les modifications dans 'config.txt' \n\nLes sections "
            "rechargées sont : \n  horo#  Paramétrage de l'horloge + horodateur \n  iti#      "
            "Itinéraires\n  depl#  "
            "Définition des déplacements automatique\n  tdv#    "
            "Opérations logiques (table de vérité, équations, impulsions)\n  exe#    Fichiers à "
            "exécuter\n  vib#    Configuration du vibreur\n\nPour les autres sections, relancer "
            "ZIR");
}

TEST_F(WindowEvents, QuitRemoteKeyAndOverlays) {
  window_menu(sys, 902);
  EXPECT_TRUE(host.quit_requested);
  window_menu(sys, 999, 0x5002A);
  EXPECT_EQ(sys.screen.remote_key, 0x2A);
  show(30);
  sys.screen.last_panel = 4;
  window_menu(sys, 941);
  EXPECT_EQ(sys.screen.panel_mode, 'A');
  EXPECT_EQ(screen(), 4);
  window_menu(sys, 916);
  EXPECT_EQ(sys.screen.panel_mode, 'H');
  window_menu(sys, 942);
  EXPECT_EQ(sys.screen.panel_mode, 'R');
}

TEST_F(WindowEvents, MenuOnAPanelMakesItTheLastPanel) {
  show(6);
  sys.screen.last_panel = 0;
  window_menu(sys, 950);
  EXPECT_EQ(sys.screen.last_panel, 6);
}

TEST_F(WindowEvents, CloseBoxReturnsToTheLastPanelRightPressTurnsThePage) {
  sys.screen.last_panel = 2;
  show(25);
  window_button_press(sys, MouseButton::Right, 400, 300);
  EXPECT_EQ(screen(), 26);
  window_button_press(sys, MouseButton::Right, 400, 300);
  window_button_press(sys, MouseButton::Right, 400, 300);
  EXPECT_EQ(screen(), 25);  // 27 wraps to 25
  window_button_press(sys, MouseButton::Left, 400, 300);
  EXPECT_EQ(screen(), 25);
  window_button_press(sys, MouseButton::Left, 790, 8);
  EXPECT_EQ(screen(), 2);
  EXPECT_EQ(sys.screen.press_x, 790);
  EXPECT_EQ(sys.screen.press_y, 8);

  show(30);  // a screen without pages ignores the right press
  window_button_press(sys, MouseButton::Right, 400, 300);
  EXPECT_EQ(screen(), 30);
  window_resize(sys, 1100, 700);
  show(35);  // 1100 wide on an area as wide: the close box is at its own right edge
  window_button_press(sys, MouseButton::Left, 790, 8);
  EXPECT_EQ(screen(), 35);
  window_button_press(sys, MouseButton::Left, 1090, 8);
  EXPECT_EQ(screen(), 2);
  show(kCardScreen);  // the card screen's close box is lower
  window_button_press(sys, MouseButton::Left, 790, 8);
  EXPECT_EQ(screen(), kCardScreen);
  window_button_press(sys, MouseButton::Left, 790, 40);
  EXPECT_EQ(screen(), 2);
}

TEST_F(WindowEvents, PointerPositionFollowsMovesAndReleases) {
  window_mouse_move(sys, 12, 34);
  EXPECT_EQ(sys.screen.mouse_x, 12);
  EXPECT_EQ(sys.screen.mouse_y, 34);
  window_button_release(sys, MouseButton::Left, 56, 78);
  EXPECT_EQ(sys.screen.mouse_x, 56);
  EXPECT_EQ(sys.screen.press_x, 0);
}

TEST_F(WindowEvents, ResizeRule) {
  struct Case {
    int w, h, cw, ch;
  };
  for (const Case& c :
       {Case{1600, 1200, 1281, 1001}, Case{800, 700, 801, 701}, Case{1280, 999, 1281, 1000}}) {
    window_resize(sys, c.w, c.h);
    EXPECT_EQ(sys.screen.client_width, c.cw);
    EXPECT_EQ(sys.screen.client_height, c.ch);
  }
}

TEST_F(WindowEvents, PaintDrawsTheTableScreenFrameOnSilver) {
  window_resize(sys, 1000, 800);
  show(17);
  window_paint(sys);
  const Surface* front = host.frame.surface();
  ASSERT_NE(front, nullptr);
  EXPECT_EQ(front->width(), 1001);
  EXPECT_EQ(front->pixel(400, 400), palette_fill(7));   // the screen's white area
  EXPECT_EQ(front->pixel(900, 400), palette_fill(18));  // silver beyond it
  EXPECT_EQ(front->pixel(785, 2), palette_line(0));     // close box corner
  EXPECT_EQ(front->pixel(797, 14), palette_line(0));
  EXPECT_EQ(front->pixel(798, 15), palette_fill(7));
  bool title_ink = false;
  for (int x = 2; x < 40; ++x) title_ink = title_ink || front->pixel(x, 8) == palette_text(0);
  EXPECT_TRUE(title_ink);
}

// A screen with pages shows them in its legend box, which turns the page when pressed; a
// screen without pages has no legend box.
TEST_F(WindowEvents, LegendBoxOfAScreenWithPages) {
  struct Case {
    int screen;
    bool legend;
    int after_press;
    int legend_top;  // where the screen puts its legend box
  };
  for (const Case& c : {Case{25, true, 26, 520}, Case{27, true, 25, 520}, Case{60, true, 59, 570},
                        Case{17, false, 17, 40}}) {
    SCOPED_TRACE(c.screen);
    show(c.screen);
    window_paint(sys);
    const Surface* front = host.frame.surface();
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->pixel(50, c.legend_top + 1) == palette_fill(37), c.legend);
    window_button_press(sys, MouseButton::Left, 50, c.legend_top + 5);
    EXPECT_EQ(screen(), c.after_press);
  }
}

// The titles keep their own spacing: the "(... maximum)" part stands where the screen puts it.
TEST_F(WindowEvents, FrameTitlesKeepTheirSpacing) {
  struct Case {
    int screen;
    const char* title;
  };
  const Case cases[] = {
      {21, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES GARAGES   (32 maximum)"},
      {23, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES AIGUILLAGES   (64 maximum)"},
      {31, "AFFICHE LA COMPOSITION DES TABLES DE VÉRITÉS       (50 tables maximum)"},
      {33, "AFFICHE LES VALEURS DU TABLEAU INTERNE 'CANTONS SELECTIFS'  (100 valeurs maximum)"},
      {36, "AFFICHE LES VALEURS DU TABLEAU INTERNE 'AIGAUTO'      (100 lignes maximum)"},
      {38, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#balauto'+'vitmax:'  (60 maximum)"},
      {41, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#balauto'+'halt:'  (60 éléments maximum)"},
      {44, "AFFICHE LES VALEURS DU TABLEAU INTERNE '#balauto'+'cant:'      (100 lignes maximum)"},
      {45, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#exe:'    (100 éléments maximum)"},
      {48, "AFFICHE LA COMPOSITION DES TABLES DE VÉRITÉS    Partie 'pulse:'  (32 maximum)"},
      {52, "AFFICHE LES VALEURS DU TABLEAU INTERNE '#horo'            (255 lignes maximum)"},
      {59, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES SEPARATIONS  (100 maximum)"},
      {60, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES REGROUPEMENTS  (100 maximum)"},
  };
  for (const Case& c : cases) {
    const ScreenInfo* info = screen_info(c.screen);
    ASSERT_NE(info, nullptr) << c.screen;
    EXPECT_STREQ(info->title, c.title) << c.screen;
  }
}

TEST_F(WindowEvents, PanelsAreDrawnByTheTickOnEvenTicksOnly) {
  show(1);
  window_paint(sys);
  EXPECT_EQ(host.frame.surface(), nullptr);
  tick(sys);  // tick 1
  EXPECT_EQ(host.frame.surface(), nullptr);
  tick(sys);  // tick 2
  ASSERT_NE(host.frame.surface(), nullptr);
  EXPECT_EQ(host.frame.surface()->pixel(100, 100), palette_fill(19));
}

TEST_F(WindowEvents, TableScreensRedrawOnlyTheirRectanglesOnEvenTicks) {
  show(30);  // rectangle 75, 32, 450, 320
  Surface marker(sys.screen.client_width, sys.screen.client_height);
  marker.fill_rect(0, 0, marker.width(), marker.height(), 4);
  host.present(marker, 0, 0, marker.width(), marker.height());
  tick(sys);
  EXPECT_EQ(host.frame.surface()->pixel(100, 100), palette_fill(4));
  tick(sys);
  const Surface* front = host.frame.surface();
  EXPECT_EQ(front->pixel(76, 33), palette_fill(7));    // inside the grid's top-left cell
  EXPECT_EQ(front->pixel(520, 345), palette_fill(7));  // and its bottom-right one
  EXPECT_EQ(front->pixel(74, 100), palette_fill(4));
  EXPECT_EQ(front->pixel(525, 100), palette_fill(4));
  EXPECT_EQ(front->pixel(100, 352), palette_fill(4));
}

TEST_F(WindowEvents, ScreensWithoutAnEntryAreNotDrawn) {
  show(61);
  window_paint(sys);
  EXPECT_EQ(host.frame.surface()->pixel(10, 10), palette_fill(18));
  tick(sys);
  tick(sys);
  EXPECT_EQ(host.frame.surface()->pixel(10, 10), palette_fill(18));
  EXPECT_EQ(screen_info(61), nullptr);
  EXPECT_EQ(screen_info(7), nullptr);
  for (int s = 8; s <= kLastScreen; ++s) EXPECT_NE(screen_info(s), nullptr) << s;
}

}  // namespace

namespace {

TEST_F(WindowEvents, OnANarrowAreaTheCloseBoxKeepsToItsRightEdge) {
  window_resize(sys, 699, 700);  // an area 700 wide, a screen 1100 wide
  sys.screen.last_panel = 2;
  sys.screen.record_texts = true;
  show(35);
  window_paint(sys);
  bool quit_text_seen = false;
  for (const DrawnText& t : sys.screen.drawn_texts)
    if (t.text == "(QUITTER = ESC)") quit_text_seen = t.x == 700 - 140;
  EXPECT_TRUE(quit_text_seen);
  window_button_press(sys, MouseButton::Left, 690, 8);
  EXPECT_EQ(screen(), 2);
}

}  // namespace
