// The blocks that show live state beyond the track: track equipment (family 3) and controls
// and indicators (family 2), and the pictograms.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/surface.h"
#include "core/system.h"
#include "panels/panel_interaction.h"
#include "panels/panel_kit.h"

namespace {

constexpr int kDarkBlue = 21;
constexpr int kLine = 10;  // small font line height

bool blink_bit(const System& sys, int bit) {
  return (sys.panels.blink >> bit) & 1;
}

std::string_view txt_line(const BlockCtx& c, int line) {
  return std::string_view(c.txt.data() + line * 4, 4);
}

// TXT as 4 lines of 4 characters.
void four_lines(BlockCtx& c, int colour) {
  for (int line = 0; line < 4; ++line) block_text(c, 0, line * kLine, txt_line(c, line), colour);
}

int or_default(int colour, int fallback) {
  return colour == -1 ? fallback : colour;
}

const auto& rendu(const BlockCtx& c) {
  return c.sys.panels.rendu;
}

// ---- Track equipment -------------------------------------------------------------------

// While a selection is pending, on blink bit 1: the source lamp (colour 20 while the button is
// held), and once it is released every unlit lamp a movement from the source could go to.
int selection_fill(const BlockCtx& c, bool lit) {
  const System& sys = c.sys;
  const PanelAction& a = sys.panels.action;
  if (sys.ticks.panel_countdown[kSelectionCountdown] <= 0 || !blink_bit(sys, 1)) return -1;
  if (c.b.cant == a.source) return a.selection_held ? 20 : rendu(c)[17];
  if (a.selection_held || lit || c.b.cant == -1) return -1;
  return movement_between(sys, a.source, c.b.cant) >= 0 ? rendu(c)[17] : -1;
}

// While the result shows, a frame around the source and destination cells: 20 for a split or
// join, 2 for a movement started, 4 on every other paint when nothing was done.
void result_frame(BlockCtx& c) {
  const System& sys = c.sys;
  const PanelAction& a = sys.panels.action;
  if (sys.ticks.panel_countdown[kResultCountdown] <= 0 || c.b.cant == -1) return;
  if (c.b.cant != a.source && c.b.cant != a.destination) return;
  const int colour = a.result == 2 ? 20 : a.result == 1 ? 2 : blink_bit(sys, 0) ? 4 : -1;
  if (colour < 0) return;
  c.s.select_line(colour);
  c.s.select_fill(-1);
  c.s.rectangle(c.x(1), c.y(1), c.x(40), c.y(40));
  c.s.rectangle(c.x(2), c.y(2), c.x(39), c.y(39));
}

void occupancy_lamp(BlockCtx& c) {
  const bool vertical = c.b.variant == 12;
  const bool lit = c.detected || c.isolated || c.b.cant == -1;
  const int left = vertical ? 12 : 5;
  const int top = vertical ? 6 : 12;
  const int right = vertical ? 29 : 36;
  const int bottom = vertical ? 35 : 29;
  lamp_rect(c, left, top, right, bottom, lit, rendu(c)[32], rendu(c)[33]);
  const int highlight = selection_fill(c, lit);
  if (highlight >= 0)
    c.s.fill_rect(c.x(left + 1), c.y(top + 1), c.x(right - 1), c.y(bottom - 1), highlight);
  result_frame(c);
  if (!lit || c.train < 0) return;
  const BlockState& bl = c.sys.block;
  const int t = c.train;
  const char* letters = bl.halt_flag[t] == 1    ? "HT"
                        : bl.bal_state[t] == 1  ? "RA"
                        : bl.bal_state[t] == 2  ? "BL"
                        : bl.vitmax_lim[t] != 0 ? "VM"
                                                : nullptr;
  if (!letters) return;
  if (vertical) {
    block_text(c, 16, 10, std::string_view(letters, 1), 7);
    block_text(c, 16, 20, std::string_view(letters + 1, 1), 7);
  } else {
    block_text(c, 10, 15, letters, 7);
  }
}

void uncoupler(BlockCtx& c) {
  const bool vertical = c.b.variant == 18;
  const int gap = var_on(c.sys, c.b.v[0]) ? 4 : 0;
  c.s.select_line(0);
  // Two hooks facing each other across the rail.
  for (int side = -1; side <= 1; side += 2) {
    const int d = side * (4 + gap / 2);
    if (vertical) {
      c.s.draw_line(c.x(20 + d), c.y(12), c.x(20 + d), c.y(29));
      c.s.draw_line(c.x(20 + d), c.y(12), c.x(20 + d - side * 3), c.y(12));
    } else {
      c.s.draw_line(c.x(12), c.y(20 + d), c.x(29), c.y(20 + d));
      c.s.draw_line(c.x(12), c.y(20 + d), c.x(12), c.y(20 + d - side * 3));
    }
  }
}

// The train's name as two halves, or " tNN" when it is not 8 characters; " PB "/"CAPT" while
// the train has a detection problem, on blink bit 2.
void train_lines(BlockCtx& c, int train) {
  if (train < 0) return;
  const System& sys = c.sys;
  if (train < 16 && sys.cantons.pb_capt_t[train] && blink_bit(sys, 2)) {
    block_text(c, 0, 20, " PB ", kDarkBlue);
    block_text(c, 0, 30, "CAPT", kDarkBlue);
    return;
  }
  const std::string& name = sys.trains.panel_name[train];
  if (name.size() == 8) {
    block_text(c, 0, 20, std::string_view(name).substr(0, 4), kDarkBlue);
    block_text(c, 0, 30, std::string_view(name).substr(4, 4), kDarkBlue);
    return;
  }
  char line[16];
  std::snprintf(line, sizeof line, " t%-2d", train);
  block_text(c, 0, 20, line, kDarkBlue);
}

void canton_information(BlockCtx& c) {
  System& sys = c.sys;
  char line[16];
  if (c.relief) draw_frame(sys, c.s, c.x(1), c.y(1), c.x(40), c.y(40), 20, -1);
  if (c.siding >= 0) {
    std::snprintf(line, sizeof line, "g%2d", c.siding);
    block_text(c, 0, 0, line, kDarkBlue);
    if (c.isolated) {
      const int t = sys.cantons.prev_garage_num_train[c.siding];
      if (t < 0 || t >= kTrainEntries) return;
      const std::string& name = sys.trains.panel_name[t];
      block_text(c, 0, 20, std::string_view(name).substr(0, std::min<size_t>(4, name.size())),
                 kDarkBlue);
      if (name.size() > 4) block_text(c, 0, 30, std::string_view(name).substr(4, 4), kDarkBlue);
      if (sys.trains.cons[t] != 0) {
        c.s.select_line(2);
        c.s.draw_line(c.x(2), c.y(39), c.x(38), c.y(39));
      }
      c.s.fill_rect(c.x(30), c.y(12), c.x(38), c.y(17), or_default(sys.trains.color[t], 0));
      return;
    }
    train_lines(c, c.train);
    c.s.fill_rect(c.x(30), c.y(12), c.x(38), c.y(17), 18);
    return;
  }
  if (c.b.cant != -1) {
    std::snprintf(line, sizeof line, "C%3d", c.b.cant);
    block_text(c, 0, 0, line, kDarkBlue);
  }
  if (c.slot < 0) return;
  const CantonTable& ct = sys.cantons;
  const char letter = ct.prev_Res2MANU[c.slot]   ? 's'
                      : ct.prev_ResvMANU[c.slot] ? 'S'
                      : ct.prev_ResvAUTO[c.slot] ? (c.detected ? 'A' : 'a')
                                                 : ' ';
  if (c.speed > 0) {
    std::snprintf(line, sizeof line, "%c+%2d", letter, c.speed);
  } else if (c.speed < 0) {
    std::snprintf(line, sizeof line, "%c%3d", letter, c.speed);
  } else {
    std::snprintf(line, sizeof line, "%c  0", letter);
  }
  block_text(c, 0, 10, line, kDarkBlue);
  train_lines(c, c.train);
}

void passage_sensor(BlockCtx& c) {
  const bool vertical = c.b.variant == 14;
  const bool lit = var_on(c.sys, c.b.v[0]);
  if (vertical) {
    lamp_rect(c, 26, 12, 34, 29, lit, rendu(c)[32], rendu(c)[33]);
  } else {
    lamp_rect(c, 12, 26, 29, 34, lit, rendu(c)[32], rendu(c)[33]);
  }
}

void occupancy_marker(BlockCtx& c) {
  const bool vertical = c.b.variant == 15;
  const int colour = c.detected ? rendu(c)[32] : rendu(c)[33];
  c.s.select_line(colour);
  c.s.select_fill(colour);
  if (vertical) {
    const int xy[6] = {c.x(26), c.y(14), c.x(26), c.y(26), c.x(32), c.y(20)};
    c.s.polygon(xy, 3);
  } else {
    const int xy[6] = {c.x(14), c.y(32), c.x(26), c.y(32), c.x(20), c.y(26)};
    c.s.polygon(xy, 3);
  }
  if (c.b.cant != -1 && c.b.v[0] != -1 && c.slot >= 0)
    block_var_write(c.sys, c.b.v[0], c.detected ? 1 : 0);
}

void imposed_direction(BlockCtx& c) {
  const bool vertical = c.b.variant == 16;
  const int perm = c.slot >= 0 ? c.sys.cantons.sens_perm[c.slot] : 0;
  bool plus = perm & 1;
  bool minus = perm & 2;
  if (c.sens == 1) std::swap(plus, minus);
  const int dim = c.relief ? 18 : 0;
  // The triangle pointing to the E (or N) end, then the one pointing to the other end.
  auto triangle = [&](bool to_plus, bool lit) {
    const int colour = lit ? 2 : dim;
    c.s.select_line(colour);
    c.s.select_fill(colour);
    int xy[6];
    if (vertical) {
      const int tip = to_plus ? 4 : 36, base = to_plus ? 12 : 28;
      const int p[6] = {20, tip, 15, base, 25, base};
      for (int i = 0; i < 6; ++i) xy[i] = i % 2 ? c.y(p[i]) : c.x(p[i]);
    } else {
      const int tip = to_plus ? 36 : 4, base = to_plus ? 28 : 12;
      const int p[6] = {tip, 20, base, 15, base, 25};
      for (int i = 0; i < 6; ++i) xy[i] = i % 2 ? c.y(p[i]) : c.x(p[i]);
    }
    c.s.polygon(xy, 3);
  };
  triangle(true, plus);
  triangle(false, minus);
  if (plus || minus) {
    c.s.fill_rect(c.x(18), c.y(18), c.x(23), c.y(23), 2);
  } else if (c.relief) {
    c.s.select_line(17);
    c.s.draw_line(c.x(16), c.y(16), c.x(16), c.y(25));
    c.s.draw_line(c.x(24), c.y(16), c.x(24), c.y(25));
  }
}

void buffer_stop(BlockCtx& c) {
  const int v = c.b.variant;
  const bool vertical = v == 10 || v == 11;
  // Buffer at the E side (6), O side (7), N side (10), S side (11).
  const bool at_start = v == 7 || v == 10;
  c.s.select_line(c.look.rail);
  if (vertical) {
    at_start ? rail_line(c, 20, 8, 20, 40) : rail_line(c, 20, 0, 20, 32);
    const int by = at_start ? 8 : 32;
    rail_line(c, 13, by, 27, by);
    track_arrow(c, "N", "S", at_start ? "S" : "N");
  } else {
    at_start ? rail_line(c, 8, 20, 40, 20) : rail_line(c, 0, 20, 32, 20);
    const int bx = at_start ? 8 : 32;
    rail_line(c, bx, 13, bx, 27);
    track_arrow(c, "E", "O", at_start ? "E" : "O");
  }
  int32_t value = 0;
  if (!block_var(c.sys, c.b.v[0], value) || (value != 0 && value != 1)) return;
  const int lx = vertical ? 27 : (at_start ? 2 : 33);
  const int ly = vertical ? (at_start ? 2 : 33) : 27;
  lamp_rect(c, lx, ly, lx + 7, ly + 7, value == 1, rendu(c)[32], rendu(c)[33]);
}

void clock_block(BlockCtx& c) {
  System& sys = c.sys;
  const ClockState& k = sys.clock;
  const bool blink = blink_bit(sys, 2);
  int fill = or_default(c.b.c[0], rendu(c)[28]);
  if (!k.running) fill = or_default(c.b.c[1], 4);
  if (k.running && k.blocked && blink) fill = or_default(c.b.c[2], 4);
  if (c.relief) fill = 19;
  c.s.select_line(0);
  draw_frame(sys, c.s, c.x(1), c.y(1), c.x(40), c.y(40), 0, fill);
  char line[16];
  std::snprintf(line, sizeof line, " J%d ", k.day);
  block_text(c, 0, 2, line, 0);
  std::snprintf(line, sizeof line, "%02d%02d", k.hour, k.minute);
  block_text(c, 0, 14, line, 0);
  if (!k.running) {
    block_text(c, 0, 27, "off", 0);
  } else if (k.blocked) {
    if (blink) block_text(c, 0, 27, "bloc", 4);
    if (blink) c.s.fill_rect(c.x(32), c.y(30), c.x(37), c.y(35), 4);
  } else {
    if (blink) {
      c.s.fill_rect(c.x(19), c.y(16), c.x(21), c.y(18), 0);
      c.s.fill_rect(c.x(19), c.y(20), c.x(21), c.y(22), 0);
    }
    c.s.fill_rect(c.x(32), c.y(30), c.x(37), c.y(35), 2);
  }
}

void trackside_signal(BlockCtx& c) {
  System& sys = c.sys;
  if (c.b.opt == 5) {
    const bool on = var_on(sys, c.b.v[0]) && blink_bit(sys, 1);
    c.s.select_line(0);
    c.s.draw_line(c.x(10), c.y(12), c.x(10), c.y(38));
    c.s.draw_line(c.x(30), c.y(12), c.x(30), c.y(38));
    const bool alternate = (sys.panels.blink >> 1) & 1;
    draw_disc(sys, c.s, c.x(10), c.y(8), 4, -1, on && alternate ? 4 : 18, 0);
    draw_disc(sys, c.s, c.x(30), c.y(8), 4, -1, on && !alternate ? 4 : 18, 0);
    return;
  }
  static constexpr int kRowTop[4] = {3, 9, 25, 31};
  int left = 40, right = 0, top = 40, bottom = 0;
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 5; ++col) {
      const char ch = c.txt[static_cast<size_t>(row * 5 + col)];
      if (ch < '1' || ch > '4') continue;
      const int k = ch - '1';
      int32_t value = 0;
      const bool lit = block_var(sys, c.b.v[k], value) && value >= 1;
      const int colour = lit ? or_default(c.b.c[k], rendu(c)[36]) : 18;
      const int lx = 3 + col * 7;
      const int ly = kRowTop[row];
      c.s.fill_rect(c.x(lx), c.y(ly), c.x(lx + 7), c.y(ly + 7), colour);
      left = std::min(left, lx);
      right = std::max(right, lx + 7);
      top = std::min(top, ly);
      bottom = std::max(bottom, ly + 7);
    }
  }
  if (c.b.opt < 1 || c.b.opt > 4 || left > right) return;
  c.s.select_line(0);
  const int mx = c.b.opt <= 2 ? left : right - 1;
  const int my = c.b.opt % 2 == 1 ? top : bottom - 1;
  const int towards = my < 20 ? 1 : -1;
  c.s.draw_line(c.x(mx), c.y(my), c.x(mx), c.y(20 - towards * 0));
}

