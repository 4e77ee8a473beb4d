#include "panels/panel_render.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/surface.h"
#include "panels/panel_file.h"
#include "support/temp_dir.h"

namespace {

constexpr int kWidth = 1281;
constexpr int kHeight = 1001;

class PanelRenderTest : public ::testing::Test {
 protected:
  PanelRenderTest() {
    load_panels(sys(), kPanelFile);  // no file: the default colours
    sys().general.relief = 0;
  }
  System& sys() { return t_.sys; }
  TcoCell& cell(int x, int y) { return sys().panels.cell(0, x, y); }
  TcoCell& put(int x, int y, int family, int variant, int cant, int sens = 0) {
    TcoCell& c = cell(x, y);
    c.f[CELL_FAMILY] = family;
    c.f[CELL_VARIANT] = variant;
    c.f[CELL_CANT] = cant;
    c.f[CELL_SENS] = sens;
    return c;
  }
  // The start-of-tick copy of a canton, as the panels read it.
  void canton(int number, int train, int auto_res, int manu, int manu2, int det, int speed = 0) {
    const int s = canton_slot(number);
    CantonTable& c = sys().cantons;
    c.prev_num_train[s] = train;
    c.prev_ResvAUTO[s] = auto_res;
    c.prev_ResvMANU[s] = manu;
    c.prev_Res2MANU[s] = manu2;
    c.Vitesse[s] = speed;
    sys().io.det[s] = det;
  }
  Surface paint() {
    Surface s(kWidth, kHeight);
    paint_panel(sys(), s, 0);
    return s;
  }
  TestSystem t_;
};

Rgb fill(int index) {
  return palette_fill(index);
}
Rgb line(int index) {
  return palette_line(index);
}

// Each canton state gives its rendu row: rail pen, cell fill and thick rail.
struct RowCase {
  const char* name;
  int auto_res, manu, manu2, det;
  int rail, cell_fill;
  bool thick;
};

const RowCase kRows[] = {
    {"free", 0, 0, 0, 0, 0, 7, false},
    {"detection no train owns", 0, 0, 0, 1, 0, 4, false},
    {"manual next", 0, 0, 1, 0, 11, 19, false},  // train 3's colour 11
    {"manual main", 0, 1, 0, 1, 11, 7, true},
    {"automatic next", 1, 0, 0, 0, 11, 6, false},
    {"automatic occupied", 1, 0, 0, 1, 11, 6, true},
};

TEST_F(PanelRenderTest, TrackColourFollowsTheCantonStateRow) {
  sys().trains.color[3] = 11;
  put(2, 2, FAMILY_TRACK, 0, 5);
  for (const RowCase& r : kRows) {
    SCOPED_TRACE(r.name);
    canton(5, 3, r.auto_res, r.manu, r.manu2, r.det);
    const Surface s = paint();
    EXPECT_EQ(s.pixel(85, 85), fill(r.cell_fill));
    EXPECT_EQ(s.pixel(90, 100), line(r.rail));
    EXPECT_EQ(s.pixel(90, 101), r.thick ? line(r.rail) : fill(r.cell_fill));
    EXPECT_EQ(s.pixel(90, 99), r.thick ? line(r.rail) : fill(r.cell_fill));
  }
}

TEST_F(PanelRenderTest, ColourRowsTakeTheCantonColourAndRelief) {
  sys().panels.rendu[4] = 25;  // detection row: the canton's colour for the rail
  sys().panels.cant_color[canton_slot(105)] = 13;
  put(1, 1, FAMILY_TRACK, 0, 105);
  canton(105, -1, 0, 0, 0, 1);
  EXPECT_EQ(paint().pixel(50, 60), line(13));
  sys().general.relief = 1;
  canton(105, 2, 0, 1, 0, 1);  // manual main: its fill is 19 in relief, the background
  EXPECT_EQ(paint().pixel(45, 45), fill(19));
}

// Arrows of an O-E track by speed sign and S+: "E" at the right edge, "O" at the left.
struct ArrowCase {
  int speed, sens;
  bool east, west;
};

const ArrowCase kArrows[] = {
    {10, 0, true, false},  {-10, 0, false, true}, {10, 1, false, true},
    {-10, 1, true, false}, {0, 0, false, false},  {10, -1, false, false},
};

TEST_F(PanelRenderTest, ArrowsFollowSpeedSignAndSense) {
  canton(1, -1, 0, 0, 0, 0);
  for (const ArrowCase& a : kArrows) {
    SCOPED_TRACE(testing::Message() << "speed " << a.speed << " S+ " << a.sens);
    put(0, 1, FAMILY_TRACK, 0, 1, a.sens);
    canton(1, -1, 0, 0, 0, 0, a.speed);
    const Surface s = paint();
    EXPECT_EQ(s.pixel(35, 58) == line(0), a.east);
    EXPECT_EQ(s.pixel(4, 58) == line(0), a.west);
  }
  sys().panels.rendu[3] = 0;  // the free row's arrow flag off
  put(0, 1, FAMILY_TRACK, 0, 1, 0);
  canton(1, -1, 0, 0, 0, 0, 10);
  EXPECT_EQ(paint().pixel(35, 58), fill(7));
}

TEST_F(PanelRenderTest, ATurnoutShowsOnlyItsStraightLegArrow) {
  put(1, 1, FAMILY_TURNOUT, 0, 2);  // branch NE, arrow only towards "O"
  canton(2, -1, 0, 0, 0, 0, 10);
  EXPECT_EQ(paint().pixel(75, 58), fill(7));
  canton(2, -1, 0, 0, 0, 0, -10);
  EXPECT_EQ(paint().pixel(44, 58), line(0));
}

// Dots where track leaves a cell for a cell of another canton.
TEST_F(PanelRenderTest, BoundaryDots) {
  struct DotCase {
    const char* name;
    int right_cant;
    int left_family, left_p2;
    bool dot;
  };
  const DotCase cases[] = {
      {"other canton", 2, FAMILY_TRACK, -1, true},
      {"same canton", 1, FAMILY_TRACK, -1, false},
      {"no canton", -1, FAMILY_TRACK, -1, false},
      {"neighbour's secondary track is this canton", 2, FAMILY_TRACK, 2, false},
  };
  for (const DotCase& d : cases) {
    SCOPED_TRACE(d.name);
    put(3, 3, d.left_family, 0, 1).f[CELL_P2] = d.left_p2;
    put(4, 3, FAMILY_TRACK, 0, d.right_cant);
    EXPECT_EQ(paint().pixel(160, 138) == line(0), d.dot);
  }
  // The corner test of the cell above against the cell to the left.
  put(6, 5, FAMILY_TRACK, 2, 1);  // SO corner-NE corner: leaves by its lower-left corner
  put(5, 6, FAMILY_TRACK, 0, 2);
  EXPECT_EQ(paint().pixel(240, 238), line(0));
}

TEST_F(PanelRenderTest, SecondaryTrackAndBridge) {
  TcoCell& c = put(2, 2, FAMILY_TRACK, 1, 1);  // N-S, then #1 = 305: curve O-S and bridge 3
  c.f[CELL_P1] = 305;
  c.f[CELL_P2] = 7;
  canton(7, -1, 0, 0, 0, 1);  // the secondary track's canton: a detection nobody owns
  sys().panels.rendu[4] = 4;  // ... drawn with a red rail
  const Surface s = paint();
  EXPECT_EQ(s.pixel(80 + 14, 80 + 26), line(4));  // on the curve about the SO corner
  EXPECT_EQ(s.pixel(80 + 10, 80 + 12), line(0));  // the parapets across the track
  EXPECT_EQ(s.pixel(80 + 10, 80 + 28), line(0));
  c.f[CELL_P1] = 1705;  // bridge 17 and a variant beyond 16: nothing more
  const Surface none = paint();
  EXPECT_EQ(none.pixel(80 + 10, 80 + 12), fill(7));
}

TEST_F(PanelRenderTest, SidingBlocksTakeTheirCantonAndUnknownNumbersNone) {
  sys().cantons.prev_garage_ass_canton[4] = 3;
  canton(3, -1, 0, 0, 0, 1);  // red fill
  put(1, 1, FAMILY_TRACK, 0, 1004);
  put(2, 1, FAMILY_TRACK, 0, 1040);
  put(3, 1, FAMILY_TRACK, 0, -1);
  const Surface s = paint();
  EXPECT_EQ(s.pixel(45, 45), fill(4));
  for (int dy = 0; dy < 40; ++dy)
    ASSERT_EQ(s.pixel(80 + 5, 40 + dy), s.pixel(120 + 5, 40 + dy)) << dy;
}

TEST_F(PanelRenderTest, TurnoutLampsAndPadlock) {
  TcoCell& t = put(1, 1, FAMILY_TURNOUT, 0, 2);
  t.f[CELL_P1] = 5;
  sys().aig.pos0_aig[5] = 1;
  const Surface s = paint();
  EXPECT_EQ(s.pixel(40 + 30, 40 + 27), fill(6));  // straight leg lit
  EXPECT_EQ(s.pixel(40 + 30, 40 + 5), fill(19));  // branch unlit
  EXPECT_EQ(s.pixel(40 + 4, 40 + 6), fill(7));    // no padlock
  sys().aig.pos0_aig[5] = 0;
  sys().aig.pos1_aig[5] = 1;
  sys().aig.aig_reserved[5] = 1;
  const Surface thrown = paint();
  EXPECT_EQ(thrown.pixel(40 + 30, 40 + 27), fill(19));
  EXPECT_EQ(thrown.pixel(40 + 30, 40 + 5), fill(6));
  EXPECT_EQ(thrown.pixel(40 + 4, 40 + 6), fill(4));
  t.f[CELL_P1] = 64;  // no such turnout: no lamp, lock or label
  const Surface unknown = paint();
  EXPECT_EQ(unknown.pixel(40 + 30, 40 + 27), fill(7));
  EXPECT_EQ(unknown.pixel(40 + 4, 40 + 6), fill(7));
}

TEST_F(PanelRenderTest, ThreeWayTurnoutLamps) {
  TcoCell& t = put(1, 1, FAMILY_TURNOUT, 2, 2);
  t.f[CELL_P1] = 1;
  t.f[CELL_P2] = 2;
  struct Case {
    int a0, a1, b0, b1;
    bool straight, first, second;
  };
  const Case cases[] = {{1, 0, 1, 0, true, false, false},
                        {0, 1, 1, 0, false, true, false},
                        {1, 0, 0, 1, false, false, true}};
  for (const Case& c : cases) {
    sys().aig.pos0_aig[1] = c.a0;
    sys().aig.pos1_aig[1] = c.a1;
    sys().aig.pos0_aig[2] = c.b0;
    sys().aig.pos1_aig[2] = c.b1;
    const Surface s = paint();
    EXPECT_EQ(s.pixel(40 + 30, 40 + 27) == fill(6), c.straight);
    EXPECT_EQ(s.pixel(40 + 30, 40 + 5) == fill(6), c.first);
    EXPECT_EQ(s.pixel(40 + 30, 40 + 35) == fill(6), c.second);
  }
}

TEST_F(PanelRenderTest, SignalLampsFromTheTextGrid) {
  TcoCell& c = put(1, 1, FAMILY_EQUIPMENT, 9, -1);
  set_cell_text(c, "1 0  2              ");
  c.f[CELL_V1] = 5400;
  c.f[CELL_V1 + 1] = 5401;
  c.f[CELL_C1] = 2;
  sys().logic.var[0] = 1;
  const Surface s = paint();
  EXPECT_EQ(s.pixel(40 + 5, 40 + 5), fill(2));    // lamp 1, lit in C1
  EXPECT_EQ(s.pixel(40 + 5, 40 + 11), fill(18));  // lamp 2 below it, unlit
  EXPECT_EQ(s.pixel(40 + 19, 40 + 5), fill(7));   // "0": no lamp
}

TEST_F(PanelRenderTest, LampsOfEquipmentAndControls) {
  put(1, 1, FAMILY_EQUIPMENT, 0, 3);                   // occupancy lamp
  put(2, 1, FAMILY_CONTROL, 6, -1).f[CELL_V1] = 5400;  // one lamp, big disc
  TcoCell& four = put(3, 1, FAMILY_CONTROL, 3, -1);    // four lamps, OPT 11, only V2
  four.f[CELL_OPT] = 11;
  four.f[CELL_V1 + 1] = 5401;
  put(4, 1, FAMILY_CONTROL, 6, -1).f[CELL_V1] = 9700;  // a variable the bus refuses
  canton(3, -1, 0, 0, 0, 1);
  sys().logic.var[0] = 1;
  sys().logic.var[1] = 1;
  const Surface s = paint();
  EXPECT_EQ(s.pixel(40 + 20, 40 + 15), fill(4));    // detection lamp on (rendu 32)
  EXPECT_EQ(s.pixel(80 + 20, 40 + 20), fill(2));    // lamp on (rendu 36)
  EXPECT_EQ(s.pixel(120 + 20, 40 + 15), fill(2));   // lamp 2 as a small disc
  EXPECT_EQ(s.pixel(120 + 20, 40 + 5), fill(7));    // lamp 1 not drawn
  EXPECT_EQ(s.pixel(160 + 20, 40 + 20), fill(10));  // refused: unlit (rendu 37)
  paint();
  EXPECT_EQ(t_.log().find("Erreur4"), t_.log().rfind("Erreur4"));  // logged once
  EXPECT_NE(t_.log().find("Var inconnue = 9700"), std::string::npos);
}

// An occupancy lamp with no canton is lit; one whose canton or siding names nothing detected is
// not, a siding fed by no canton included, unless it is isolated.
TEST_F(PanelRenderTest, OccupancyLampLitOnlyForADetectionAnIsolatedSidingOrNoCanton) {
  struct Case {
    const char* name;
    int cant;
    int state_lock;
    bool lit;
  };
  const Case cases[] = {
      {"no canton", -1, 0, true},
      {"a number naming no canton", 125, 0, false},
      {"a siding fed by no canton", 1005, 0, false},
      {"that siding isolated", 1005, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    put(1, 1, FAMILY_EQUIPMENT, 0, c.cant);
    sys().garage.state_lock[5] = c.state_lock;
    EXPECT_EQ(paint().pixel(40 + 20, 40 + 15) == fill(4), c.lit);
  }
}

// Every kind of block, fields set, mixed canton states: only palette colours on the panel.
TEST_F(PanelRenderTest, AFullPanelUsesPaletteColoursOnly) {
  for (const int relief : {0, 1}) {
    sys().general.relief = relief;
    for (int i = 0; i < kTcoColumns * kTcoRows; ++i) {
      const BlockKind& k = kBlockKinds[i % 60];
      TcoCell& c = put(i % kTcoColumns, i / kTcoColumns, k.family, k.variant, i % 16, i % 2);
      c.f[CELL_P1] = i % 7 == 0 ? 305 : i % 64;
      c.f[CELL_P2] = (i + 1) % 64;
      for (int v = 0; v < 4; ++v) c.f[CELL_V1 + v] = 5400 + (i + v) % 4;
      for (int v = 0; v < 4; ++v) c.f[CELL_C1 + v] = (i + v) % 24;
      c.f[CELL_OPT] = i % 30;
      set_cell_text(c, "1234 ABC DE 2  FGH 3");
    }
    for (int n = 0; n < 16; ++n)
      canton(n, n % 3 == 0 ? 1 : -1, n % 5 == 1, n % 5 == 2, n % 5 == 3, n % 2, n * 3 - 20);
    sys().logic.var[0] = 1;
    sys().logic.var[2] = 1;
    std::set<std::tuple<int, int, int>> palette;
    for (int i = 0; i < 40; ++i) {
      for (const Rgb c : {palette_text(i), palette_fill(i), palette_line(i)})
        palette.insert({c.r, c.g, c.b});
    }
    const Surface s = paint();
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const Rgb p = s.pixel(x, y);
        ASSERT_TRUE(palette.contains({p.r, p.g, p.b})) << x << "," << y;
      }
    }
  }
}

