#include "panels/panel_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/surface.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "panels/panel_kit.h"
#include "panels/panel_overlay.h"

namespace {

constexpr int kCell = kCellPixels;
constexpr int kMid = kCell / 2;

// ---- Canton state --------------------------------------------------------------------------

// The state row of rendu for a canton (start-of-tick copies of the reservations).
int state_row(const System& sys, int slot, bool detected) {
  const CantonTable& c = sys.cantons;
  if (c.prev_ResvAUTO[slot]) return detected ? 5 : 4;
  if (c.prev_ResvMANU[slot]) return 3;
  if (c.prev_Res2MANU[slot]) return 2;
  return detected ? 1 : 0;
}

int train_colour(const System& sys, int train) {
  return train >= 0 && train < kTrainEntries ? sys.trains.color[train] : -1;
}

// The canton of a block: CANT 0..315, or the associated canton of siding CANT - 1000.
void locate_canton(BlockCtx& c) {
  const System& sys = c.sys;
  int cant = c.b.cant;
  if (cant >= 1000 && cant < 1000 + kSidings) {
    c.siding = cant - 1000;
    c.isolated = sys.garage.state_lock[c.siding] == 1;
    cant = sys.cantons.prev_garage_ass_canton[c.siding];
  }
  c.slot = canton_slot(cant);
  if (c.slot < 0) return;
  c.detected = sys.io.det[c.slot] == 1;
  c.train = sys.cantons.prev_num_train[c.slot];
  if (c.train < 0 || c.train >= kTrainEntries) c.train = -1;
  c.speed = sys.cantons.Vitesse[c.slot];
}

// The train parked in the block's siding.
int parked_train(const BlockCtx& c) {
  const int t = c.sys.cantons.prev_garage_num_train[c.siding];
  return t >= 0 && t < kTrainEntries ? t : -1;
}

TrackLook look_of(BlockCtx& c) {
  System& sys = c.sys;
  const auto& rendu = sys.panels.rendu;
  TrackLook look;
  if (c.slot < 0) {
    look.rail = 0;
    look.shape_brush = rendu[29];
    return look;
  }
  const int row = state_row(sys, c.slot, c.detected);
  look.rail = resolve_colour(sys, rendu[row * 4], c.train, c.slot);
  look.fill = resolve_colour(sys, rendu[row * 4 + 1], c.train, c.slot);
  if (c.relief && (row == 0 || row == 3)) look.fill = 19;
  look.thick = rendu[row * 4 + 2] == 1;
  look.arrows = rendu[row * 4 + 3] == 1;
  look.shape_brush = look.fill;
  if (c.isolated) {
    look.rail = resolve_colour(sys, rendu[24], parked_train(c), c.slot);
    look.thick = rendu[26] == 1;
    look.arrows = false;
  }
  return look;
}

// ---- Cell background -----------------------------------------------------------------------

int background(const System& sys) {
  return sys.general.relief ? 19 : sys.panels.rendu[28];
}
int grid_colour(const System& sys) {
  return sys.general.relief ? 35 : sys.panels.rendu[30];
}

void draw_background(System& sys, Surface& s, const BlockArgs& b, bool overlay_open) {
  if (overlay_open) {
    s.fill_rect(b.x, b.y, b.x + kCell + 1, b.y + kCell + 1, background(sys));
    return;
  }
  if (b.x != 0 || b.y != 0) return;
  s.fill_rect(0, 0, kMaxDrawWidth, kMaxDrawHeight, background(sys));
  s.select_line(grid_colour(sys));
  for (int i = 0; i <= kTcoColumns; ++i) s.draw_line(i * kCell, 0, i * kCell, kMaxDrawHeight + 1);
  for (int j = 0; j <= kTcoRows; ++j) s.draw_line(0, j * kCell, kMaxDrawWidth + 1, j * kCell);
}

// The cell fill of families 0, 1 and 3 and of the canton-information inner square.
void fill_cell(BlockCtx& c) {
  System& sys = c.sys;
  int fill = c.look.fill;
  if (c.isolated) {
    fill = c.relief ? 19 : resolve_colour(sys, sys.panels.rendu[25], c.train, c.slot);
  }
  if (c.palette) fill = 7;
  if (fill != -1 && fill != background(sys)) {
    c.s.fill_rect(c.x(0), c.y(0), c.x(kCell + 1), c.y(kCell + 1), fill);
  }
  const BlockArgs& b = c.b;
  if (b.family == FAMILY_EQUIPMENT && (b.variant == 2 || b.variant == 13)) {
    int inner = c.slot < 0 && c.siding < 0 ? sys.panels.rendu[29] : fill;
    if (!c.isolated && c.slot >= 0 && (sys.panels.blink & 4) && sys.cantons.pb_capt_c[c.slot])
      inner = 4;
    if (inner != -1) c.s.fill_rect(c.x(2), c.y(2), c.x(kCell - 1), c.y(kCell - 1), inner);
  }
}

// ---- Track shapes --------------------------------------------------------------------------

struct Point {
  int x, y;
};
constexpr Point kO{0, kMid}, kE{kCell, kMid}, kN{kMid, 0}, kS{kMid, kCell}, kC{kMid, kMid};
constexpr Point kNE{kCell, 0}, kNO{0, 0}, kSE{kCell, kCell}, kSO{0, kCell};

// A track variant: up to two straight stretches (a, b then b, c) or a quarter curve, and its
// two ends for the arrows.
struct TrackShape {
  int points;  // 0 no track, 2 one stretch, 3 two stretches through the centre, -1 curve
  Point p[3];
  const char* plus;
  const char* minus;
};

const TrackShape kTrackShapes[19] = {
    {2, {kO, kE}, "E", "O"},
    {2, {kN, kS}, "N", "S"},
    {2, {kSO, kNE}, "NE", "SO"},
    {2, {kNO, kSE}, "SE", "NO"},
    {-1, {kS, kE, kSE}, "E", "S"},
    {-1, {kO, kS, kSO}, "S", "O"},
    {-1, {kN, kE, kNE}, "E", "N"},
    {-1, {kO, kN, kNO}, "N", "O"},
    {3, {kSO, kC, kE}, "E", "SO"},
    {3, {kO, kC, kSE}, "SE", "O"},
    {3, {kNO, kC, kE}, "E", "NO"},
    {3, {kO, kC, kNE}, "NE", "O"},
    {0, {}, "", ""},
    {3, {kSO, kC, kN}, "N", "SO"},
    {3, {kN, kC, kSE}, "SE", "N"},
    {3, {kNO, kC, kS}, "S", "NO"},
    {3, {kS, kC, kNE}, "NE", "S"},
    {2, {kO, kE}, "E", "O"},
    {2, {kN, kS}, "N", "S"},
};

// A quarter circle of radius 20 about a cell corner, joining two edge middles, drawn as short
// chords (dashed: every other pair of chords).
void curve(BlockCtx& c, const TrackShape& t, bool dashed) {
  constexpr int kChords = 8;
  const Point corner = t.p[2];
  const double ax = t.p[0].x - corner.x, ay = t.p[0].y - corner.y;
  const double bx = t.p[1].x - corner.x, by = t.p[1].y - corner.y;
  const int widths = c.look.thick ? 3 : 1;
  for (int k = 0; k < widths; ++k) {
    const double scale = (kMid + (widths == 3 ? k - 1 : 0)) / static_cast<double>(kMid);
    auto at = [&](int i, int& px, int& py) {
      const double a = M_PI / 2 * i / kChords;
      px = corner.x + static_cast<int>(std::lround(scale * (std::cos(a) * ax + std::sin(a) * bx)));
      py = corner.y + static_cast<int>(std::lround(scale * (std::cos(a) * ay + std::sin(a) * by)));
    };
    for (int i = 0; i < kChords; ++i) {
      if (dashed && i % 2 == 1) continue;
      int x1, y1, x2, y2;
      at(i, x1, y1);
      at(i + 1, x2, y2);
      c.s.draw_line(c.x(x1), c.y(y1), c.x(x2), c.y(y2));
    }
  }
}

void draw_shape(BlockCtx& c, const TrackShape& t, bool dashed) {
  if (t.points == 2) rail_line(c, t.p[0].x, t.p[0].y, t.p[1].x, t.p[1].y, dashed);
  if (t.points == 3) {
    rail_line(c, t.p[0].x, t.p[0].y, t.p[1].x, t.p[1].y, dashed);
    rail_line(c, t.p[1].x, t.p[1].y, t.p[2].x, t.p[2].y, dashed);
  }
  if (t.points == -1) curve(c, t, dashed);
}

// Three dashes and a short solid end (variants 17 and 18).
void dashed_end_track(BlockCtx& c, bool vertical) {
  for (int k = 0; k < 3; ++k) {
    const int a = k * 10;
    vertical ? rail_line(c, kMid, a, kMid, a + 6) : rail_line(c, a, kMid, a + 6, kMid);
  }
  vertical ? rail_line(c, kMid, 30, kMid, kCell) : rail_line(c, 30, kMid, kCell, kMid);
}

// Bridge parapets across the track, one of eight orientations.
void draw_bridge(BlockCtx& c, int kind) {
  Surface& s = c.s;
  s.select_line(c.sys.panels.rendu[0]);
  struct Pair {
    int x1, y1, x2, y2, dx, dy;
  };
  static constexpr Pair kBridges[8] = {
      {12, 8, 12, 33, 16, 0},   {6, 22, 22, 6, 12, 12}, {8, 12, 33, 12, 0, 16},
      {6, 18, 22, 34, 12, -12}, {4, 4, 14, 14, 0, 0},   {26, 4, 36, 14, 0, 0},
      {26, 36, 36, 26, 0, 0},   {4, 36, 14, 26, 0, 0},
  };
  const Pair& p = kBridges[kind - 1];
  if (kind <= 4) {
    s.draw_line(c.x(p.x1), c.y(p.y1), c.x(p.x2), c.y(p.y2));
    s.draw_line(c.x(p.x1 + p.dx), c.y(p.y1 + p.dy), c.x(p.x2 + p.dx), c.y(p.y2 + p.dy));
    return;
  }
  // The corner positions: two short parallel strokes by the corner.
  s.draw_line(c.x(p.x1), c.y(p.y1), c.x(p.x2), c.y(p.y2));
  const int ox = p.x1 < 20 ? 4 : -4;
  s.draw_line(c.x(p.x1 + ox), c.y(p.y1), c.x(p.x2 + ox), c.y(p.y2));
}

bool dashable(int variant) {
  return variant >= 0 && variant <= 7;
}

void draw_track_element(BlockCtx& c) {
  const BlockArgs& b = c.b;
  const int variant = b.variant;
  if (variant < 0 || variant > 18) return;
  c.s.select_line(c.look.rail);
  if (variant == 17 || variant == 18) {
    dashed_end_track(c, variant == 18);
  } else {
    draw_shape(c, kTrackShapes[variant], dashable(variant) && (b.opt == 1 || b.opt == 3));
  }
  if (variant != 12) track_arrow(c, kTrackShapes[variant].plus, kTrackShapes[variant].minus);
  const bool pictogram =
      b.opt >= 4 && b.opt <= 29 && (variant == 0 || variant == 1 || variant == 17 || variant == 18);
  if (pictogram) {
    c.s.select_line(c.look.rail);
    draw_pictogram(c.sys, c.s, b.x, b.y, b.c, b.opt);
  }
  if (b.p1 == -1) return;
  const int second = b.p1 % 100;
  const int bridge = b.p1 / 100;
  if (b.p1 >= 0 && second <= 16) {
    BlockCtx sub(c.sys, c.s, c.b);
    sub.relief = c.relief;
    sub.slot = canton_slot(b.p2);
    if (sub.slot >= 0) {
      sub.detected = c.sys.io.det[sub.slot] == 1;
      sub.train = c.sys.cantons.prev_num_train[sub.slot];
      if (sub.train < 0 || sub.train >= kTrainEntries) sub.train = -1;
    }
    sub.look = look_of(sub);
    c.s.select_line(sub.look.rail);
    const bool dashed = dashable(second) && b.opt >= 2 && !pictogram;
    if (second != 12) draw_shape(sub, kTrackShapes[second], dashed);
  }
  if (b.p1 >= 0 && bridge >= 1 && bridge <= 8) draw_bridge(c, bridge);
}

// ---- Turnouts ------------------------------------------------------------------------------

struct TurnoutShape {
  bool vertical;
  Point branch1;
  Point branch2;  // kC when the turnout has one branch
  const char* only_arrow;
  bool three_way;
};

const TurnoutShape kTurnoutShapes[10] = {
    {false, kNE, kC, "O", false}, {false, kSE, kC, "O", false}, {false, kNE, kSE, "O", true},
    {false, kNO, kC, "E", false}, {false, kSO, kC, "E", false}, {false, kNO, kSO, "E", true},
    {true, kNO, kC, "S", false},  {true, kNE, kC, "S", false},  {true, kSE, kC, "N", false},
    {true, kSO, kC, "N", false},
};

bool turnout_ok(int n) {
  return n >= 0 && n < kTurnouts;
}

// A small position lamp beside a leg.
void turnout_lamp(BlockCtx& c, Point at, bool lit) {
  lamp_rect(c, at.x - 3, at.y - 3, at.x + 4, at.y + 4, lit, c.sys.panels.rendu[34],
            c.sys.panels.rendu[35]);
}

// Where a leg's lamp sits: between the centre and the leg's end, off the rail.
Point lamp_at(Point end, bool vertical) {
  Point p{(kMid + end.x) / 2, (kMid + end.y) / 2};
  if (end.x != kMid && end.y != kMid) {  // a diagonal branch: beside it
    p = {(kMid + end.x * 3) / 4, (kMid + end.y * 3) / 4};
    return {p.x + (end.x == 0 ? 5 : -5), p.y};
  }
  return vertical ? Point{p.x + 7, p.y} : Point{p.x, p.y + 7};
}

void draw_padlock(BlockCtx& c, int dx, int dy) {
  Surface& s = c.s;
  s.select_line(0);
  s.select_fill(-1);
  s.rectangle(c.x(dx + 1), c.y(dy), c.x(dx + 5), c.y(dy + 3));
  s.fill_rect(c.x(dx), c.y(dy + 2), c.x(dx + 6), c.y(dy + 8), 4);
}

void draw_turnout(BlockCtx& c) {
  const BlockArgs& b = c.b;
  if (b.variant < 0 || b.variant > 9) return;
  const TurnoutShape& t = kTurnoutShapes[b.variant];
  const Point a = t.vertical ? kN : kO;
  const Point z = t.vertical ? kS : kE;
  c.s.select_line(c.look.rail);
  rail_line(c, a.x, a.y, z.x, z.y);
  rail_line(c, kMid, kMid, t.branch1.x, t.branch1.y);
  if (t.three_way) rail_line(c, kMid, kMid, t.branch2.x, t.branch2.y);
  track_arrow(c, t.vertical ? "N" : "E", t.vertical ? "S" : "O", t.only_arrow);

  const AigTable& aig = c.sys.aig;
  const int n1 = b.p1;
  const int n2 = b.p2;
  if (!turnout_ok(n1) || (t.three_way && !turnout_ok(n2))) return;
  // The straight leg's lamp on the side with no branch.
  const Point straight_end = Point{t.only_arrow[0] == 'O'   ? kE.x
                                   : t.only_arrow[0] == 'E' ? kO.x
                                                            : kMid,
                                   t.only_arrow[0] == 'N'   ? kS.y
                                   : t.only_arrow[0] == 'S' ? kN.y
                                                            : kMid};
  if (t.three_way) {
    const bool p0 = aig.pos0_aig[n1] == 1 && aig.pos0_aig[n2] == 1;
    const bool p1 = aig.pos1_aig[n1] == 1 && aig.pos0_aig[n2] == 1;
    const bool p2 = aig.pos0_aig[n1] == 1 && aig.pos1_aig[n2] == 1;
    turnout_lamp(c, lamp_at(straight_end, t.vertical), p0);
    turnout_lamp(c, lamp_at(t.branch1, t.vertical), p1);
    turnout_lamp(c, lamp_at(t.branch2, t.vertical), p2);
  } else {
    turnout_lamp(c, lamp_at(straight_end, t.vertical), aig.pos0_aig[n1] == 1);
    turnout_lamp(c, lamp_at(t.branch1, t.vertical), aig.pos1_aig[n1] == 1);
  }
  if (aig.aig_reserved[n1] || (t.three_way && aig.aig_reserved[n2])) draw_padlock(c, 2, 2);
  char label[16];
  const char* format = b.variant <= 2 ? "a%-2d " : b.variant <= 5 ? " a%-2d" : "a% -2d ";
  std::snprintf(label, sizeof label, format, n1);
  const int label_y = b.variant == 1 || b.variant == 4 || t.vertical ? 1 : 29;
  block_text(c, b.variant <= 2 ? 0 : 0, label_y, std::string_view(label, 4),
             c.sys.panels.rendu[31]);
  if (t.three_way) {
    std::snprintf(label, sizeof label, format, n2);
    block_text(c, 0, 1, std::string_view(label, 4), c.sys.panels.rendu[31]);
  }
}

// ---- Canton boundary dots ------------------------------------------------------------------

bool in_list(int v, std::initializer_list<int> list) {
  return std::find(list.begin(), list.end(), v) != list.end();
}

// A neighbour on the other side of a point where track leaves belongs to another canton.
bool other_canton(const TcoCell& here_side, const TcoCell& neighbour) {
  const int mine = here_side.f[CELL_CANT];
  const int theirs = neighbour.f[CELL_CANT];
  if (theirs == -1 || theirs == mine) return false;
  return !(neighbour.f[CELL_FAMILY] == FAMILY_TRACK && neighbour.f[CELL_P2] == mine);
}

bool kind_in(const TcoCell& c, std::initializer_list<int> turnouts,
             std::initializer_list<int> equipment, std::initializer_list<int> tracks) {
  const int v = c.f[CELL_VARIANT];
  switch (c.f[CELL_FAMILY]) {
    case FAMILY_TURNOUT:
      return in_list(v, turnouts);
    case FAMILY_EQUIPMENT:
      return in_list(v, equipment);
    case FAMILY_TRACK:
      return in_list(v, tracks);
    default:
      return false;
  }
}

void dot(Surface& s, int x, int y) {
  s.select_line(0);
  s.select_fill(0);
  s.ellipse(x - 3, y - 3, x + 4, y + 4);
}

void boundary_dots(System& sys, Surface& s, int panel, int x, int y) {
  const PanelState& ps = sys.panels;
  const TcoCell& here = ps.cell(panel, x, y);
  const int px = x * kCell;
  const int py = y * kCell;
  if (x > 0 && kind_in(here, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5, 6, 9}, {0, 5, 7, 9, 11, 17}) &&
      other_canton(here, ps.cell(panel, x - 1, y))) {
    dot(s, px, py + kMid);
  }
  if (y > 0 &&
      kind_in(here, {6, 7, 8, 9}, {11, 12, 13, 14, 15, 16, 17, 18}, {1, 6, 7, 13, 14, 18}) &&
      other_canton(here, ps.cell(panel, x, y - 1))) {
    dot(s, px + kMid, py);
  }
  if (x > 0 && y > 0 && kind_in(here, {3, 5, 6}, {}, {3, 10, 15}) &&
      other_canton(here, ps.cell(panel, x - 1, y - 1))) {
    dot(s, px, py);
  }
  if (x > 0 && y > 0) {
    const TcoCell& above = ps.cell(panel, x, y - 1);
    if (kind_in(above, {4, 5, 9}, {}, {2, 8, 13}) && other_canton(above, ps.cell(panel, x - 1, y)))
      dot(s, px, py);
  }
}

}  // namespace