// ---- Controls and indicators -------------------------------------------------------------

// The small lamp of a button at the block's top-left corner.
void small_lamp(BlockCtx& c, bool lit, int on = -1) {
  System& sys = c.sys;
  c.s.select_line(0);
  draw_frame(sys, c.s, c.x(2), c.y(2), c.x(9), c.y(9), lit ? 0 : 1,
             lit ? or_default(on, rendu(c)[38]) : rendu(c)[39]);
}

// Raised when the state is 0, pressed when 1, a plain outline otherwise.
void button_frame(BlockCtx& c, int state) {
  c.s.select_line(0);
  const int style = state == 0 ? 0 : state == 1 ? 1 : -1;
  draw_frame(c.sys, c.s, c.x(1), c.y(1), c.x(40), c.y(40), style, -1);
}

void pictogram_and_lamp(BlockCtx& c, int state) {
  if (c.b.opt != -1) {
    c.s.select_line(0);
    draw_pictogram(c.sys, c.s, c.b.x, c.b.y, c.b.c, c.b.opt);
  }
  if (c.b.opt < 1 || c.b.opt > 29) small_lamp(c, state == 1);
}

int value_or(System& sys, int n, int fallback) {
  int32_t v = 0;
  return block_var(sys, n, v) ? v : fallback;
}

