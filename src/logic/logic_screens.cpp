#include "logic/logic_screens.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "core/var_bus.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kBlue = 13, kRed = 4, kSilver = 18, kBrown = 11, kViolet = 5,
              kGreenGround = 34, kOrangeGround = 10, kDarkGreenGround = 15;

std::string seconds(int ticks) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", ticks * static_cast<double>(kTickMs) / 1000.0);
  return text;
}

// ---- Truth tables (31) ---------------------------------------------------------------------

constexpr int kListTop = 70;
constexpr int kListRow = 20;
constexpr int kListRows = 25;
constexpr int kListX[] = {2, 270, 540};
constexpr int kBoxLeft = 30;
constexpr int kBoxWidth = 30;
constexpr int kBoxHeight = 20;
constexpr int kBoxesPerRow = 25;
constexpr int kBoxTop[] = {652, 674};
constexpr int kTableLegendTop = 574;

bool table_exists(const System& sys, int t) {
  return t >= 0 && t < kTdvTables && sys.tdv.start[static_cast<size_t>(t)] >= 0;
}

bool table_on(const System& sys, int t) {
  return t >= 0 && t < kTdvTables && sys.tdv.on[static_cast<size_t>(t)] == 1;
}

int current_table(System& sys) {
  int32_t& t = sys.logicscreen.table;
  if (t < 0 || t >= kTdvTables) t = 0;
  return t;
}

// The three lists of a table: init pairs, inputs, outputs, each up to 25 entries.
struct TableLists {
  std::string line[3][kListRows];
  int count[3] = {0, 0, 0};
  void add(int list, std::string text) {
    if (count[list] < kListRows) line[list][count[list]++] = std::move(text);
  }
};

TableLists table_lists(System& sys, int t) {
  TableLists lists;
  const TdvLogic& tdv = sys.tdv;
  const int32_t length = std::clamp(tdv.length, 0, kProgramMax);
  int32_t stop = length;
  if (t + 1 < kTdvTables && tdv.start[static_cast<size_t>(t + 1)] >= 0) {
    stop = std::min(stop, tdv.start[static_cast<size_t>(t + 1)]);
  }
  auto item = [&](int32_t k) { return tdv.prog[static_cast<size_t>(k)]; };
  int list = -1;
  for (int32_t k = std::max(tdv.start[static_cast<size_t>(t)], 0); k < stop; ++k) {
    const int32_t v = item(k);
    if (v == kOpInit) {
      list = 0;
    } else if (v == kOpIn) {
      list = 1;
    } else if (v == kOpOut) {
      list = 2;
    } else if (v >= kOpcodeBase) {
      if (v == kOpRow || v == kOpEnd) break;
      list = -1;
    } else if (list == 0 && k + 1 < stop && item(k + 1) < kOpcodeBase) {
      lists.add(0, var_label(sys, item(k + 1)) + (v == kCodeSet ? " = 1" : " = 0"));
      ++k;
    } else if (list > 0) {
      lists.add(list, var_label(sys, v) + format(" = %d", var_read(sys, v)));
    }
  }
  return lists;
}

void table_redraw(System& sys, Surface& s) {
  s.fill_rect(0, kListTop, 800, kListTop + kListRows * kListRow - 1, kWhite);
  const int t = current_table(sys);
  if (!table_exists(sys, t) || !table_on(sys, t)) return;
  const TableLists lists = table_lists(sys, t);
  s.set_text_colour(kBlack);
  for (int list = 0; list < 3; ++list) {
    for (int row = 0; row < lists.count[list]; ++row) {
      s.draw_text_fit(kListX[list], kListTop + row * kListRow, lists.line[list][row],
                      (list < 2 ? kListX[list + 1] : 800) - kListX[list] - 2);
    }
  }
}