// ---- Shared helpers ----------------------------------------------------------------------

bool block_var(System& sys, int n, int32_t& value) {
  if (n == -1) return false;
  if (var_readable(sys, n)) {
    value = var_read(sys, n);
    return true;
  }
  if (sys.panels.refused_read.insert(n).second) var_read(sys, n);  // logs Erreur4 once
  return false;
}

bool var_on(System& sys, int n) {
  int32_t v = 0;
  return block_var(sys, n, v) && v != 0;
}

void block_var_write(System& sys, int n, int value) {
  if (n == -1 || sys.panels.refused_write.contains(n)) return;
  if (var_write(sys, n, value) < 0) sys.panels.refused_write.insert(n);
}

int resolve_colour(System& sys, int value, int train, int slot) {
  if (value == 24) {
    const int colour = train_colour(sys, train);
    return train >= 0 ? colour : 24;
  }
  if (value == 25) return slot >= 0 ? sys.panels.cant_color[slot] : 25;
  return value;
}

void rail_line(BlockCtx& c, int x1, int y1, int x2, int y2, bool dashed) {
  // The far end is drawn too: the kit's lines stop one pixel short.
  const int ex = x2 + (x2 > x1) - (x2 < x1);
  const int ey = y2 + (y2 > y1) - (y2 < y1);
  const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
  const int offsets = c.look.thick ? 3 : 1;
  for (int k = 0; k < offsets; ++k) {
    const int d = offsets == 3 ? k - 1 : 0;
    const int ox = steep ? d : 0;
    const int oy = steep ? 0 : d;
    if (!dashed) {
      c.s.draw_line(c.x(x1 + ox), c.y(y1 + oy), c.x(ex + ox), c.y(ey + oy));
      continue;
    }
    // Four short segments of 4 pixels, 10 apart.
    for (int piece = 0; piece < 4; ++piece) {
      const int sx = x1 + (x2 - x1) * (piece * 10 + 3) / 40;
      const int sy = y1 + (y2 - y1) * (piece * 10 + 3) / 40;
      const int fx = x1 + (x2 - x1) * (piece * 10 + 7) / 40;
      const int fy = y1 + (y2 - y1) * (piece * 10 + 7) / 40;
      c.s.draw_line(c.x(sx + ox), c.y(sy + oy), c.x(fx + ox), c.y(fy + oy));
    }
  }
}

