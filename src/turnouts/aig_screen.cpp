#include "turnouts/aig_screen.h"

#include <cstdio>
#include <string>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "turnouts/aig_sequencer.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kBlue = 13, kGrey = 17, kYellowGround = 6;

// The list fills the redraw rectangle 1, 36, 343, 540: 30 rows of 18 pixels. Turnouts 60-63
// have no row.
constexpr int kListLeft = 1;
constexpr int kListRight = 1 + 343;
constexpr int kListTop = 36;
constexpr int kRowHeight = 18;
constexpr int kRowsPerPage = 30;
constexpr int kHeadTop = 18;
constexpr int kFirstPage = 22;

enum class AigColumn { Number, Cmd, Pos0, Pos1, Reserved };

struct AigColumnDef {
  AigColumn column;
  const char* head;
  int left, right;  // the column's extent, for the head, the value and the clicks
};

constexpr AigColumnDef kColumns[] = {
    {AigColumn::Number, "  n°", 1, 60},
    {AigColumn::Cmd, "Cmd", 60, 120},
    {AigColumn::Pos0, "Pos0", 120, 180},
    {AigColumn::Pos1, "Pos1", 180, 240},
    {AigColumn::Reserved, "Réservé", 240, kListRight},
};

constexpr int kInfoX = 355;
constexpr int kInfoRoom = 800 - kInfoX - 2;
constexpr int kInfoTop = 40;
constexpr int kInfoStep = 16;

constexpr int kLegendTop = 580;
constexpr int kSwatchTop = 640;

std::string format(const char* f, int value) {
  char text[64];
  std::snprintf(text, sizeof text, f, value);
  return text;
}

int first_turnout(const System& sys) {
  return (sys.screen.screen_mode - kFirstPage) * kRowsPerPage;
}

// A defined turnout out of position is moving or waiting for the sequencer. An undefined one is
// never moved and its flags stay 0: it is yellow only while its command is not 0.
bool row_is_yellow(const System& sys, int n) {
  if (sys.aig.defined(n)) return !aig_in_position(sys, n);
  return sys.aig.aig_cmd[static_cast<size_t>(n)] != 0;
}

int32_t column_value(const AigTable& t, AigColumn column, size_t n) {
  switch (column) {
    case AigColumn::Cmd:
      return t.aig_cmd[n];
    case AigColumn::Pos0:
      return t.pos0_aig[n];
    case AigColumn::Pos1:
      return t.pos1_aig[n];
    case AigColumn::Reserved:
      return t.aig_reserved[n];
    default:
      return 0;
  }
}

void draw_turnout_row(System& sys, Surface& s, int n, int y) {
  const size_t i = static_cast<size_t>(n);
  if (row_is_yellow(sys, n)) s.fill_rect(kListLeft, y, kListRight, y + kRowHeight, kYellowGround);
  const bool defined = sys.aig.defined(n);
  s.set_text_colour(defined ? kBlue : kGrey);
  s.draw_text(kColumns[0].left + 1, y + 1, format("%4d", n));
  if (!defined) return;
  s.set_text_colour(kBlack);
  for (const AigColumnDef& c : kColumns) {
    if (c.column == AigColumn::Number) continue;
    const int32_t value = column_value(sys.aig, c.column, i);
    // The command is always shown; the flags and the reservation only when set.
    if (value != 0 || c.column == AigColumn::Cmd)
      s.draw_text_fit(c.left + 10, y + 1, format("%d", value), c.right - c.left - 12);
  }
}

void rows_redraw(System& sys, Surface& s) {
  s.fill_rect(kListLeft, kListTop, kListRight, kListTop + kRowsPerPage * kRowHeight, kWhite);
  s.select_font(Font::Text);
  const int first = first_turnout(sys);
  for (int row = 0; row < kRowsPerPage; ++row) {
    const int n = first + row;
    if (n >= 0 && n < kTurnouts) draw_turnout_row(sys, s, n, kListTop + row * kRowHeight);
  }
}

// ---- The information panel -------------------------------------------------------------------

struct DurationLine {
  const char* label;
  int phase;
};

constexpr DurationLine kDurationLines[] = {
    {"Durée de la commande de préparation prep0 = ", 0},
    {"Durée de la commande d'action       go0   = ", 1},
    {"Durée de la commande de libération  libe0 = ", 2},
    {"Durée de la commande de préparation prep1 = ", 3},
    {"Durée de la commande d'action       go1   = ", 4},
    {"Durée de la commande de libération  libe1 = ", 5},
};