void table_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  const int t = current_table(sys);
  s.set_text_colour(kBlack);
  s.draw_text_fit(2, 28,
                  table_on(sys, t)
                      ? format("Numéro de la table en cours = %d, table à 'ON' ", t)
                      : format("Numéro de la table en cours = %d, !!! table à 'OFF' !!! table à "
                               "'OFF'!!!",
                               t),
                  796);
  const char* heads[] = {"Variables initialisées", "Variables d'entrées", "Variables de sorties"};
  for (int list = 0; list < 3; ++list) s.draw_text(kListX[list], 50, heads[list]);
  draw_legend_box(s, kTableLegendTop, " CLIC-DROIT :AFFICHE LA TABLE SUIVANTE [1-50]");
  int valid = 0;
  int running = 0;
  for (int k = 0; k < kTdvTables; ++k) {
    valid += table_exists(sys, k);
    running += table_exists(sys, k) && table_on(sys, k);
  }
  char text[160];
  std::snprintf(text, sizeof text, "Nombre de tables valides = %d  en fonction = %d", valid,
                running);
  s.draw_text(2, 598, text);
  std::snprintf(text, sizeof text,
                "Nombre d'éléments dans toutes les tables et équations = %d (%d éléments "
                "maximum)",
                sys.tdv.length, kProgramMax);
  s.draw_text_fit(2, 614, text, 796);
  s.draw_text_fit(2, 634,
                  " CLIQUEZ sur une case pour un accès direct à la table n° (rouge=à off):", 796);
  for (int k = 0; k < kTdvTables; ++k) {
    const int left = kBoxLeft + (k % kBoxesPerRow) * kBoxWidth;
    const int top = kBoxTop[k / kBoxesPerRow];
    s.select_line(kBlack);
    s.select_fill(kWhite);
    s.rectangle(left, top, left + kBoxWidth + 1, top + kBoxHeight + 1);
    if (!table_exists(sys, k)) continue;
    s.set_text_colour(table_on(sys, k) ? kBlue : kRed);
    s.draw_text(left + 5, top + 3, format("%2d", k));
  }
  table_redraw(sys, s);
}

void next_table(System& sys) {
  const int next = current_table(sys) + 1;
  sys.logicscreen.table = next < kTdvTables && table_exists(sys, next) ? next : 0;
  sys.host.request_repaint();
}

void table_press(System& sys, const ScreenInfo& info) {
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  if (in_close_box(info, sys.screen.client_width, x, y)) {
    show_screen(sys, sys.screen.last_panel);
    return;
  }
  if (in_legend_box(kTableLegendTop, x, y)) {
    next_table(sys);
    return;
  }
  for (int row = 0; row < 2; ++row) {
    if (y < kBoxTop[row] || y > kBoxTop[row] + kBoxHeight || x < kBoxLeft) continue;
    const int column = (x - kBoxLeft) / kBoxWidth;
    const int t = row * kBoxesPerRow + column;
    if (column < kBoxesPerRow && table_exists(sys, t)) {
      sys.logicscreen.table = t;
      sys.host.request_repaint();
    }
  }
}

// ---- Pulses (48) ---------------------------------------------------------------------------

constexpr int kPulseTop = 32;
constexpr int kPulseRow = 16;
constexpr int kPulseLeft = 44;
constexpr int kPulseColumn = 68;
constexpr int kPulseRight = 800;

// Columns: number, state, five durations, variables.
int pulse_column_x(int column) {
  return column == 0 ? 0 : kPulseLeft + (column - 1) * kPulseColumn;
}

bool is_on_phase(int state) {
  return state == kPulseFirstOn || state == kPulseSecondOn;
}

