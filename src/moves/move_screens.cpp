#include "moves/move_screens.h"

#include <span>
#include <string>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "moves/depl_engine.h"
#include "moves/iti_engine.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kGrey = 17, kGreenGround = 34, kYellowGround = 6,
              kBlueGround = 22;
constexpr int kRowPitch = 18;
constexpr int kGroundHeight = 17;  // a white line parts two coloured rows
constexpr int kScreenRight = 798;

// ---- What the three lists share -------------------------------------------------------------

// A column: its title, where it starts and how wide it is; it also decides which column a press
// falls in.
struct Column {
  const char* head;
  int x, width;
};

// The rows of a page; they fill the screen's redraw rectangle (the screen table's).
struct RowList {
  int top;
  int rows;
};

int row_top(const RowList& list, int row) {
  return list.top + row * kRowPitch;
}

// The row under y, or -1.
int row_at(const RowList& list, int y) {
  if (y < list.top) return -1;
  const int row = (y - list.top) / kRowPitch;
  return row < list.rows ? row : -1;
}

// The column under x, or -1.
int column_at(std::span<const Column> columns, int x) {
  for (size_t c = 0; c < columns.size(); ++c) {
    if (x >= columns[c].x && x < columns[c].x + columns[c].width) return static_cast<int>(c);
  }
  return -1;
}

void draw_heads(Surface& s, std::span<const Column> columns, int y) {
  s.set_text_colour(kBlack);
  for (const Column& c : columns) s.draw_text_fit(c.x, y, c.head, c.width - 2);
}

void row_ground(Surface& s, const CopyRect& area, const RowList& list, int row, int colour) {
  const int y = row_top(list, row);
  s.fill_rect(area.x, y, area.x + area.w, y + kGroundHeight, colour);
}

void cell(Surface& s, const Column& c, int y, const std::string& text) {
  s.draw_text_fit(c.x, y + 1, text, c.width - 2);
}

// A value shown only where it is not 0.
void cell_if_set(Surface& s, const Column& c, int y, const char* f, int32_t value) {
  if (value != 0) cell(s, c, y, format(f, value));
}

// A legend line with the row colour it explains drawn before it.
void colour_legend(Surface& s, int y, int colour, const char* text) {
  s.fill_rect(2, y, 40, y + kGroundHeight - 1, colour);
  s.set_text_colour(kBlack);
  s.draw_text_fit(50, y, text, kScreenRight - 50);
}

void legend_lines(Surface& s, int y, std::span<const char* const> lines, int pitch) {
  s.set_text_colour(kBlack);
  for (const char* line : lines) {
    s.draw_text_fit(2, y, line, kScreenRight - 4);
    y += pitch;
  }
}

// The row pressed on the page, or -1 when the press is in the close box, the legend box or
// outside the rows (the frame has then done what it does).
int pressed_row(System& sys, const ScreenInfo& info, int legend_top, const RowList& list) {
  if (frame_left_press(sys, info, legend_top)) return -1;
  return row_at(list, sys.screen.press_y);
}

// The tick redraw: the screen's rectangle in white, then every row of the page.
template <auto Rows>
void redraw_rows(System& sys, Surface& s, const ScreenInfo& info) {
  const CopyRect& area = info.rects[0];
  s.fill_rect(area.x, area.y, area.x + area.w, area.y + area.h, kWhite);
  s.select_font(Font::Text);
  Rows(sys, s, area);
}

template <auto Paint, auto Rows, auto Press>
void row_screen(System& sys, Surface& s, int mode) {
  table_screen_call(
      sys, mode,
      [&](const ScreenInfo& info) {
        frame_paint(s, info);
        Paint(sys, s);
        redraw_rows<Rows>(sys, s, info);
      },
      [&](const ScreenInfo& info) { redraw_rows<Rows>(sys, s, info); },
      [&](const ScreenInfo& info) { Press(sys, info); });
}

// ---- Movements (10..16) ---------------------------------------------------------------------

constexpr int kDeplFirstScreen = 10;
constexpr RowList kDeplRows{38, 30};
constexpr int kDeplHeadTop = 20;
constexpr int kDeplAccDecTop = 580;
constexpr int kDeplLegendBoxTop = 598;
constexpr int kDeplLegendTop = 622;

enum DeplColumn { DC_NUMBER, DC_START, DC_STOP, DC_TEMPO, DC_STATE, DC_NAME };
constexpr Column kDeplColumns[] = {
    {"  n°", 2, 48},    {"Start", 50, 60},  {"Stop", 110, 55},
    {"Tempo", 165, 60}, {"Etat", 225, 315}, {"Nom du déplacement", 540, 258},
};

int first_movement(const System& sys) {
  return (sys.screen.screen_mode - kDeplFirstScreen) * kDeplRows.rows;
}