void draw_arrow(Surface& s, std::string_view dir, int x, int y) {
  struct Arrow {
    const char* dir;
    int p[6];
  };
  static constexpr Arrow kArrows[8] = {
      {"E", {39, 20, 33, 16, 33, 24}},  {"O", {1, 20, 7, 16, 7, 24}},  {"N", {20, 1, 16, 7, 24, 7}},
      {"S", {20, 39, 16, 33, 24, 33}},  {"NE", {39, 1, 31, 3, 37, 9}}, {"NO", {1, 1, 9, 3, 3, 9}},
      {"SE", {39, 39, 31, 37, 37, 31}}, {"SO", {1, 39, 9, 37, 3, 31}},
  };
  for (const Arrow& a : kArrows) {
    if (dir != a.dir) continue;
    const int xy[6] = {x + a.p[0], y + a.p[1], x + a.p[2], y + a.p[3], x + a.p[4], y + a.p[5]};
    s.polygon(xy, 3);
    return;
  }
}

void track_arrow(BlockCtx& c, std::string_view plus, std::string_view minus,
                 std::string_view only) {
  if (!c.look.arrows || c.isolated || c.speed == 0 || (c.sens != 0 && c.sens != 1)) return;
  const bool to_plus = (c.speed > 0) == (c.sens == 0);
  const std::string_view dir = to_plus ? plus : minus;
  if (!only.empty() && dir != only) return;
  c.s.select_line(c.look.rail);
  c.s.select_fill(c.look.rail);
  draw_arrow(c.s, dir, c.b.x, c.b.y);
}

