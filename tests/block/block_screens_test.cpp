// The automatic-turnout and block screens: the rows as read from config.txt, the grounds that
// show which rule acts now, the cut of long block conditions, the settings shown below the
// rows, and paging.
#include "block/block_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "block/aigauto_config.h"
#include "block/balauto_config.h"
#include "core/screens.h"
#include "runtime/window_events.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"

namespace {

constexpr const char* kConfig =
    "#general\n[\n]\n"
    "#aigauto\n[\n"
    "cant : c10 : + 5 plusur : c9 condi : a4 . 1 det_11 . 0 actions : a7 . 0 a8 . 1\n"
    "cant : c112 : - 12\n"
    "]\n"
    "#balauto\n[\n"
    "tempo - libe - cant : 25\n"
    "vitmax : c12 : + 30 condi : a3 . 0 det_14 . 1\n"
    "vitmax : c5 : - 8\n"
    "halt : c5 : - condi : in_3 . 1\n"
    "cant : c5 : + dec : 3 ral : 15 plusur : c4 c3 blocage : det_6 . 1 | det_7 . 1 in_3 . 0\n"
    "cant : c6 : - blocage : det_105 . 1 det_106 . 1 det_107 . 1 det_108 . 1 det_109 . 1 "
    "det_110 . 1 det_111 . 1 det_112 . 1 det_113 . 1 det_114 . 1\n"
    "cant : c7 : + blocage : det_105 . 1 det_106 . 1 det_107 . 1 det_108 . 1 det_109 . 1 "
    "det_110 . 1 det_111 . 1 det_112 . 1 var_1 . 0 var_2 . 0\n"
    "]\n";

struct BlockScreens : ::testing::Test {
  TestSystem t;
  System& sys = t.sys;
  BlockState& b = t.sys.block;

  BlockScreens() {
    t.dir.write("config.txt", kConfig);
    sys.minus_switch = true;
    read_aigauto(sys);
    read_balauto(sys);
    sys.screen.record_texts = true;
    sys.screen.client_width = 1101;
  }
  void show(int screen) {
    sys.screen.screen_mode = screen;
    window_paint(sys);
  }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    for (const DrawnText& d : sys.screen.drawn_texts) {
      if (d.x != x || d.y != y) continue;
      if (colour) *colour = d.colour;
      return d.text;
    }
    return "";
  }
  bool drew(const std::string& text) const {
    for (const DrawnText& d : sys.screen.drawn_texts)
      if (d.text == text) return true;
    return false;
  }
  static int row_y(int row) { return 32 + 16 * row; }
};

TEST_F(BlockScreens, RowsShowTheRulesAsRead) {
  struct Case {
    int screen, x, row;
    const char* text;
  };
  const Case cases[] = {
      {35, 50, 0, "c10   5"},
      {35, 140, 0, "c9  "},
      {35, 370, 0, "a4=1 det_11=0 "},
      {35, 830, 0, "a7=0 a8=1 "},
      {35, 50, 1, "c112 -12"},
      {38, 50, 0, "c12  30"},
      {38, 140, 0, "a3=0   det_14=1 "},
      {38, 50, 1, "c5   -8"},
      {40, 50, 0, "c5   -"},
      {40, 140, 0, "in_3=1 "},
      {42, 50, 0, "c5   +"},
      {42, 136, 0, "15"},
      {42, 184, 0, " 3"},
      {42, 232, 0, "c4  c3  "},
      {42, 400, 0, "det_6=1 | det_7=1 in_3=0 "},
      {42, 50, 1, "c6   -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    show(c.screen);
    EXPECT_EQ(text_at(c.x, row_y(c.row)), c.text);
  }
  show(42);
  EXPECT_EQ(text_at(136, row_y(1)), "");  // no ral, no dec: blank
  EXPECT_EQ(text_at(184, row_y(1)), "");
  EXPECT_EQ(text_at(232, row_y(1)), "");
  int colour = -1;
  EXPECT_EQ(text_at(2, row_y(0), &colour), "  0");
  EXPECT_EQ(colour, 0);
  EXPECT_EQ(text_at(2, row_y(3), &colour), "  3");  // an empty rule: its number in grey
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(50, row_y(3)), "");
  EXPECT_TRUE(drew("Temporisation '#balauto'+'tempo_libe_cant:'"));
  EXPECT_TRUE(drew("= 25 => 2 sec"));
}

// Ten conditions of ten characters show the first 84 characters and "..."; the cut may fall
// inside a label. A list of exactly 84 characters is shown whole.
TEST_F(BlockScreens, LongBlockConditionsAreCutAfter84Characters) {
  const std::string eight =
      "det_105=1 det_106=1 det_107=1 det_108=1 det_109=1 det_110=1 det_111=1 det_112=1 ";
  CantRule& exact = b.cant[3];
  exact.canton = 8;
  for (size_t k = 0; k < 9; ++k) {
    exact.blocage.var[k] = k < 6 ? 105 + static_cast<int32_t>(k) : 5400 + static_cast<int32_t>(k);
    exact.blocage.val[k] = k < 6 ? 1 : 0;
  }
  show(42);
  EXPECT_EQ(text_at(400, row_y(1)), eight + "det_...");
  EXPECT_EQ(text_at(400, row_y(2)), eight + "var_...");
  EXPECT_EQ(text_at(400, row_y(3)), eight.substr(0, 60) + "var_6=0 var_7=0 var_8=0 ");
}