TEST_F(PanelRenderTest, OnlyTheCellsThatFitAreDrawn) {
  put(20, 1, FAMILY_TRACK, 0, -1);
  put(19, 1, FAMILY_TRACK, 0, -1);
  Surface small(801, 701);  // columns 0..20 fit
  sys().panels.rendu[28] = 7;
  put(21, 1, FAMILY_TRACK, 0, -1);
  paint_panel(sys(), small, 0);
  EXPECT_EQ(small.pixel(790, 60), line(0));
  const int before = sys().panels.blink;
  paint_panel(sys(), small, 0);
  EXPECT_EQ(sys().panels.blink, before + 1);
}

}  // namespace

namespace {

// The text-and-value bar: 38 x value / 1024 pixels, none outside 0..1203.
TEST_F(PanelRenderTest, TextAndValueBar) {
  put(1, 1, FAMILY_CONTROL, 9, -1).f[CELL_V1] = 5400;
  struct Case {
    int value;
    int last_lit;  // last column of the bar, -1 for none
  };
  for (const Case& c : {Case{512, 19}, Case{1023, 37}, Case{1500, -1}, Case{-3, -1}}) {
    SCOPED_TRACE(c.value);
    sys().logic.var[0] = c.value;
    const Surface s = paint();
    EXPECT_EQ(s.pixel(40 + 1, 40 + 38) == fill(21), c.last_lit >= 1);
    if (c.last_lit >= 1) {
      EXPECT_EQ(s.pixel(40 + c.last_lit, 40 + 38), fill(21));
      EXPECT_NE(s.pixel(40 + c.last_lit + 1, 40 + 38), fill(21));
    }
  }
}

}  // namespace