void push_button(BlockCtx& c) {
  System& sys = c.sys;
  int state = -1;
  if (c.b.v[2] != -1) {
    state = (value_or(sys, c.b.v[2], 0) + 1) % 2;
  } else if (c.b.v[1] != -1) {
    state = value_or(sys, c.b.v[1], -1);
  }
  if (c.b.v[0] != -1) state = value_or(sys, c.b.v[0], state);
  button_frame(c, state);
  pictogram_and_lamp(c, state);
}

void switch_block(BlockCtx& c) {
  const int state = c.b.v[0] == -1 ? -1 : value_or(c.sys, c.b.v[0], -1);
  button_frame(c, state);
  c.s.select_line(0);
  c.s.draw_line(c.x(1), c.y(18), c.x(40), c.y(18));
  pictogram_and_lamp(c, state);
}

bool direct_route_start(const System& sys, int v1) {
  if (v1 < 6000 || v1 >= 6000 + kRoutes) return false;
  const ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(v1 - 6000)];
  return r[ITI_DEFINED] == 1 && r[ITI_MODE] == 0;
}

void route_button(BlockCtx& c) {
  System& sys = c.sys;
  const auto& v = c.b.v;
  bool lit;
  if (v[1] == -1 && v[2] == -1 && v[3] == -1) {
    lit = var_on(sys, v[0]);
  } else {
    lit = var_on(sys, v[2]) || (var_on(sys, v[3]) && blink_bit(sys, 1));
  }
  draw_disc(sys, c.s, c.x(20), c.y(20), 16, 0, c.b.opt == 1 ? rendu(c)[42] : rendu(c)[43], 0);
  const int style = direct_route_start(sys, v[0]) ? -1 : lit ? 0 : 1;
  draw_disc(sys, c.s, c.x(20), c.y(20), 12, style, lit ? rendu(c)[40] : rendu(c)[41], 0);
}