TEST_F(BlockScreens, RowGroundsShowWhatActsNow) {
  b.aigauto[0].done = 1;
  b.vitmax[1].active = 1;
  b.halt[0].active = 1;
  b.cant[0].state = 2;
  b.cant[1].state = 1;
  struct Case {
    int screen, row;
    Rgb ground;
  };
  const Rgb white{255, 255, 255}, green{110, 240, 110}, yellow{250, 250, 0}, orange{255, 102, 0};
  const Case cases[] = {
      {35, 0, green},  {35, 1, white},  {38, 0, white},  {38, 1, yellow},
      {40, 0, orange}, {42, 0, orange}, {42, 1, yellow}, {42, 2, white},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "screen " << c.screen << " row " << c.row);
    show(c.screen);
    const Surface* shown = t.host.frame.surface();
    ASSERT_NE(shown, nullptr);
    // Left of the number and at the far right of the row: the ground, not a glyph.
    EXPECT_EQ(shown->pixel(1, row_y(c.row) + 8), c.ground);
    EXPECT_EQ(shown->pixel(c.screen == 38 || c.screen == 40 ? 797 : 1097, row_y(c.row) + 8),
              c.ground);
  }
}

TEST_F(BlockScreens, RedrawEqualsPaint) {
  struct Case {
    int screen;
    void (*change)(BlockState&);
  };
  const Case cases[] = {
      {35, [](BlockState& s) { s.aigauto[0].done = 1; }},
      {38, [](BlockState& s) { s.vitmax[0].active = 1; }},
      {40, [](BlockState& s) { s.halt[0].active = 1; }},
      {42,
       [](BlockState& s) {
         s.cant[0].state = 2;
         s.cant[1].state = 1;
       }},
      {43, [](BlockState& s) { s.cant[40].canton = 3; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    sys.screen.screen_mode = c.screen;
    expect_redraw_equals_paint(sys, t.host, [&] { c.change(b); });
  }
}

// The settings below the rows are painted, not redrawn: a change while they are shown asks
// for a repaint.
TEST_F(BlockScreens, SettingsBelowTheRowsFollowTheirChanges) {
  const char* inhibited = "La fonction 'HALTE:' est INHIBE depuis le bloc 'HLT' du TCO.";
  show(40);
  EXPECT_FALSE(drew(inhibited));
  const int repaints = t.host.repaints;
  sys.ticks.tick = 2;
  table_screen_tick_redraw(sys);
  EXPECT_EQ(t.host.repaints, repaints);
  b.halt_inhibit = 1;
  table_screen_tick_redraw(sys);
  EXPECT_EQ(t.host.repaints, repaints + 1);
  window_paint(sys);
  EXPECT_TRUE(drew(inhibited));
  b.halt_inhibit = 0;
  window_paint(sys);
  EXPECT_FALSE(drew(inhibited));

  show(35);
  EXPECT_TRUE(drew("AIGAUTO est : ACTIF"));
  sys.general.aigauto = 0;
  table_screen_tick_redraw(sys);
  EXPECT_EQ(t.host.repaints, repaints + 2);
  window_paint(sys);
  EXPECT_TRUE(drew("AIGAUTO est : PAS ACTIF"));
}

TEST_F(BlockScreens, PagesTurnAndWrap) {
  struct Case {
    int from, to;
  };
  const Case cases[] = {{35, 36}, {37, 35}, {38, 39}, {39, 38}, {41, 40}, {42, 43}, {44, 42}};
  for (const Case& c : cases) {
    sys.screen.screen_mode = c.from;
    window_button_press(sys, MouseButton::Right, 500, 300);
    EXPECT_EQ(sys.screen.screen_mode, c.to) << c.from;
  }
  sys.screen.screen_mode = 42;
  window_button_press(sys, MouseButton::Left, 50, 555);  // the legend box
  EXPECT_EQ(sys.screen.screen_mode, 43);
  window_paint(sys);
  EXPECT_EQ(text_at(2, row_y(0)), " 32");
  sys.screen.screen_mode = 39;
  window_paint(sys);
  EXPECT_EQ(text_at(2, row_y(27)), " 59");
  EXPECT_EQ(text_at(2, row_y(28)), "");  // the table ends at rule 59
  // The close box of a wide screen: at 1085 on a wide area, at the right edge of a narrow one.
  sys.screen.last_panel = 3;
  for (const int width : {1101, 801}) {
    sys.screen.client_width = width;
    sys.screen.screen_mode = 42;
    window_button_press(sys, MouseButton::Left, width - 10, 8);
    EXPECT_EQ(sys.screen.screen_mode, 3) << width;
  }
}

}  // namespace