namespace {

// The halt and block lists of multi-function blocks 5, 6 and 56, and their inhibition.
TEST_F(PanelRenderTest, HaltAndBlockLists) {
  BlockState& b = sys().block;
  b.halt[0].canton = 3;
  b.halt[0].active = 1;
  b.halt[1].canton = 105;
  b.halt[1].active = 0;
  b.halt[2].canton = 7;
  b.halt[2].active = 1;
  b.cant[0].canton = 12;
  b.cant[0].state = 2;
  b.cant[1].canton = 14;  // a rule after the first undefined one is never reached
  b.cant[2].canton = 200;
  b.cant[2].state = 2;
  b.cant[1].canton = -1;
  struct Case {
    int opt;
    int inhibit_halt, inhibit_block;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {5, 0, 0, {"HLT", "C  3", "C  7"}},          {6, 0, 0, {"BLC", "C 12"}},
      {56, 0, 0, {"B-H", "C  3", "C  7", "C 12"}}, {6, 0, 1, {"BLC", "INHB"}},
      {5, 0, 1, {"HLT", "C  3", "C  7"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.opt);
    b.halt_inhibit = c.inhibit_halt;
    b.block_inhibit = c.inhibit_block;
    put(0, 0, FAMILY_CONTROL, 10, -1).f[CELL_OPT] = c.opt;
    Surface s(kWidth, kHeight);
    s.record_texts();
    paint_panel(sys(), s, 0);
    std::vector<std::string> texts;
    for (const DrawnText& t : s.drawn_texts()) texts.push_back(t.text);
    EXPECT_EQ(texts, c.texts);
  }
}

// Buttons, switches, route buttons and lamps show their text as 4 lines of 4 characters in
// dark blue; the text and value block keeps its own 3 lines and value.
TEST_F(PanelRenderTest, ControlsShowTheirText) {
  for (const int variant : {0, 1, 2, 3, 5, 6, 9}) {
    SCOPED_TRACE(variant);
    set_cell_text(put(0, 0, FAMILY_CONTROL, variant, -1), "ABCDEFGHIJKLMNOPQRST");
    Surface s(kWidth, kHeight);
    s.record_texts();
    paint_panel(sys(), s, 0);
    std::vector<std::string> texts;
    for (const DrawnText& t : s.drawn_texts())
      texts.push_back(std::to_string(t.y) + ":" + std::to_string(t.colour) + ":" + t.text);
    if (variant == 9) {
      EXPECT_EQ(texts[0], "0:5:ABCD");
      continue;
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"0:21:ABCD", "10:21:EFGH", "20:21:IJKL", "30:21:MNOP"}));
  }
}

}  // namespace