// A lamp of the lamp blocks: square with relief, plain square or disc.
enum class LampShape { None, Raised, Plain, Disc };

void lamp(BlockCtx& c, LampShape shape, int cx, int cy, int half, bool lit, int on, int off) {
  System& sys = c.sys;
  const int colour = lit ? on : off;
  c.s.select_line(0);
  switch (shape) {
    case LampShape::Raised:
      draw_frame(sys, c.s, c.x(cx - half), c.y(cy - half), c.x(cx + half + 1), c.y(cy + half + 1),
                 lit ? 0 : 1, colour);
      break;
    case LampShape::Plain:
      c.s.fill_rect(c.x(cx - half), c.y(cy - half), c.x(cx + half + 1), c.y(cy + half + 1), colour);
      break;
    case LampShape::Disc:
      draw_disc(sys, c.s, c.x(cx), c.y(cy), half, lit ? 0 : 1, colour, 0);
      break;
    case LampShape::None:
      break;
  }
}

void four_lamps(BlockCtx& c) {
  System& sys = c.sys;
  const auto& v = c.b.v;
  const int opt = c.b.opt;
  const LampShape shape = (opt <= 0 || opt == 10)   ? LampShape::Raised
                          : (opt == 1 || opt == 11) ? LampShape::Disc
                          : (opt == 2 || opt == 12) ? LampShape::Plain
                                                    : LampShape::None;
  const bool only_first = v[1] == -1 && v[2] == -1 && v[3] == -1;
  for (int k = 0; k < 4; ++k) {
    const bool drawn = v[k] != -1 || opt < 10 || (k == 0 && only_first);
    if (!drawn) continue;
    const bool lit = var_on(sys, v[k]);
    const int on = or_default(c.b.c[k], rendu(c)[36]);
    const int off = c.relief ? 19 : rendu(c)[37];
    lamp(c, shape, 20, 5 + k * 10, shape == LampShape::Disc ? 4 : 3, lit, on, off);
  }
}