void draw_frame(System& sys, Surface& s, int l, int t, int r, int b, int style, int fill) {
  if (fill != -1) s.fill_rect(l, t, r, b, fill);
  if (!sys.general.relief) {
    s.select_fill(-1);
    s.rectangle(l, t, r, b);
    return;
  }
  // Top and left, then bottom and right, outer then inner.
  auto edges = [&](int tl, int br, int inset) {
    s.select_line(tl);
    s.draw_line(l + inset, b - 1 - inset, l + inset, t + inset);
    s.draw_line(l + inset, t + inset, r - inset, t + inset);
    s.select_line(br);
    s.draw_line(l + inset, b - 1 - inset, r - inset, b - 1 - inset);
    s.draw_line(r - 1 - inset, t + inset, r - 1 - inset, b - inset);
  };
  switch (style) {
    case 0:
      edges(7, 16, 0);
      edges(18, 17, 1);
      break;
    case 1:
      edges(16, 7, 0);
      edges(17, 18, 1);
      break;
    case 20:
      edges(7, 17, 0);
      break;
    case 21:
      edges(17, 7, 0);
      break;
    case 10:
      edges(17, 16, 0);
      break;
    case 11:
      edges(16, 17, 0);
      break;
    case -1:
      s.select_fill(-1);
      s.rectangle(l, t, r, b);
      break;
    default:
      break;
  }
}