// The six durations of turnout 63, which carries the default_tic values unless it sets its own.
constexpr int kInfoTurnout = kTurnouts - 1;

const AigPhase& info_phase(const System& sys, int phase) {
  return sys.aig.AIG_DESCR[kInfoTurnout][static_cast<size_t>(phase)];
}

// What the sequencer plays: 190 ms for an unset phase, at least one tic for the act phases.
int phase_ms(const System& sys, int phase) {
  return aig_effective_duration(phase % 3, info_phase(sys, phase).tic) * kTickMs;
}

std::string default_tics(const System& sys) {
  char text[128];
  std::snprintf(text, sizeof text, "    default_tic : %d,%d,%d,%d,%d,%d", info_phase(sys, 0).tic,
                info_phase(sys, 1).tic, info_phase(sys, 2).tic, info_phase(sys, 3).tic,
                info_phase(sys, 4).tic, info_phase(sys, 5).tic);
  return text;
}

const char* on_off(int32_t setting) {
  return setting != 0 ? "ACTIF" : "PAS ACTIF";
}

void info_panel(System& sys, Surface& s) {
  s.set_text_colour(kBlack);
  int y = kInfoTop;
  auto line = [&](const std::string& text, int skip = 1) {
    s.draw_text_fit(kInfoX, y, text, kInfoRoom);
    y += skip * kInfoStep;
  };
  line("Section '#aig'.", 2);
  line("Valeur de 'default_tic:' :");
  line(default_tics(sys), 2);
  line("Ce qui correspond aux temporisations :");
  for (const DurationLine& d : kDurationLines)
    line(d.label + format("%3d ms", phase_ms(sys, d.phase)));
  y += kInfoStep;
  line(std::string("AIGAUTO est : ") + on_off(sys.general.aigauto));
  line(std::string("Mémorisation position aiguillages est : ") +
       on_off(sys.general.memorisation_aig));
}

void aig_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  s.set_text_colour(kBlack);
  for (const AigColumnDef& c : kColumns) s.draw_text(c.left + 1, kHeadTop, c.head);
  info_panel(sys, s);
  draw_legend_box(s, kLegendTop, " CLIC-DROIT :AFFICHE LES PAGES 1<->2, [00-29]<->[30-59]");
  s.draw_text(600, kLegendTop + 3, "Section '#aig'");
  s.draw_text_fit(2, 604, "CLIQUEZ sur 'Cmd' pour changer la position d'un aiguillage.", 796);
  s.draw_text_fit(2, 620,
                  "CLIQUEZ sur 'Réservé' pour changer l'état de réservation d'un aiguillage.", 796);
  s.fill_rect(0, kSwatchTop, 400, kSwatchTop + 19, kYellowGround);
  s.draw_text(2, kSwatchTop + 2, "LIGNE JAUNE = Aiguillage en mouvement.");
  rows_redraw(sys, s);
}

const AigColumnDef* column_at(int x) {
  for (const AigColumnDef& c : kColumns)
    if (x >= c.left && x < c.right) return &c;
  return nullptr;
}

// "Cmd" throws the turnout, whatever its reservation: 0 becomes 1, anything else 0.
// "Réservé" toggles the reservation.
void aig_press(System& sys, const ScreenInfo& info) {
  if (frame_left_press(sys, info, kLegendTop)) return;
  const int y = sys.screen.press_y;
  if (y < kListTop || y >= kListTop + kRowsPerPage * kRowHeight) return;
  const int n = first_turnout(sys) + (y - kListTop) / kRowHeight;
  const AigColumnDef* c = column_at(sys.screen.press_x);
  if (n < 0 || n >= kTurnouts || c == nullptr) return;
  const size_t i = static_cast<size_t>(n);
  if (c->column == AigColumn::Cmd) {
    sys.aig.aig_cmd[i] = sys.aig.aig_cmd[i] == 0 ? 1 : 0;
  } else if (c->column == AigColumn::Reserved) {
    sys.aig.aig_reserved[i] = sys.aig.aig_reserved[i] == 0 ? 1 : 0;
  } else {
    return;
  }
  sys.host.request_repaint();
}

}  // namespace

void aig_screen(System& sys, Surface& s, int mode) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      aig_paint(sys, s, *info);
      break;
    case kRedraw:
      rows_redraw(sys, s);
      break;
    case kLeftPress:
      aig_press(sys, *info);
      break;
    case kRightPress:
      screen_next_page(sys);
      break;
    default:
      break;
  }
}