// Lit when `on_var` reads 1, else blinking on bit 1 while `blink_var` reads non-zero.
bool lit_or_blinking(BlockCtx& c, int on_var, int blink_var) {
  int32_t value = 0;
  if (block_var(c.sys, on_var, value) && value == 1) return true;
  return var_on(c.sys, blink_var) && blink_bit(c.sys, 1);
}

void two_lamps(BlockCtx& c) {
  const auto& v = c.b.v;
  const int opt = c.b.opt;
  const LampShape shape = (opt == 1 || opt == 11)   ? LampShape::Raised
                          : (opt == 2 || opt == 12) ? LampShape::Plain
                                                    : LampShape::Disc;
  const bool first =
      v[0] != -1 || v[1] != -1 || opt < 10 || (v[1] == -1 && v[2] == -1 && v[3] == -1);
  const bool second = v[2] != -1 || v[3] != -1 || opt < 10;
  const int half = shape == LampShape::Disc ? 7 : 6;
  if (first) {
    lamp(c, shape, 20, 10, half, lit_or_blinking(c, v[0], v[1]), or_default(c.b.c[0], rendu(c)[36]),
         or_default(c.b.c[1], rendu(c)[37]));
  }
  if (second) {
    lamp(c, shape, 20, 30, half, lit_or_blinking(c, v[2], v[3]), or_default(c.b.c[2], rendu(c)[36]),
         or_default(c.b.c[3], rendu(c)[37]));
  }
}

void one_lamp(BlockCtx& c) {
  struct Shape {
    LampShape shape;
    int cy;
    int half;
  };
  static constexpr Shape kShapes[7] = {
      {LampShape::Disc, 20, 16},  {LampShape::Disc, 20, 8},   {LampShape::Disc, 10, 8},
      {LampShape::Raised, 20, 8}, {LampShape::Raised, 10, 8}, {LampShape::Plain, 20, 8},
      {LampShape::Plain, 10, 8},
  };
  const int opt = c.b.opt;
  const int index = opt == -1 ? 0 : opt >= 1 && opt <= 6 ? opt : -1;
  if (index < 0) return;
  const Shape& sh = kShapes[index];
  lamp(c, sh.shape, 20, sh.cy, sh.half, lit_or_blinking(c, c.b.v[0], c.b.v[1]),
       or_default(c.b.c[0], rendu(c)[36]), or_default(c.b.c[1], rendu(c)[37]));
}

void text_block(BlockCtx& c) {
  const int opt = c.b.opt;
  if (opt != -1) {
    c.s.select_line(0);
    draw_pictogram(c.sys, c.s, c.b.x, c.b.y, c.b.c, opt);
  }
  const bool c1_is_fill = opt >= 27 && opt <= 29;
  four_lines(c, c1_is_fill ? rendu(c)[31] : or_default(c.b.c[0], rendu(c)[31]));
}

void text_and_value(BlockCtx& c) {
  const int text_colour = or_default(c.b.c[0], rendu(c)[31]);
  for (int line = 0; line < 3; ++line)
    block_text(c, 0, line * kLine, txt_line(c, line), text_colour);
  int32_t value = 0;
  const bool defined = block_var(c.sys, c.b.v[0], value);
  char line[16];
  if (c.b.v[0] == -1) {
    std::snprintf(line, sizeof line, "0000");
  } else {
    std::snprintf(line, sizeof line, "%4d", defined ? value : -1);
  }
  block_text(c, 0, 30, line, or_default(c.b.c[2], kDarkBlue));
  if (defined && value >= 0 && value <= 1203) {
    const int length = std::min(38 * value / 1024, 38);
    c.s.fill_rect(c.x(1), c.y(38), c.x(1 + length), c.y(40), or_default(c.b.c[1], kDarkBlue));
  }
}