// A movement of the page, or -1 past movement 199.
int movement_on_row(const System& sys, int row) {
  const int n = first_movement(sys) + row;
  return n >= 0 && n < kMovements ? n : -1;
}

// Yellow while it waits for its train or what it needs; green while it runs.
int depl_ground(const DeplRecord& r) {
  if (r[DEPL_STATE] == DEPL_WAIT_RESOURCES) return kYellowGround;
  return r[DEPL_START_REQUEST] != 0 ? kGreenGround : kWhite;
}

void draw_depl_row(System& sys, Surface& s, const CopyRect& area, int row) {
  const int n = movement_on_row(sys, row);
  if (n < 0) return;
  const DeplRecord& r = sys.depl.depl_record[static_cast<size_t>(n)];
  const int y = row_top(kDeplRows, row);
  const bool defined = sys.depl.has_start(n);
  if (defined) row_ground(s, area, kDeplRows, row, depl_ground(r));
  s.set_text_colour(defined ? kBlack : kGrey);
  cell(s, kDeplColumns[DC_NUMBER], y, format("%4d", n));
  if (!defined) return;
  cell_if_set(s, kDeplColumns[DC_START], y, "%3d", r[DEPL_START_REQUEST]);
  cell_if_set(s, kDeplColumns[DC_STOP], y, "%4d", r[DEPL_STOP_REQUEST]);
  cell_if_set(s, kDeplColumns[DC_TEMPO], y, "%4d", r[DEPL_TIMER]);
  cell(s, kDeplColumns[DC_STATE], y, depl_state_text(r[DEPL_STATE]));
  cell(s, kDeplColumns[DC_NAME], y, sys.depl.name[static_cast<size_t>(n)]);
}

void depl_rows(System& sys, Surface& s, const CopyRect& area) {
  for (int row = 0; row < kDeplRows.rows; ++row) draw_depl_row(sys, s, area, row);
}

// "%2d -" and "%-2d", "xx" for a level not given.
std::string acc_dec_text(const DeplTable& d) {
  return (d.acc == -1 ? std::string("xx -") : format("%2d -", d.acc)) +
         (d.dec == -1 ? std::string("xx") : format("%-2d", d.dec));
}

void depl_paint(System& sys, Surface& s) {
  draw_heads(s, kDeplColumns, kDeplHeadTop);
  s.draw_text_fit(2, kDeplAccDecTop,
                  "Section '#depl' Paramètres globaux 'Accélération - Décélération' = " +
                      acc_dec_text(sys.depl),
                  kScreenRight - 4);
  draw_legend_box(s, kDeplLegendBoxTop,
                  " CLIC-DROIT :AFFICHE LES PAGES 1->2->3- - ->7, "
                  "[00-29]->[30-59]->[60-89]->[90-119]- - ->[180-199]");
  constexpr int kPitch = 16;
  const char* const click[] = {
      "CLIQUEZ dans la colonne 'Start' ou 'Stop' pour lancer ou annuler un déplacement."};
  legend_lines(s, kDeplLegendTop, click, kPitch);
  colour_legend(s, kDeplLegendTop + kPitch, kGreenGround, "LIGNE VERTE = Déplacement en action.");
  colour_legend(s, kDeplLegendTop + 2 * kPitch, kYellowGround,
                "LIGNE JAUNE = Déplacement en attente de libération canton, aiguillage ou de "
                "train de type 'Auto'.");
  const char* const timetable[] = {
      "              Si stopper un déplacement est impossible, voir si une action horaire est "
      "en cours."};
  legend_lines(s, kDeplLegendTop + 3 * kPitch, timetable, kPitch);
}

// "Start" and "Stop" set the requests of a movement that has a start; the engine takes them at
// the next tick.
void depl_press(System& sys, const ScreenInfo& info) {
  const int row = pressed_row(sys, info, kDeplLegendBoxTop, kDeplRows);
  const int n = row < 0 ? -1 : movement_on_row(sys, row);
  if (n < 0 || !sys.depl.has_start(n)) return;
  DeplRecord& r = sys.depl.depl_record[static_cast<size_t>(n)];
  switch (column_at(kDeplColumns, sys.screen.press_x)) {
    case DC_START:
      r[DEPL_START_REQUEST] = 1;
      break;
    case DC_STOP:
      r[DEPL_STOP_REQUEST] = 1;
      break;
    default:
      return;
  }
  sys.host.request_repaint();
}

// ---- Routes (19, 20) ------------------------------------------------------------------------

constexpr int kItiFirstScreen = 19;
constexpr RowList kItiRows{36, 25};
constexpr int kItiHeadTop = 19;
constexpr int kItiSectionTop = 490;
constexpr int kItiLegendBoxTop = 508;
constexpr int kItiLegendTop = 532;