void draw_pulse(System& sys, Surface& s, int p) {
  const PulseTable& pt = sys.tdv.pulse;
  const size_t i = static_cast<size_t>(p);
  const int y = kPulseTop + p * kPulseRow;
  const int state = pt.state[i];
  const bool defined = pt.defined[i] != 0;
  if (state != kPulseIdle) s.fill_rect(0, y, kPulseRight, y + kPulseRow, kGreenGround);
  s.set_text_colour(defined ? kBlue : kSilver);
  s.draw_text(4, y + 1, format("%3d", p));
  if (!defined) return;
  s.set_text_colour(kBlack);
  if (state >= kPulseFirstPause && state <= kPulseLastPause) {
    const int x = pulse_column_x(1 + state);
    s.fill_rect(x, y, x + kPulseColumn, y + kPulseRow,
                is_on_phase(state) ? kOrangeGround : kDarkGreenGround);
    s.draw_text(pulse_column_x(1) + 2, y + 1,
                format("%2d", state) + (is_on_phase(state) ? " ON" : " OFF"));
  }
  for (int phase = 0; phase < kPulseTimes; ++phase) {
    s.draw_text(pulse_column_x(2 + phase) + 2, y + 1,
                seconds(pt.time[i][static_cast<size_t>(phase)]));
  }
  std::string vars;
  for (int32_t v : {pt.var1[i], pt.var2[i]}) {
    if (v < 0) continue;
    if (!vars.empty()) vars += "    ";
    vars += var_label(sys, v);
  }
  const int x = pulse_column_x(7) + 2;
  s.draw_text_fit(x, y + 1, vars, kPulseRight - x - 2);
}

void pulse_redraw(System& sys, Surface& s) {
  s.fill_rect(0, kPulseTop, kPulseRight, kPulseTop + kPulses * kPulseRow, kWhite);
  s.select_font(Font::Text);
  for (int p = 0; p < kPulses; ++p) draw_pulse(sys, s, p);
}

void pulse_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  const char* heads[] = {"  n°",  "Etat", "Pause", "On",
                         "Pause", "On",   "Pause", "Variables activées par l'impulsion"};
  s.set_text_colour(kBlack);
  for (int c = 0; c < 8; ++c) {
    const int x = pulse_column_x(c) + 2;
    s.draw_text_fit(x, 17, heads[c], c == 7 ? kPulseRight - x - 2 : kPulseColumn - 3);
  }
  const char* legends[] = {
      "Section '#tdv'+'pulse:'",
      "CLIQUEZ sur une ligne pour activer l'impulsion.",
      "Permet de programmer une série de deux impulsions de durée 'On' sur une ou deux sorties.",
      "Pause, On, Pause, On, Pause = Temps secondes ( = 95msec * nb tick).",
  };
  for (int k = 0; k < 4; ++k) s.draw_text_fit(2, 550 + 16 * k, legends[k], 796);
  s.fill_rect(2, 618, 40, 634, kGreenGround);
  s.draw_text(50, 618, "LIGNE VERTE = Impulsion en cours.");
  pulse_redraw(sys, s);
}

void pulse_press(System& sys, const ScreenInfo& info) {
  if (frame_left_press(sys, info, -1)) return;
  const int y = sys.screen.press_y;
  if (y < kPulseTop) return;
  const int p = (y - kPulseTop) / kPulseRow;
  if (p < kPulses && sys.tdv.pulse.defined[static_cast<size_t>(p)]) {
    var_write(sys, 8500 + p, 1);
  }
}

// ---- Variables (25-27) ---------------------------------------------------------------------

constexpr int kVarColumns = 8;
constexpr int kVarRowsPerColumn = 30;
constexpr int kVarColumnWidth = 99;
constexpr int kVarNumberWidth = 44;
constexpr int kVarHeadTop = 16;
constexpr int kVarTop = 32;
constexpr int kVarRow = 16;
constexpr int kVarPage = kVarColumns * kVarRowsPerColumn;  // 240
constexpr int kDebugFirst = 450;
constexpr int kUserBase = 5400;
constexpr int kSpecialBase = 9100;
constexpr int kLegendTops[] = {520, 544};
constexpr int kLastVarPage = 27;

struct VarCell {
  bool shown;
  int number;  // label index or internal number
  int value;
  int colour;
};

VarCell var_cell(System& sys, int page, int column, int row) {
  const bool internal = sys.logicscreen.internal != 0;
  if (page == kLastVarPage && column >= kVarColumns / 2) {
    const int k = (column - kVarColumns / 2) * kVarRowsPerColumn + row;
    if (k >= kSpecialVars) return {false, 0, 0, 0};
    return {true, internal ? kSpecialBase + k : k, sys.special.sv[static_cast<size_t>(k)], kViolet};
  }
  const int index = (page - 25) * kVarPage + column * kVarRowsPerColumn + row;
  if (index < 0 || index >= kUserVars) return {false, 0, 0, 0};
  return {true, internal ? kUserBase + index : index, sys.logic.var[static_cast<size_t>(index)],
          index >= kDebugFirst ? kBrown : kBlue};
}