void screen_jump(BlockCtx& c) {
  System& sys = c.sys;
  const int colour = or_default(c.b.c[0], rendu(c)[31]);
  c.s.select_line(0);
  const int shape = c.b.p1;
  if (c.relief && (shape == 3 || shape == 4)) {
    draw_frame(sys, c.s, c.x(2), c.y(2), c.x(39), c.y(39), 0, 19);
    c.s.select_fill(0);
    const int head[6] = {c.x(30), c.y(20), c.x(24), c.y(15), c.x(24), c.y(25)};
    c.s.polygon(head, 3);
    if (shape == 3) {
      const int second[6] = {c.x(23), c.y(20), c.x(17), c.y(15), c.x(17), c.y(25)};
      c.s.polygon(second, 3);
    }
  } else {
    c.s.select_fill(c.relief && (shape == 1 || shape == 2) ? 19 : -1);
    const int arrow[14] = {c.x(2),  c.y(12), c.x(26), c.y(12), c.x(26), c.y(4), c.x(38),
                           c.y(20), c.x(26), c.y(36), c.x(26), c.y(28), c.x(2), c.y(28)};
    c.s.polygon(arrow, 7);
  }
  four_lines(c, colour);
  if (shape == 2) block_text(c, 0, 0, " GO", 0);
}

// The card and index of a servo command variable 8000..8005, 8100..8105 ...
bool servo_of(int v1, int& card, int& index) {
  if (v1 < 8000 || v1 > 8305 || (v1 - 8000) % 100 > 5) return false;
  card = (v1 - 8000) / 100;
  index = (v1 - 8000) % 100;
  return true;
}

void servo_command(BlockCtx& c) {
  System& sys = c.sys;
  block_text(c, 0, 0, "SRV", kDarkBlue);
  int card = 0;
  int index = 0;
  char line[16];
  const bool servo = servo_of(c.b.v[0], card, index);
  if (servo) {
    std::snprintf(line, sizeof line, "  %01d%01d", card, index);
  } else {
    std::snprintf(line, sizeof line, "  XY");
  }
  block_text(c, 0, 10, line, kDarkBlue);
  block_text(c, 0, 20, std::string_view(c.txt.data() + 8, 4), kDarkBlue);
  block_text(c, 0, 30, std::string_view(c.txt.data() + 12, 4), kDarkBlue);
  int32_t position = 0;
  const bool has_position = servo && block_var(sys, c.b.v[0] - 5200, position);
  if (has_position && position >= 0) {
    c.s.fill_rect(c.x(2), c.y(37), c.x(2 + std::min(36 * position / 1024, 36)), c.y(39), kDarkBlue);
  }
  const int p1 = c.b.p1;
  const int p2 = c.b.p2;
  const bool go_to = p1 == -1 && p2 != -1;
  bool reached = false;
  if (has_position) {
    if (p2 == -1) {
      reached = position == value_or(sys, c.b.v[0], -1);
    } else if (p1 != -1) {
      reached = position == p1 || position == p2;
    } else {
      reached = position == p2;
    }
  }
  c.s.select_line(0);
  const bool raised = go_to ? !reached : reached;
  draw_frame(sys, c.s, c.x(1), c.y(1), c.x(40), c.y(40), raised ? 0 : 1, -1);
  small_lamp(c, reached);
}

// ---- Multi-function blocks ---------------------------------------------------------------

struct MultiList {
  const char* title = "";
  std::array<std::string, 3> lines;
  int count = 0;
  void add(const std::string& line) {
    if (count < 3) lines[static_cast<size_t>(count++)] = line;
  }
};

std::string numbered(const char* format, int n) {
  char line[16];
  std::snprintf(line, sizeof line, format, n);
  return line;
}

// The frame looks pressed while the block is held down.
void draw_multi(BlockCtx& c, const MultiList& list, bool lamp_lit, int lamp_colour = -1) {
  block_text(c, 10, 0, list.title, kDarkBlue);
  c.s.select_line(0);
  c.s.draw_line(c.x(2), c.y(10), c.x(39), c.y(10));
  for (int i = 0; i < list.count; ++i)
    block_text(c, 0, 11 + i * 9, list.lines[static_cast<size_t>(i)], kDarkBlue);
  c.s.select_line(0);
  const int style = multi_function_held(c.sys, c.b.opt) ? 1 : 0;
  draw_frame(c.sys, c.s, c.x(1), c.y(1), c.x(40), c.y(40), style, -1);
  small_lamp(c, lamp_lit, lamp_colour);
}

// The cantons of the halt rules in force (the table ends at its first undefined rule).
void add_halts(const System& sys, MultiList& list) {
  for (const HaltRule& r : sys.block.halt) {
    if (r.canton == -1 || list.count == 3) return;
    if (r.active == 1) list.add(numbered("C%3d", r.canton));
  }
}

// The cantons of the block rules that stop a train.
void add_stopping_blocks(const System& sys, MultiList& list) {
  for (const CantRule& r : sys.block.cant) {
    if (r.canton == -1 || list.count == 3) return;
    if (r.state == 2) list.add(numbered("C%3d", r.canton));
  }
}