enum ItiColumn { IC_NUMBER, IC_START, IC_STOP, IC_WAIT, IC_OK, IC_TEMPO, IC_STATE, IC_NAME };
constexpr Column kItiColumns[] = {
    {"  n°", 2, 48},  {"Start", 50, 60},  {"Stop", 110, 55},  {"Wait", 165, 50},
    {" Ok", 215, 40}, {"Tempo", 255, 60}, {"Etat", 315, 245}, {"Noms des itinéraires", 560, 238},
};

int route_on_row(const System& sys, int row) {
  const int n = (sys.screen.screen_mode - kItiFirstScreen) * kItiRows.rows + row;
  return n >= 0 && n < kRoutes ? n : -1;
}

bool route_defined(const ItiRecord& r) {
  return r[ITI_DEFINED] != 0;
}

// Yellow while waiting; once established, blue for a direct route and green for an on/off one.
int iti_ground(const ItiRecord& r) {
  if (r[ITI_WAIT] == 1) return kYellowGround;
  if (r[ITI_OK] == 1) return r[ITI_MODE] == 0 ? kBlueGround : kGreenGround;
  return kWhite;
}

const char* iti_state_text(int32_t state) {
  return state >= 0 && state < kItiStates ? kItiStateText[state] : "";
}

void draw_iti_row(System& sys, Surface& s, const CopyRect& area, int row) {
  const int n = route_on_row(sys, row);
  if (n < 0) return;
  const ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(n)];
  const int y = row_top(kItiRows, row);
  const bool defined = route_defined(r);
  if (defined) row_ground(s, area, kItiRows, row, iti_ground(r));
  s.set_text_colour(defined ? kBlack : kGrey);
  cell(s, kItiColumns[IC_NUMBER], y, format("%4d", n));
  if (!defined) return;
  cell_if_set(s, kItiColumns[IC_START], y, "%4d", r[ITI_START_REQUEST]);
  cell_if_set(s, kItiColumns[IC_STOP], y, "%4d", r[ITI_STOP_REQUEST]);
  cell_if_set(s, kItiColumns[IC_WAIT], y, "%3d", r[ITI_WAIT]);
  cell_if_set(s, kItiColumns[IC_OK], y, "%3d", r[ITI_OK]);
  cell_if_set(s, kItiColumns[IC_TEMPO], y, "%4d", r[ITI_TIMER]);
  cell(s, kItiColumns[IC_STATE], y, iti_state_text(r[ITI_STATE]));
  cell(s, kItiColumns[IC_NAME], y, sys.iti.name[static_cast<size_t>(n)]);
}

void iti_rows(System& sys, Surface& s, const CopyRect& area) {
  for (int row = 0; row < kItiRows.rows; ++row) draw_iti_row(sys, s, area, row);
}

void iti_paint(System&, Surface& s) {
  draw_heads(s, kItiColumns, kItiHeadTop);
  s.draw_text(2, kItiSectionTop, "Section '#iti'");
  draw_legend_box(s, kItiLegendBoxTop, " CLIC-DROIT :AFFICHE LES PAGES 1<->2, [00-24]<->[25-49]");
  constexpr int kPitch = 18;
  const char* const click[] = {
      "CLIQUEZ dans la colonne 'Start' ou 'Stop' pour activer ou annuler un itinéraire."};
  legend_lines(s, kItiLegendTop, click, kPitch);
  colour_legend(s, kItiLegendTop + kPitch, kBlueGround,
                "LIGNE BLEUE = Itinéraire SANS verrouillage d'aiguillage traçé.");
  colour_legend(s, kItiLegendTop + 2 * kPitch, kGreenGround,
                "LIGNE VERTE = Itinéraire AVEC verrouillage d'aiguillage établi.");
  colour_legend(s, kItiLegendTop + 3 * kPitch, kYellowGround,
                "LIGNE JAUNE = Itinéraire AVEC verrouillage d'aiguillage en attente d'aiguillage "
                "libéré.");
}

// "Start" toggles the start request of an idle route, "Stop" the stop request of a route under
// way; a direct route stays idle, so only its start can be clicked.
void iti_press(System& sys, const ScreenInfo& info) {
  const int row = pressed_row(sys, info, kItiLegendBoxTop, kItiRows);
  const int n = row < 0 ? -1 : route_on_row(sys, row);
  if (n < 0) return;
  ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(n)];
  if (!route_defined(r)) return;
  const bool idle = r[ITI_STATE] == ITI_IDLE;
  switch (column_at(kItiColumns, sys.screen.press_x)) {
    case IC_START:
      if (!idle) return;
      r[ITI_START_REQUEST] = r[ITI_START_REQUEST] == 0 ? 1 : 0;
      break;
    case IC_STOP:
      if (idle) return;
      r[ITI_STOP_REQUEST] = r[ITI_STOP_REQUEST] == 0 ? 1 : 0;
      break;
    default:
      return;
  }
  sys.host.request_repaint();
}