void draw_disc(System& sys, Surface& s, int cx, int cy, int radius, int style, int fill, int pen) {
  if (radius <= 0) return;
  const bool relief = sys.general.relief;
  if (relief) s.select_line(17);
  if (pen != -1) s.select_line(pen);
  if (fill != -1 && fill != -2) s.select_fill(fill);
  if (fill != -2) s.ellipse(cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
  if (!relief) return;
  // A ring: the upper-left half in one colour, the lower-right half in the other.
  auto ring = [&](int r, int upper_left, int lower_right) {
    const int l = cx - r, t = cy - r, rr = cx + r + 1, bb = cy + r + 1;
    s.select_line(upper_left);
    s.arc(l, t, rr, bb, cx + r, cy - r, cx - r, cy + r);
    s.select_line(lower_right);
    s.arc(l, t, rr, bb, cx - r, cy + r, cx + r, cy - r);
  };
  switch (style) {
    case 0:
      ring(radius, 18, 17);
      ring(radius + 1, 7, 16);
      break;
    case 1:
      ring(radius, 17, 18);
      ring(radius + 1, 16, 7);
      break;
    case 10:
      ring(radius, 17, 16);
      break;
    case 11:
      ring(radius, 16, 17);
      break;
    case 20:
      ring(radius, 7, 17);
      break;
    case 21:
      ring(radius, 17, 7);
      break;
    default:
      break;
  }
}

void lamp_rect(BlockCtx& c, int l, int t, int r, int b, bool lit, int on, int off) {
  System& sys = c.sys;
  if (lit) {
    c.s.select_line(0);
    draw_frame(sys, c.s, c.x(l), c.y(t), c.x(r), c.y(b), 0, on);
    return;
  }
  c.s.fill_rect(c.x(l), c.y(t), c.x(r), c.y(b), off);
  c.s.select_line(c.relief ? 17 : 0);
  c.s.select_fill(-1);
  c.s.rectangle(c.x(l), c.y(t), c.x(r), c.y(b));
}

void block_text(BlockCtx& c, int dx, int dy, std::string_view text, int colour) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return;
  c.s.select_font(Font::Small);
  c.s.set_text_colour(colour);
  c.s.draw_text(c.x(dx), c.y(dy), text);
}