void multi_function(BlockCtx& c) {
  System& sys = c.sys;
  MultiList list;
  const bool blink2 = blink_bit(sys, 2);
  switch (c.b.opt) {
    case 1:
      list.title = "DPL";
      for (int n = 0; n < kMovements && list.count < 3; ++n)
        if (sys.depl.depl_record[static_cast<size_t>(n)][DEPL_STATE] != 0)
          list.add(numbered("D%3d", n));
      draw_multi(c, list, list.count > 0 && blink2);
      return;
    case 2:
      list.title = "ITI";
      for (int n = 0; n < kRoutes && list.count < 3; ++n)
        if (sys.iti.iti_record[static_cast<size_t>(n)][ITI_STATE] != 0)
          list.add(numbered("I%3d", n));
      draw_multi(c, list, list.count > 0 && blink2);
      return;
    case 3: {
      list.title = "AFF";
      int lost_train = -1;
      int orphan = -1;
      const bool armed = lost_train_candidate(sys, lost_train, orphan);
      if (armed) {
        const std::string& name = sys.trains.panel_name[lost_train];
        list.add(name.substr(0, std::min<size_t>(4, name.size())));
        list.add(name.size() > 4 ? name.substr(4, 4) : "");
        const int canton = canton_number(orphan);
        list.add(canton >= 100 ? numbered("C%1d", canton / 100) + numbered("%2d", canton % 100)
                               : numbered("C %2d", canton));
      }
      draw_multi(c, list, armed && blink2, 4);
      return;
    }
    case 4: {
      list.title = "STP";
      const bool on = sys.ticks.arret_urg_state == 1;
      if (on && blink2) c.s.fill_rect(c.x(1), c.y(1), c.x(40), c.y(40), 4);
      if (on) list.add("STOP");
      draw_multi(c, list, on, 4);
      return;
    }
    case 5:
    case 6:
    case 56: {
      const int opt = c.b.opt;
      list.title = opt == 5 ? "HLT" : opt == 6 ? "BLC" : "B-H";
      if (opt != 6) add_halts(sys, list);
      if (opt != 5) add_stopping_blocks(sys, list);
      const bool any = list.count > 0;
      const bool inhibited = opt == 5 ? sys.block.halt_inhibit == 1 : sys.block.block_inhibit == 1;
      if (inhibited) {
        // The list is written, then hidden: only the title and "INHB" remain.
        c.s.fill_rect(c.x(1), c.y(1), c.x(40), c.y(40), 10);
        list.count = 0;
        if (any) {
          list.add("");
          list.add("INHB");
        }
      }
      draw_multi(c, list, any);
      return;
    }
    case 7: {
      list.title = "CMD";
      draw_multi(c, list, false);
      const bool stop = sys.ticks.arret_urg_state == 1;
      int bars = 0;
      for (int t = 0; t < kTrainEntries && bars < 5; ++t) {
        const int speed = std::abs(sys.trains.cmd_speed[t]);
        if (speed <= 5) continue;
        const int height = std::min(24 * speed / 65, 28);
        const int colour = stop && blink_bit(sys, 0) && bars % 2 ? 4 : 18;
        c.s.fill_rect(c.x(5 + bars * 6), c.y(38 - height), c.x(10 + bars * 6), c.y(38), colour);
        ++bars;
      }
      return;
    }
    case 8:
      list.title = "INV";
      for (int s = 0; s < kCantons && list.count < 3; ++s) {
        const CantonTable& ct = sys.cantons;
        if ((ct.ResvMANU[s] || ct.Res2MANU[s]) && ct.Inverse[s])
          list.add(numbered("V%3d", canton_number(s)));
      }
      draw_multi(c, list, list.count > 0);
      return;
    default:
      draw_multi(c, list, false);
      return;
  }
}

}  // namespace

void draw_equipment(BlockCtx& c) {
  const int v = c.b.variant;
  // The clock has no rail; buffer stops draw their own up to the buffer.
  const bool own_rail = v == 6 || v == 7 || v == 8 || v == 10 || v == 11;
  if (!own_rail && v >= 0 && v <= 18) equipment_rail(c, v >= 12);
  switch (v) {
    case 0:
    case 12:
      occupancy_lamp(c);
      break;
    case 1:
    case 18:
      uncoupler(c);
      break;
    case 2:
    case 13:
      canton_information(c);
      break;
    case 3:
    case 14:
      passage_sensor(c);
      break;
    case 4:
    case 15:
      occupancy_marker(c);
      break;
    case 5:
    case 16:
      imposed_direction(c);
      break;
    case 6:
    case 7:
    case 10:
    case 11:
      buffer_stop(c);
      break;
    case 8:
      clock_block(c);
      break;
    case 9:
    case 17:
      trackside_signal(c);
      break;
    default:
      break;
  }
}

namespace {

// Buttons, switches, route buttons and lamps show their text as 4 lines of 4 characters in dark
// blue over their drawing; the other controls place their text themselves.
bool shows_plain_text(int variant) {
  return variant == 0 || variant == 1 || variant == 2 || variant == 3 || variant == 5 ||
         variant == 6;
}

}  // namespace

void draw_control(BlockCtx& c) {
  switch (c.b.variant) {
    case 0:
      push_button(c);
      break;
    case 1:
      switch_block(c);
      break;
    case 2:
      route_button(c);
      break;
    case 3:
      four_lamps(c);
      break;
    case 4:
      text_block(c);
      break;
    case 5:
      two_lamps(c);
      break;
    case 6:
      one_lamp(c);
      break;
    case 7:
      screen_jump(c);
      break;
    case 8:
      servo_command(c);
      break;
    case 9:
      text_and_value(c);
      break;
    case 10:
      multi_function(c);
      break;
    default:
      break;
  }
  if (shows_plain_text(c.b.variant)) four_lines(c, kDarkBlue);
}