// ---- Sidings (21) ---------------------------------------------------------------------------

constexpr RowList kGarageRows{36, 29};  // sidings 29..31 are not listed
constexpr int kGarageHeadTop = 19;
constexpr int kGarageLegendTop = 562;

enum GarageColumn {
  GC_NUMBER,
  GC_CMD,
  GC_CONNECTED,
  GC_RESERVED,
  GC_CANTON,
  GC_OUT,
  GC_POL,
  GC_TRAIN
};
constexpr Column kGarageColumns[] = {
    {"Garage", 2, 68},    {" Cmd_I", 70, 70},
    {"CnxCant", 140, 80}, {" Resv", 220, 60},
    {"Canton", 280, 70},  {"N° Out", 350, 70},
    {"Polarit", 420, 80}, {"Train stationné  N° : Nom", 500, 298},
};

bool siding_defined(const System& sys, int g) {
  return sys.garage.ass_canton[static_cast<size_t>(g)] != -1;
}

// The parked train as "%4d : %s" in its own colour.
void draw_parked_train(System& sys, Surface& s, int y, int32_t train) {
  if (train < 0 || train >= kTrainEntries) return;
  const size_t t = static_cast<size_t>(train);
  s.set_text_colour(sys.trains.color[t]);
  cell(s, kGarageColumns[GC_TRAIN], y, format("%4d : ", train) + sys.trains.name[t]);
}

void draw_garage_row(System& sys, Surface& s, int g) {
  const GarageTable& t = sys.garage;
  const size_t i = static_cast<size_t>(g);
  const int y = row_top(kGarageRows, g);
  const bool defined = siding_defined(sys, g);
  s.set_text_colour(defined ? kBlack : kGrey);
  cell(s, kGarageColumns[GC_NUMBER], y, format("%4d", g));
  if (!defined) return;
  const bool isolated = t.state_lock[i] == 1;
  cell_if_set(s, kGarageColumns[GC_CMD], y, "%4d", t.cmd_lock[i]);
  cell(s, kGarageColumns[GC_CONNECTED], y, isolated ? " Isolé" : "Relié");
  cell_if_set(s, kGarageColumns[GC_RESERVED], y, "%4d", t.res_auto[i]);
  cell(s, kGarageColumns[GC_CANTON], y, format(isolated ? "(%3d)" : " %3d", t.ass_canton[i]));
  cell_if_set(s, kGarageColumns[GC_OUT], y, "%4d", t.ass_out[i]);
  cell_if_set(s, kGarageColumns[GC_POL], y, "%4d", t.pol[i]);
  draw_parked_train(sys, s, y, t.num_train[i]);
}

// No row colours here: the area is only needed by the lists that have them.
void garage_rows(System& sys, Surface& s, const CopyRect&) {
  for (int g = 0; g < kGarageRows.rows; ++g) draw_garage_row(sys, s, g);
}

void garage_paint(System&, Surface& s) {
  draw_heads(s, kGarageColumns, kGarageHeadTop);
  const char* const lines[] = {
      "Section '#garage'  On affiche les 29 premiers garages.",
      "CLIQUEZ dans la colonne 'Cmd_I' pour relier ou isoler un garage au canton.",
      "CnxCant  = Indication pour savoir si le garage est relié électriquement au canton.",
      "Resv     = Canton réservé par un déplacement automatique.",
      "Canton   = Numéro du canton connecté en sortie de garage.",
      "N° Out   = Numéro de sortie utilisée pour commander le relais d'alimentation du garage "
      "au canton.",
      "Polarité = Valeur de la sortie pour commander la connexion du garage au canton "
      "(Normale/Inverse).",
  };
  legend_lines(s, kGarageLegendTop, lines, 16);
}

// " Cmd_I" asks the siding engine to isolate or connect a siding that no movement holds.
void garage_press(System& sys, const ScreenInfo& info) {
  const int g = pressed_row(sys, info, -1, kGarageRows);
  if (g < 0 || !siding_defined(sys, g)) return;
  if (column_at(kGarageColumns, sys.screen.press_x) != GC_CMD) return;
  const size_t i = static_cast<size_t>(g);
  if (sys.garage.res_auto[i] != 0) return;
  sys.garage.cmd_lock[i] = sys.garage.cmd_lock[i] == 0 ? 1 : 0;
  sys.host.request_repaint();
}

}  // namespace

void depl_screen(System& sys, Surface& s, int mode) {
  row_screen<depl_paint, depl_rows, depl_press>(sys, s, mode);
}

void iti_screen(System& sys, Surface& s, int mode) {
  row_screen<iti_paint, iti_rows, iti_press>(sys, s, mode);
}

void garage_screen(System& sys, Surface& s, int mode) {
  row_screen<garage_paint, garage_rows, garage_press>(sys, s, mode);
}