void equipment_rail(BlockCtx& c, bool vertical) {
  c.s.select_line(c.look.rail);
  vertical ? rail_line(c, kMid, 0, kMid, kCell) : rail_line(c, 0, kMid, kCell, kMid);
  vertical ? track_arrow(c, "N", "S") : track_arrow(c, "E", "O");
}

BlockArgs cell_block(const TcoCell& cell, int x, int y) {
  const auto& f = cell.f;
  BlockArgs b;
  b.family = f[CELL_FAMILY];
  b.variant = f[CELL_VARIANT];
  b.x = x;
  b.y = y;
  b.text = std::string_view(cell.txt.data(), kCellText);
  b.cant = f[CELL_CANT];
  b.p1 = f[CELL_P1];
  b.p2 = f[CELL_P2];
  for (int i = 0; i < 4; ++i) {
    b.v[static_cast<size_t>(i)] = f[CELL_V1 + i];
    b.c[static_cast<size_t>(i)] = f[CELL_C1 + i];
  }
  b.opt = f[CELL_OPT];
  b.sens = f[CELL_SENS];
  return b;
}

void draw_block(System& sys, Surface& s, const BlockArgs& b, bool overlay_open) {
  draw_background(sys, s, b, overlay_open);
  BlockCtx c(sys, s, b);
  c.txt.fill(' ');
  c.txt[kCellText] = '\0';
  b.text.substr(0, kCellText).copy(c.txt.data(), std::min<size_t>(b.text.size(), kCellText));
  c.relief = sys.general.relief;
  c.palette = b.sens == -10;
  c.sens = c.palette ? -1 : b.sens;
  const bool tracked =
      b.family == FAMILY_TRACK || b.family == FAMILY_TURNOUT || b.family == FAMILY_EQUIPMENT;
  if (tracked) {
    locate_canton(c);
    c.look = look_of(c);
    fill_cell(c);
  }
  switch (b.family) {
    case FAMILY_TRACK:
      draw_track_element(c);
      break;
    case FAMILY_TURNOUT:
      draw_turnout(c);
      break;
    case FAMILY_EQUIPMENT:
      draw_equipment(c);
      break;
    case FAMILY_CONTROL:
      draw_control(c);
      break;
    default:
      break;
  }
}

void paint_panel(System& sys, Surface& s, int panel) {
  if (panel < 0 || panel >= kTcoPanels) return;
  ++sys.panels.blink;
  const int columns = std::min(kTcoColumns - 1, s.width() / kCell);
  const int rows = std::min(kTcoRows - 1, s.height() / kCell);
  const char overlay = sys.screen.panel_mode;
  const bool open = overlay_open(sys);
  for (int x = 0; x <= columns; ++x) {
    for (int y = 0; y <= rows; ++y) {
      if (overlay_hides_cell(overlay, x, y)) continue;
      draw_block(sys, s, cell_block(sys.panels.cell(panel, x, y), x * kCell, y * kCell), open);
      boundary_dots(sys, s, panel, x, y);
    }
  }
  paint_overlay(sys, s);
}