void variables_redraw(System& sys, Surface& s, int page) {
  s.fill_rect(1, kVarTop, 1 + 791, kVarTop + 480, kWhite);
  s.fill_rect(1, 568, 1 + 798, 568 + 34, kWhite);
  s.select_font(Font::Text);
  for (int c = 0; c < kVarColumns; ++c) {
    for (int r = 0; r < kVarRowsPerColumn; ++r) {
      const VarCell cell = var_cell(sys, page, c, r);
      if (!cell.shown) continue;
      const int x = c * kVarColumnWidth;
      const int y = kVarTop + r * kVarRow;
      s.set_text_colour(cell.colour);
      s.draw_text_fit(x + 2, y, format("%4d", cell.number), kVarNumberWidth - 3);
      if (cell.value == 0) continue;
      s.set_text_colour(kBlack);
      s.draw_text_fit(x + kVarNumberWidth + 2, y, format("%5d", cell.value),
                      kVarColumnWidth - kVarNumberWidth - 3);
    }
  }
  if (page > 25) {
    s.set_text_colour(kBrown);
    s.draw_text_fit(2, 570,
                    "AFFICHE LES VARIABLES DE DEBUG DES CANTONS EN MARRON 'var_450' à 'var_599' "
                    "(Voir Doc ZIR)",
                    796);
  }
  if (page == kLastVarPage) {
    s.set_text_colour(kViolet);
    s.draw_text(2, 586, "AFFICHE LES VARIABLES SPECIALES 'special_var_xxx' EN VIOLET");
  }
}

void variables_paint(System& sys, Surface& s, const ScreenInfo& info, int page) {
  frame_paint(s, info);
  draw_legend_box(s, kLegendTops[0],
                  " CLIC-DROIT :AFFICHE LES PAGES 1->2->3, [000-239]->[240-479]->[480-599]");
  draw_legend_box(s, kLegendTops[1],
                  "    CLIC    :AFFICHE LES N° de VARIABLE [var_xxx ou special_var_xxx]<->[n° "
                  "INTERNE]");
  s.set_text_colour(kBlack);
  for (int c = 0; c < kVarColumns; ++c) {
    s.draw_text_fit(c * kVarColumnWidth + 2, kVarHeadTop, "n°VAR", kVarNumberWidth - 3);
    s.draw_text_fit(c * kVarColumnWidth + kVarNumberWidth + 2, kVarHeadTop, "VALEUR",
                    kVarColumnWidth - kVarNumberWidth - 3);
  }
  variables_redraw(sys, s, page);
}

void variables_press(System& sys, const ScreenInfo& info) {
  if (frame_left_press(sys, info, kLegendTops[0])) return;
  sys.logicscreen.internal ^= 1;
  sys.host.request_repaint();
}

}  // namespace

void truth_table_screen(System& sys, Surface& s, int mode) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      table_paint(sys, s, *info);
      break;
    case kRedraw:
      table_redraw(sys, s);
      break;
    case kLeftPress:
      table_press(sys, *info);
      break;
    case kRightPress:
      next_table(sys);
      break;
    default:
      break;
  }
}

void pulse_screen(System& sys, Surface& s, int mode) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      pulse_paint(sys, s, *info);
      break;
    case kRedraw:
      pulse_redraw(sys, s);
      break;
    case kLeftPress:
      pulse_press(sys, *info);
      break;
    default:
      break;
  }
}

void variables_screen(System& sys, Surface& s, int mode) {
  const int page = sys.screen.screen_mode;
  table_screen_call(
      sys, mode, [&](const ScreenInfo& info) { variables_paint(sys, s, info, page); },
      [&](const ScreenInfo&) { variables_redraw(sys, s, page); },
      [&](const ScreenInfo& info) { variables_press(sys, info); });
}
