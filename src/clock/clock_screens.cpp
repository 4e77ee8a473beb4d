#include "clock/clock_screens.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "core/var_bus.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kGrey = 17, kRed = 4;
constexpr int kGreenGround = 34, kOrangeGround = 10, kBlueGround = 22, kRedGround = 30;

constexpr int kClockScreen = 17;
constexpr int kVibScreen = 18;
constexpr int kFirstExeScreen = 45;
constexpr int kFirstHoroScreen = 49;
constexpr int kListTop = 32;  // 32 rows a page, 16 pixels each
constexpr int kListRow = 16;
constexpr int kListRows = 32;
constexpr int kListWidth = 1100;
constexpr int kHeadTop = 17;
constexpr int kTicMax = 10000;  // the reader's own limit
constexpr int kDepl0 = 6500;    // depl_start_run_0
constexpr int kExe0 = 8400;     // exe_0

struct Box {
  int x, y, w, h;
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// A button or a cell: outlined in black over its ground, the text centred (narrowed when it is
// wider than the box).
void box_text(Surface& s, const Box& b, int ground, const std::string& text, int colour = kBlack) {
  s.select_line(kBlack);
  s.select_fill(ground);
  s.rectangle(b.x, b.y, b.x + b.w, b.y + b.h);
  if (text.empty()) return;
  const int x = b.x + std::max(2, (b.w - drawn_characters(text) * kCharWidth) / 2);
  s.set_text_colour(colour);
  s.draw_text_fit(x, b.y + (b.h - 15) / 2 + 1, text, b.x + b.w - 2 - x);
}

void fill_box(Surface& s, const Box& b) {
  s.fill_rect(b.x, b.y, b.x + b.w, b.y + b.h, kWhite);
}

// Lines of static text, one under the other.
void text_lines(Surface& s, int x, int y, int step, std::initializer_list<const char*> lines,
                int room) {
  s.set_text_colour(kBlack);
  for (const char* line : lines) {
    s.draw_text_fit(x, y, line, room);
    y += step;
  }
}

const ScreenInfo& info_of(const System& sys) {
  return *screen_info(sys.screen.screen_mode);
}

HoroAction& action(System& sys, int n) {
  return sys.clock.horo[static_cast<size_t>(n)];
}

// ---- The clock's controls, on the clock screen and under the timetable -------------------

// Every action idle, not inhibited, without block time.
void reset_actions(ClockState& c) {
  for (HoroAction& a : c.horo) {
    a[HORO_STATE] = 0;
    a[HORO_INHIBITED] = 0;
    a[HORO_BLOCK_H] = -1;
    a[HORO_BLOCK_M] = -1;
  }
}

void stop_movements(System& sys) {
  for (DeplRecord& r : sys.depl.depl_record) {
    if (r[DEPL_STATE] != DEPL_IDLE) r[DEPL_STOP_REQUEST] = 1;
  }
}

// The clock back at its start time with a whole minute to go; the timetable starts afresh and
// the movements it started are stopped.
void restart_clock(System& sys) {
  ClockState& c = sys.clock;
  c.day = c.start_day;
  c.hour = c.start_hour;
  c.minute = c.start_minute;
  c.countdown = c.tic_par_min;
  reset_actions(c);
  stop_movements(sys);
}

// Cleaning on runs the clock from the start time with its first minute due at once; off stops it.
void toggle_cleaning(System& sys) {
  ClockState& c = sys.clock;
  c.cleaning = c.cleaning ? 0 : 1;
  restart_clock(sys);
  c.running = c.cleaning;
  if (c.cleaning) c.countdown = 0;
}

enum ClockButton { kInit, kRunning, kCleaning, kBlocked, kClockButtons };

constexpr const char* kClockButtonHeads[kClockButtons] = {
    "Init horloge", "Etat horloge", "Nettoyage du réseau", "Si clic Affiche Liste"};

struct ButtonFace {
  const char* text;
  int ground;
};

ButtonFace clock_button_face(const ClockState& c, int button) {
  switch (button) {
    case kInit:
      return {"INITIALISATION", kWhite};
    case kRunning:
      return c.running ? ButtonFace{"EN MARCHE", kGreenGround}
                       : ButtonFace{"A L'ARRÊT", kRedGround};
    case kCleaning:
      return c.cleaning ? ButtonFace{"NETTOYAGE ON", kOrangeGround}
                        : ButtonFace{"NETTOYAGE OFF", kWhite};
    default:
      return c.blocked ? ButtonFace{"BLOQUÉE", kOrangeGround} : ButtonFace{"PAS BLOQUÉE", kWhite};
  }
}

// The four buttons in a row: `boxes` gives their places on each screen.
void draw_clock_buttons(System& sys, Surface& s, const Box (&boxes)[kClockButtons]) {
  const Box& last = boxes[kClockButtons - 1];
  s.fill_rect(boxes[0].x, boxes[0].y, last.x + last.w, last.y + last.h, kWhite);
  for (int b = 0; b < kClockButtons; ++b) {
    const ButtonFace face = clock_button_face(sys.clock, b);
    box_text(s, boxes[b], face.ground, face.text);
  }
}

// A press on one of the four buttons; the last one shows `other_screen`. False when the press
// is on none of them.
bool press_clock_buttons(System& sys, const Box (&boxes)[kClockButtons], int other_screen) {
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  int button = 0;
  while (button < kClockButtons && !boxes[button].contains(x, y)) ++button;
  switch (button) {
    case kInit:
      restart_clock(sys);
      break;
    case kRunning:
      sys.clock.running = sys.clock.running ? 0 : 1;
      break;
    case kCleaning:
      toggle_cleaning(sys);
      break;
    case kBlocked:
      show_screen(sys, other_screen);
      return true;
    default:
      return false;
  }
  sys.host.request_repaint();
  return true;
}

// ---- Clock screen (17) ---------------------------------------------------------------------

constexpr int kGridLeft = 180;
constexpr int kGridTop = 140;
constexpr int kGridColumn = 89;  // day, hour, minute, tic/mn
constexpr int kGridRow = 20;     // two rows of buttons, the values, two rows of buttons
constexpr Box kGridArea{kGridLeft, kGridTop, 360, 101};  // redrawn at every tick
constexpr Box kCommentsHead{1, 321, 720, 16};            // redrawn at every tick
constexpr int kValueRow = 2;
constexpr int kFiguresTop = 245;
constexpr int kFigureRow = 15;
constexpr int kCommentsTop = 340;
constexpr int kClockButtonTop = 440;
constexpr int kClockButtonHeadTop = 422;

constexpr Box kClockScreenButtons[kClockButtons] = {{20, kClockButtonTop, 184, 21},
                                                    {212, kClockButtonTop, 184, 21},
                                                    {404, kClockButtonTop, 184, 21},
                                                    {596, kClockButtonTop, 184, 21}};

enum GridColumn { kDayColumn, kHourColumn, kMinuteColumn, kTicColumn, kGridColumns };

struct GridButton {
  const char* text;
  int column;
  int step;
};

// By grid row (0, 1, 3, 4) then column.
constexpr GridButton kGridButtons[4][kGridColumns] = {
    {{"J+2", kDayColumn, 2},
     {"H+5", kHourColumn, 5},
     {"M+5", kMinuteColumn, 5},
     {"tic/mn +5", kTicColumn, 5}},
    {{"J+1", kDayColumn, 1},
     {"H+1", kHourColumn, 1},
     {"M+1", kMinuteColumn, 1},
     {"tic/mn +1", kTicColumn, 1}},
    {{"J-1", kDayColumn, -1},
     {"H-1", kHourColumn, -1},
     {"M-1", kMinuteColumn, -1},
     {"tic/mn -1", kTicColumn, -1}},
    {{"J-2", kDayColumn, -2},
     {"H-5", kHourColumn, -5},
     {"M-5", kMinuteColumn, -5},
     {"tic/mn -5", kTicColumn, -5}},
};

int button_row_to_grid(int k) {
  return k < kValueRow ? k : k + 1;
}

Box grid_box(int grid_row, int column) {
  return {kGridLeft + column * kGridColumn, kGridTop + grid_row * kGridRow, kGridColumn + 1,
          kGridRow + 1};
}

void clock_grid_redraw(System& sys, Surface& s) {
  const ClockState& c = sys.clock;
  fill_box(s, kGridArea);
  for (int k = 0; k < 4; ++k) {
    for (const GridButton& b : kGridButtons[k]) {
      box_text(s, grid_box(button_row_to_grid(k), b.column), kWhite, b.text);
    }
  }
  box_text(s, grid_box(kValueRow, kDayColumn), kWhite, format("%d", c.day));
  const Box hour = grid_box(kValueRow, kHourColumn);
  box_text(s, {hour.x, hour.y, 2 * kGridColumn + 1, hour.h}, kWhite,
           format("%02d:%02d", c.hour, c.minute));
  box_text(s, grid_box(kValueRow, kTicColumn), kWhite, format("%d", c.tic_par_min));
}

void clock_comments_head(Surface& s) {
  fill_box(s, kCommentsHead);
  s.set_text_colour(kBlack);
  s.draw_text_fit(kCommentsHead.x + 1, kCommentsHead.y,
                  "Commentaires, section #horo, sur les conditions de départ des déplacements "
                  "automatiques :",
                  kCommentsHead.w - 2);
}

void clock_redraw(System& sys, Surface& s) {
  clock_grid_redraw(sys, s);
  clock_comments_head(s);
  draw_clock_buttons(sys, s, kClockScreenButtons);
}

void clock_figures(System& sys, Surface& s) {
  const int n = sys.clock.tic_par_min;
  const std::string lines[] = {
      format("Durée du Timer 'tic'  : %d msec", kTickMs),
      format("Nb de 'tics' pour 1mn : %d * Timer ci-dessus", n),
      format("1 heure  réelle       : %3d heures ZIR", 60000 / (kTickMs * n)),
      format("1 heure  ZIR          : %3d mn réelles", kTickMs * n / 1000),
      format("1 jour   ZIR          : %3d mn réelles", 24 * kTickMs * n / 1000),
  };
  s.set_text_colour(kBlack);
  int y = kFiguresTop;
  for (const std::string& line : lines) {
    s.draw_text(180, y, line);
    y += kFigureRow;
  }
}

void clock_paint(System& sys, Surface& s) {
  frame_paint(s, info_of(sys));
  text_lines(s, 2, 24, 16,
             {"L'horloge déclenche des actions comme les déplacements.",
              "Le nombre de tics pour faire une minute réelle est défini dans 'config.txt' "
              "section '#horo'.",
              "Timer = 265 msec en V2.0 ou 95 msec en V3.",
              "L'horloge peut être bloquée en attente d'un événement (Arrivée d'un train...)."},
             796);
  s.draw_text(120, 104, "Numéro jour(lundi=J0)");
  s.draw_text(395, 104, "Nombre de tic/minute");
  s.draw_text(260, 120, "Horloge ZIR  (HH:MM)");
  clock_figures(sys, s);
  s.set_text_colour(kBlack);
  for (int k = 0; k < kHoroComments; ++k) {
    s.draw_text_fit(20, kCommentsTop + k * 16,
                    cp1252_to_utf8(sys.clock.comments[static_cast<size_t>(k)]), 776);
  }
  for (int b = 0; b < kClockButtons; ++b) {
    const Box& box = kClockScreenButtons[b];
    s.draw_text_fit(box.x, kClockButtonHeadTop, kClockButtonHeads[b], box.w);
  }
  clock_redraw(sys, s);
}

// Day, hour and minute stay within their ranges: no carry from one to the next.
void step_clock(System& sys, int column, int step) {
  ClockState& c = sys.clock;
  switch (column) {
    case kDayColumn:
      c.day = std::clamp(c.day + step, 0, 6);
      break;
    case kHourColumn:
      c.hour = std::clamp(c.hour + step, 0, 23);
      break;
    case kMinuteColumn:
      c.minute = std::clamp(c.minute + step, 0, 59);
      break;
    default:
      set_tic_par_min(sys, c.tic_par_min + step);
      break;
  }
}

void clock_press(System& sys) {
  if (frame_left_press(sys, info_of(sys), -1)) return;
  if (press_clock_buttons(sys, kClockScreenButtons, kFirstHoroScreen)) return;
  for (int k = 0; k < 4; ++k) {
    for (const GridButton& b : kGridButtons[k]) {
      if (!grid_box(button_row_to_grid(k), b.column)
               .contains(sys.screen.press_x, sys.screen.press_y))
        continue;
      step_clock(sys, b.column, b.step);
      sys.host.request_repaint();
      return;
    }
  }
}

// ---- Timetable list (49-56) ----------------------------------------------------------------

enum HoroColumn {
  kNumber,
  kState,
  kInhibit,
  kStart,
  kEnd,
  kPeriod,
  kBlockTime,
  kBlockKind,
  kBlockValue,
  kCondition,
  kEntries,
  kHoroColumns
};

struct Column {
  const char* head;
  int x, w;
};

constexpr Column kHoroColumnDefs[kHoroColumns] = {
    {"  n°", 0, 40},
    {" Etat", 40, 55},
    {" Inh", 95, 45},
    {"Départ", 140, 75},
    {"  Fin", 215, 55},
    {" Période", 270, 85},
    {" Blocage", 355, 85},
    {"He/De_B", 440, 75},
    {"Temp_B", 515, 65},
    {"Variable_Blocage=Etat", 580, 215},
    {" Actions à lancer (2 affichées sur 6 maxi)", 795, kListWidth - 795},
};

constexpr int kHoroLegendTop = 582;
constexpr int kHoroClockX = 940;
constexpr int kHoroClockY = 610;
constexpr int kHoroButtonTop = 559;

constexpr Box kHoroButtons[kClockButtons] = {{470, kHoroButtonTop, 135, 21},
                                             {615, kHoroButtonTop, 135, 21},
                                             {760, kHoroButtonTop, 135, 21},
                                             {905, kHoroButtonTop, 135, 21}};

int first_action(const System& sys) {
  return (sys.screen.screen_mode - kFirstHoroScreen) * kListRows;
}

std::string hours_minutes(int32_t h, int32_t m) {
  if (h == -1) return "--:--";
  return format("%02d:", h) + (m == -1 ? std::string("--") : format("%02d", m));
}

std::string day_prefix(int32_t day) {
  switch (day) {
    case -1:
      return "  ";
    case HORO_WEEKDAYS:
      return "s:";
    case HORO_WEEKEND:
      return "w:";
    case HORO_CLEANING:
      return "n:";
    default:
      return format("%1d:", day);
  }
}

int horo_ground(const HoroAction& a) {
  if (a[HORO_INHIBITED]) return kBlueGround;
  if (a[HORO_STATE] == 2) return kOrangeGround;
  if (a[HORO_STATE] == 1) return kGreenGround;
  return kWhite;
}

// A movement whose start request `var` is, or -1.
int started_movement(int32_t var) {
  return var >= kDepl0 && var < kDepl0 + kMovements ? var - kDepl0 : -1;
}

std::string entries_text(System& sys, const HoroAction& a) {
  std::string text;
  for (int k = 0; k < 2; ++k) {
    const int32_t var = a[static_cast<size_t>(HORO_ENTRIES + 2 * k + 1)];
    if (var == -1) break;
    text +=
        var_label(sys, var) + (a[static_cast<size_t>(HORO_ENTRIES + 2 * k)] == 1 ? ".1 " : ".0 ");
  }
  const int movement = started_movement(a[HORO_ENTRIES + 1]);
  if (a[HORO_ENTRIES] == 1 && movement >= 0) {
    text += format("d%3d = ", movement) + sys.depl.name[static_cast<size_t>(movement)];
  }
  return text;
}

std::string horo_cell(System& sys, const HoroAction& a, int column) {
  const bool blocks = a[HORO_HB_MODE] != -1;
  switch (column) {
    case kState:
      return a[HORO_STATE] == 1 ? "At-Bl" : a[HORO_STATE] == 2 ? "Blqué" : "";
    case kInhibit:
      return a[HORO_INHIBITED] ? " Inh" : "";
    case kStart:
      return day_prefix(a[HORO_DAY]) + hours_minutes(a[HORO_HD_H], a[HORO_HD_M]);
    case kEnd:
      return a[HORO_DAY] == HORO_CLEANING ? "train nettoyage"
                                          : hours_minutes(a[HORO_HF_H], a[HORO_HF_M]);
    case kPeriod:
      return a[HORO_DAY] == HORO_CLEANING ? "" : hours_minutes(a[HORO_HI_H], a[HORO_HI_M]);
    case kBlockTime:
      return a[HORO_BLOCK_H] == -1 ? "" : hours_minutes(a[HORO_BLOCK_H], a[HORO_BLOCK_M]);
    case kBlockKind:
      return !blocks ? "" : a[HORO_HB_MODE] == 0 ? "heure" : "délai";
    case kBlockValue:
      return blocks ? hours_minutes(a[HORO_HB_H], a[HORO_HB_M]) : "";
    case kCondition:
      if (a[HORO_VF_SENSE] == -1 || a[HORO_VF_VAR] == -1) return "";
      return var_label(sys, a[HORO_VF_VAR]) + (a[HORO_VF_SENSE] == 0 ? "=1" : "=0");
    default:
      return entries_text(sys, a);
  }
}

void draw_horo_row(System& sys, Surface& s, int row) {
  const int n = first_action(sys) + row;
  const int y = kListTop + row * kListRow;
  if (n >= kHoroActions) return;
  const HoroAction& a = action(sys, n);
  const bool defined = sys.clock.defined(n);
  if (defined) s.fill_rect(0, y, kListWidth, y + kListRow, horo_ground(a));
  s.set_text_colour(defined ? kBlack : kGrey);
  s.draw_text(0, y + 1, format("%3d", n));
  if (!defined) return;
  s.set_text_colour(kBlack);
  for (int c = kState; c < kHoroColumns; ++c) {
    const Column& col = kHoroColumnDefs[c];
    // "train nettoyage" runs across the end and the period.
    const int room = c == kEnd && a[HORO_DAY] == HORO_CLEANING
                         ? col.w + kHoroColumnDefs[kPeriod].w - 2
                         : col.w - 2;
    const std::string text = horo_cell(sys, a, c);
    if (!text.empty()) s.draw_text_fit(col.x, y + 1, text, room);
  }
}

void horo_redraw(System& sys, Surface& s) {
  s.fill_rect(0, kListTop, kListWidth, kListTop + kListRows * kListRow, kWhite);
  for (int row = 0; row < kListRows; ++row) draw_horo_row(sys, s, row);
  const ClockState& c = sys.clock;
  s.fill_rect(kHoroClockX, kHoroClockY, kHoroClockX + 70, kHoroClockY + 15, kWhite);
  s.set_text_colour(kBlack);
  s.draw_text(kHoroClockX, kHoroClockY, format("%01d:%02d:%02d", c.day, c.hour, c.minute));
  draw_clock_buttons(sys, s, kHoroButtons);
}

void horo_paint(System& sys, Surface& s) {
  frame_paint(s, info_of(sys));
  s.set_text_colour(kBlack);
  for (const Column& col : kHoroColumnDefs) s.draw_text_fit(col.x, kHeadTop, col.head, col.w - 2);
  text_lines(s, 2, 548, 16, {"Section '#horo'", "Liste des actions à départ temporisé."}, 460);
  draw_legend_box(s, kHoroLegendTop, " CLIC-DROIT :AFFICHE LES PAGES 1 à 8, [0-31] à [224 à 254]");
  text_lines(s, 2, 604, 16,
             {"Colonne 'Etat' = 'At-Bl'=En attente de blocage possible,  'Blqué'=Bloque "
              "l'horloge.",
              "Colonne 'Inh' CLIC=Inhibe le blocage ou le départ de l'action + raz déplacement."},
             704);
  text_lines(s, 2, 636, 16,
             {"Colonne 'Départ', 'Fin', 'Période' = Jours:Heures:Minutes (s=Jour de semaine, "
              "w=WeekEnd).",
              "Colonne 'Blocage' = Heure prévue de blocage = 'Temp_B' ou 'Départ'+'Temp_B'.",
              "Colonne 'He/De_B' = Heure de blocage ou Délai par rapport au début de l'action.",
              "LIGNE VERTE=Action pouvant bloquer l'horloge, LIGNE ORANGE=Action bloquant "
              "l'horloge, LIGNE BLEUE=Ligne ignorée."},
             1096);
  s.draw_text(kHoroClockX - 230, kHoroClockY, "Horloge ZIR (J:HH:MM): ");
  horo_redraw(sys, s);
}

// Inhibiting lets the action go (it no longer holds the clock); when its block condition is the
// start of the movement it launches, that movement is stopped too.
void toggle_inhibited(System& sys, int n) {
  HoroAction& a = action(sys, n);
  a[HORO_INHIBITED] = a[HORO_INHIBITED] ? 0 : 1;
  if (!a[HORO_INHIBITED]) return;
  a[HORO_STATE] = 0;
  const int movement = started_movement(a[HORO_VF_VAR]);
  if (movement >= 0 && a[HORO_VF_VAR] == a[HORO_ENTRIES + 1]) {
    sys.depl.depl_record[static_cast<size_t>(movement)][DEPL_STOP_REQUEST] = 1;
  }
}

void horo_press(System& sys) {
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  if (frame_left_press(sys, info_of(sys), kHoroLegendTop)) return;
  if (press_clock_buttons(sys, kHoroButtons, kClockScreen)) return;
  if (y < kListTop || y >= kListTop + kListRows * kListRow) return;
  const int n = first_action(sys) + (y - kListTop) / kListRow;
  if (n >= kHoroActions || !sys.clock.defined(n)) return;
  auto in_column = [x](int c) {
    return x >= kHoroColumnDefs[c].x && x < kHoroColumnDefs[c].x + kHoroColumnDefs[c].w;
  };
  if (in_column(kInhibit)) {
    toggle_inhibited(sys, n);
  } else if (in_column(kStart)) {
    jump_to_action(sys, n);
  } else {
    return;
  }
  sys.host.request_repaint();
}

// ---- External actions (45-47) --------------------------------------------------------------

constexpr int kExeTextX = 50;
constexpr size_t kExeShown = 130;  // characters of a text shown
constexpr int kExeLegendTop = 566;

int first_exe(const System& sys) {
  return (sys.screen.screen_mode - kFirstExeScreen) * kListRows;
}

void exe_redraw(System& sys, Surface& s) {
  s.fill_rect(0, kListTop, kListWidth, kListTop + kListRows * kListRow, kWhite);
  for (int row = 0; row < kListRows; ++row) {
    const int n = first_exe(sys) + row;
    const int y = kListTop + row * kListRow + 1;
    const std::string& text = sys.exe.text[static_cast<size_t>(n)];
    s.set_text_colour(text.empty() ? kGrey : kBlack);
    s.draw_text(0, y, format("%3d", n));
    if (text.empty()) continue;
    s.draw_text_fit(kExeTextX, y, cp1252_to_utf8(text.substr(0, kExeShown)),
                    kListWidth - kExeTextX - 2);
  }
}

void exe_paint(System& sys, Surface& s) {
  frame_paint(s, info_of(sys));
  s.set_text_colour(kBlack);
  s.draw_text(0, kHeadTop, "  n°");
  s.draw_text(kExeTextX, kHeadTop, "Texte de l'action à exécuter");
  s.draw_text(2, 548, "Section '#exe'");
  draw_legend_box(s, kExeLegendTop,
                  " CLIC-DROIT :AFFICHE LES PAGES 1->2->3, [00-31]->[32-63]->[64-95]");
  text_lines(s, 2, 592, 16,
             {"CLIQUEZ sur une ligne pour lancer l'action",
              "Permet de lancer une action externe à ZIR (Exemple : émettre un son)",
              "Tronque à 130 car. les lignes trop larges à l'affichage (mais 200 car. max en "
              "mémoire)"},
             1096);
  exe_redraw(sys, s);
}

void exe_press(System& sys) {
  const int y = sys.screen.press_y;
  if (frame_left_press(sys, info_of(sys), kExeLegendTop)) return;
  if (y < kListTop || y >= kListTop + kListRows * kListRow) return;
  const int n = first_exe(sys) + (y - kListTop) / kListRow;
  if (!sys.exe.text[static_cast<size_t>(n)].empty()) var_write(sys, kExe0 + n, 1);
}

// ---- Vibrator (18) -------------------------------------------------------------------------

constexpr int kVibFiguresTop = 162;
constexpr int kVibFigureRow = 22;
constexpr int kCantonGridLeft = 180;
constexpr int kCantonGridTop = 460;
constexpr int kCantonHeadHeight = 14;
constexpr int kCell = 24;
constexpr int kCantonRow = 20;
constexpr int kTrainGridTop = 580;
constexpr int kTrainRow = 22;
constexpr int kCantonsPerCard = 16;

constexpr Box kVibFigures{40, 160, 720, 161};  // the areas redrawn at every tick
constexpr Box kCantonGrid{kCantonGridLeft, kCantonGridTop, 395, 95};
constexpr Box kTrainGrid{kCantonGridLeft, kTrainGridTop, 395, 45};
constexpr Box kMonitorBox{600, 340, 130, 21};
constexpr Box kVibratingBox{600, 380, 130, 21};

enum VibButton { kBeforeDown, kBeforeUp, kAfterDown, kAfterUp, kVibStart, kVibStop, kVibButtons };

constexpr Box kVibButtonBoxes[kVibButtons] = {{40, 340, 120, 21},  {170, 340, 120, 21},
                                              {40, 380, 120, 21},  {170, 380, 120, 21},
                                              {320, 340, 120, 21}, {320, 380, 120, 21}};
constexpr const char* kVibButtonTexts[kVibButtons] = {"Tic avant -", "Tic avant +", "Tic après -",
                                                      "Tic après +", "DÉMARRER",    "ARRÊTER"};

// In floating point: a time set far beyond a day would overflow an integer product.
std::string ticks_and_seconds(int ticks) {
  return format("%3d (tics) = %4.1f sec", ticks, ticks * (kTickMs / 1000.0));
}

void vib_figures(System& sys, Surface& s) {
  const VibState& v = sys.vib;
  const char* on_off[] = {" A l'arrêt", " En marche"};
  const std::string lines[] = {
      format("Durée du Timer 'tic'                              : %3d msec", kTickMs),
      "Temps d'attente configuré avant déclenchement     : " + ticks_and_seconds(v.time_before),
      "Temps restant actuellement avant un déclenchement : " + ticks_and_seconds(v.start_count),
      "Temps d'attente configuré après rétablissement    : " + ticks_and_seconds(v.time_after),
      "Temps restant actuellement après rétablissement   : " + ticks_and_seconds(v.stop_count),
      std::string("Surveillance des faux contacts                    :") + on_off[v.vib_on == 1],
      std::string("Etat du vibreur                                   :") + on_off[v.vib_state == 1],
  };
  fill_box(s, kVibFigures);
  s.set_text_colour(kBlack);
  int y = kVibFiguresTop;
  for (const std::string& line : lines) {
    s.draw_text_fit(kVibFigures.x + 1, y, line, kVibFigures.w - 2);
    y += kVibFigureRow;
  }
}

void vib_grids(System& sys, Surface& s) {
  fill_box(s, kCantonGrid);
  fill_box(s, kTrainGrid);
  s.set_text_colour(kBlack);
  for (int i = 0; i < kCantonsPerCard; ++i) {
    s.draw_text(kCantonGridLeft + i * kCell + 2, kCantonGridTop, format("%d", i));
  }
  for (int k = 0; k < kCantons; ++k) {
    const Box cell{kCantonGridLeft + (k % kCantonsPerCard) * kCell,
                   kCantonGridTop + kCantonHeadHeight + (k / kCantonsPerCard) * kCantonRow,
                   kCell + 1, kCantonRow + 1};
    box_text(s, cell, sys.cantons.pb_capt_c[static_cast<size_t>(k)] == 1 ? kRed : kWhite, "");
  }
  for (int t = 0; t < kTrainEntries; ++t) {
    const size_t i = static_cast<size_t>(t);
    const Box cell{kCantonGridLeft + (t % kCantonsPerCard) * kCell,
                   kTrainGridTop + (t / kCantonsPerCard) * kTrainRow, kCell + 1, kTrainRow + 1};
    const bool fault = sys.cantons.pb_capt_t[i] == 1;
    box_text(s, cell, fault ? kRed : kWhite, format("%d", t), fault ? kBlack : sys.trains.color[i]);
  }
}

void vib_boxes(System& sys, Surface& s) {
  box_text(s, kMonitorBox, sys.vib.vib_on == 1 ? kGreenGround : kWhite,
           sys.vib.vib_on == 1 ? "EN MARCHE" : "A L'ARRÊT");
  box_text(s, kVibratingBox, sys.vib.vib_state == 1 ? kOrangeGround : kWhite,
           sys.vib.vib_state == 1 ? "VIBRE" : "NE VIBRE PAS");
}

void vib_redraw(System& sys, Surface& s) {
  vib_figures(sys, s);
  vib_boxes(sys, s);
  vib_grids(sys, s);
}

void vib_paint(System& sys, Surface& s) {
  frame_paint(s, info_of(sys));
  text_lines(s, 2, 24, 16,
             {" Le vibreur fait vibrer le plateau en cas de faux contact prolongé",
              " Il existe une temporisation entre la détection d'un faux contact et la mise en "
              "marche du vibreur",
              " et une temporisation entre l'arrêt du faux contact et l'arrêt du vibreur",
              " La configuration du vibreur se fait dans 'config.txt' section '#vib'",
              " La variable 'vib_on' permet d'activer ou de désactiver le vibreur'",
              " La variable 'vib_state' indique l'état du vibreur'"},
             796);
  s.draw_text(2, 138, " Réglages (temporisations et surveillance)");
  for (int b = 0; b < kVibButtons; ++b) box_text(s, kVibButtonBoxes[b], kWhite, kVibButtonTexts[b]);
  s.set_text_colour(kBlack);
  s.draw_text(kCantonGridLeft, 440, "N° de Cantons / Trains");
  for (int card = 0; card < 4; ++card) {
    s.draw_text(kCantonGridLeft - 105, kCantonGridTop + kCantonHeadHeight + card * kCantonRow + 3,
                format("Carte n° %d", card));
  }
  s.draw_text(kCantonGridLeft - 70, kTrainGridTop + 4, "Trains");
  s.draw_text(kCantonGridLeft - 70, kTrainGridTop + kTrainRow + 4, "Wagons");
  text_lines(s, 590, 480, 16, {"Indication des cantons", "en défaut (case en rouge)"}, 208);
  text_lines(s, 590, 580, 16,
             {"Indication des trains", "en défaut (case en rouge)", "+ couleur du train"}, 208);
  vib_redraw(sys, s);
}

// One tick more, up to the largest time the section accepts.
int32_t raised(int32_t ticks) {
  return ticks < INT32_MAX ? ticks + 1 : ticks;
}

void vib_press(System& sys) {
  if (frame_left_press(sys, info_of(sys), -1)) return;
  VibState& v = sys.vib;
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  int button = 0;
  while (button < kVibButtons && !kVibButtonBoxes[button].contains(x, y)) ++button;
  switch (button) {
    case kBeforeDown:
      v.time_before = std::max(v.time_before - 1, 0);
      break;
    case kBeforeUp:
      v.time_before = raised(v.time_before);
      break;
    case kAfterDown:
      v.time_after = std::max(v.time_after - 1, 0);
      break;
    case kAfterUp:
      v.time_after = raised(v.time_after);
      break;
    case kVibStart:
      v.vib_on = 1;
      break;
    case kVibStop:
      v.vib_on = 0;
      break;
    default:
      if (!kMonitorBox.contains(x, y)) return;
      v.vib_on = v.vib_on == 1 ? 0 : 1;
      break;
  }
  sys.host.request_repaint();
}

// One entry point per screen: paint, tick redraw, left press, right press.
void screen_modes(System& sys, Surface& s, int mode, void (*paint)(System&, Surface&),
                  void (*redraw)(System&, Surface&), void (*press)(System&)) {
  table_screen_call(
      sys, mode, [&](const ScreenInfo&) { paint(sys, s); },
      [&](const ScreenInfo&) { redraw(sys, s); }, [&](const ScreenInfo&) { press(sys); });
}

}  // namespace