void draw_pictogram(System&, Surface& s, int x, int y, const std::array<int, 4>& colours, int opt) {
  const int p = opt > 100 ? opt - 100 : opt;
  if (p < 1 || p > 29) return;
  auto line = [&](int x1, int y1, int x2, int y2) { s.draw_line(x + x1, y + y1, x + x2, y + y2); };
  auto box = [&](int l, int t, int r, int b) {
    s.select_fill(-1);
    s.rectangle(x + l, y + t, x + r, y + b);
  };
  if (p == 1) {  // loudspeaker
    box(10, 15, 16, 26);
    const int cone[8] = {x + 16, y + 15, x + 24, y + 8, x + 24, y + 33, x + 16, y + 26};
    s.select_fill(-1);
    s.polygon(cone, 4);
    line(28, 14, 31, 11);
    line(28, 20, 33, 20);
    line(28, 26, 31, 29);
  } else if (p == 2) {  // play sign
    const int tri[6] = {x + 13, y + 10, x + 29, y + 20, x + 13, y + 30};
    s.select_fill(-1);
    s.polygon(tri, 3);
  } else if (p == 3 || p == 4) {  // street lamps
    const int post = p == 3 ? 14 : 26;
    const int head = p == 3 ? 24 : 16;
    line(post, 36, post, 8);
    line(post, 8, head, 8);
    box(std::min(head, post + (p == 3 ? 6 : -6)), 9, std::max(head, post + (p == 3 ? 6 : -6)) + 1,
        13);
  } else if (p >= 5 && p <= 8) {  // outlined rectangles, whole and half blocks
    static constexpr int kRects[4][4] = {
        {4, 4, 37, 37}, {4, 4, 37, 20}, {4, 20, 37, 37}, {4, 4, 20, 37}};
    const int* r = kRects[p - 5];
    box(r[0], r[1], r[2], r[3]);
  } else if (p >= 9 && p <= 12) {  // hatched rectangles in colour 16
    static constexpr int kRects[4][4] = {
        {4, 4, 37, 37}, {4, 4, 37, 20}, {4, 20, 37, 37}, {4, 4, 20, 37}};
    const int* r = kRects[p - 9];
    s.select_line(16);
    box(r[0], r[1], r[2], r[3]);
    for (int k = r[0]; k < r[2]; k += 5)
      line(k, r[1], std::min(k + (r[3] - r[1]), r[2]), r[1] + std::min(r[3] - r[1], r[2] - k));
  } else if (p >= 13 && p <= 20) {  // house roofs, four orientations and two sizes
    const int k = (p - 13) % 4;
    const int depth = p <= 16 ? 12 : 18;
    static constexpr int kRoof[4][6] = {{2, 30, 20, 0, 38, 30},
                                        {2, 10, 20, 0, 38, 10},
                                        {10, 2, 0, 20, 10, 38},
                                        {30, 2, 40, 20, 30, 38}};
    const int* r = kRoof[k];
    line(r[0], r[1], r[2], k < 2 ? r[1] - depth : r[3]);
    line(r[2], k < 2 ? r[1] - depth : r[3], r[4], r[5]);
  } else if (p == 21 || p == 22) {  // houses
    const int base = p == 21 ? 18 : 22;
    box(8, base, 33, 37);
    line(6, base, 20, base - 12);
    line(20, base - 12, 35, base);
    box(17, 28, 24, 37);
  } else if (p >= 23 && p <= 26) {  // locomotives
    const bool right = p % 2 == 1;
    box(6, 16, 35, 29);
    box(right ? 25 : 8, 9, right ? 34 : 17, 16);
    s.select_fill(-1);
    s.ellipse(x + 9, y + 28, x + 16, y + 35);
    s.ellipse(x + 25, y + 28, x + 32, y + 35);
    if (p >= 25) line(6, 22, 35, 22);
  } else if (p == 27 || p == 28) {  // filled rectangles
    s.select_fill(colours[0] == -1 ? 18 : colours[0]);
    if (p == 27) {
      s.rectangle(x + 4, y + 4, x + 37, y + 37);
    } else {
      s.rectangle(x + 4, y + 12, x + 37, y + 29);
    }
  } else if (p == 29) {  // four parts in C1..C4
    static constexpr int kParts[4][4] = {
        {4, 4, 21, 21}, {20, 4, 37, 21}, {4, 20, 21, 37}, {20, 20, 37, 37}};
    for (int k = 0; k < 4; ++k) {
      s.select_fill(colours[static_cast<size_t>(k)] == -1 ? 18 : colours[static_cast<size_t>(k)]);
      s.rectangle(x + kParts[k][0], y + kParts[k][1], x + kParts[k][2], y + kParts[k][3]);
    }
  }
}