void set_tic_par_min(System& sys, int value) {
  ClockState& c = sys.clock;
  c.tic_par_min = std::clamp(value, 1, kTicMax);
  if (c.countdown >= c.tic_par_min - 1) c.countdown = std::max(c.tic_par_min - 2, 0);
}

void jump_to_action(System& sys, int n) {
  ClockState& c = sys.clock;
  const HoroAction& a = action(sys, n);
  const int32_t day = a[HORO_DAY];
  c.day = day >= 0 && day <= 6 ? day : day == HORO_WEEKEND ? 5 : 0;
  c.cleaning = day == HORO_CLEANING ? 1 : 0;
  c.hour = a[HORO_HD_H];
  c.minute = a[HORO_HD_M] - 1;
  if (c.minute < 0) {
    c.minute = 59;
    --c.hour;
  }
  c.running = 1;
  c.countdown = 1;
}

void clock_screen(System& sys, Surface& s, int mode) {
  screen_modes(sys, s, mode, clock_paint, clock_redraw, clock_press);
}

void horo_screen(System& sys, Surface& s, int mode) {
  screen_modes(sys, s, mode, horo_paint, horo_redraw, horo_press);
}

void exe_screen(System& sys, Surface& s, int mode) {
  screen_modes(sys, s, mode, exe_paint, exe_redraw, exe_press);
}

void vib_screen(System& sys, Surface& s, int mode) {
  screen_modes(sys, s, mode, vib_paint, vib_redraw, vib_press);
}
