#include "block/block_screens.h"

#include <cstdio>
#include <span>
#include <string>

#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/var_bus.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kGrey = 17;
constexpr int kGreenGround = 34, kYellowGround = 6, kOrangeGround = 10;
constexpr int kNoGround = -1;

constexpr int kRowsTop = 32;  // the rows fill the redraw rectangle, 32 to 544
constexpr int kRowHeight = 16;
constexpr int kRowsPerPage = 32;
constexpr int kHeadTop = 17;
constexpr int kLegendTop = 547;
constexpr int kLineStep = 16;
constexpr int kMaxColumns = 6;
// A block rule's conditions are cut here, and "..." tells that more follow.
constexpr size_t kConditionCut = 84;

constexpr int32_t kPos0Base = 5100;  // pos0_aig_0
constexpr int32_t kPos1Base = 5200;  // pos1_aig_0

std::string format(const char* f, int value) {
  char text[64];
  std::snprintf(text, sizeof text, f, value);
  return text;
}

std::string format(const char* f, int a, int b) {
  char text[64];
  std::snprintf(text, sizeof text, f, a, b);
  return text;
}

bool turnout_position(int32_t var, int32_t base) {
  return var >= base && var < base + kTurnouts;
}

// "det_14=1 ", and a turnout position as "a3=0 " (pos0_aig_3) or "a3=1 " (pos1_aig_3) followed
// by `turnout_gap`.
std::string condition(System& sys, int32_t var, int32_t val, const char* turnout_gap) {
  if (turnout_position(var, kPos0Base)) return format("a%d=0 ", var - kPos0Base) + turnout_gap;
  if (turnout_position(var, kPos1Base)) return format("a%d=1 ", var - kPos1Base) + turnout_gap;
  return var_label(sys, var) + (val == 0 ? "=0 " : "=1 ");
}

template <int N>
std::string conditions(System& sys, const VarList<N>& list, const char* turnout_gap) {
  std::string text;
  for (size_t k = 0; k < list.var.size() && list.var[k] >= 0; ++k)
    text += condition(sys, list.var[k], list.val[k], turnout_gap);
  return text;
}

// Each canton of a list as "c%d" followed by two blanks.
template <size_t N>
std::string cantons(const std::array<int32_t, N>& list) {
  std::string text;
  for (size_t k = 0; k < N && list[k] >= 0; ++k) text += format("c%d  ", list[k]);
  return text;
}

std::string canton_and_direction(int32_t canton, int32_t direction) {
  return format("c%-2d ", canton) + (direction < 0 ? " -" : " +");
}

// ---- One description for each group of pages ------------------------------------------------

struct Column {
  int x;
  const char* head;
};

using RowTexts = std::array<std::string, kMaxColumns>;

struct RuleScreen {
  int first_screen;
  int rules;  // size of the table shown
  int width;
  std::span<const Column> columns;
  const char* subtitle;
  int subtitle_x, subtitle_y;
  const char* legend;
  int lines_top;
  std::span<const char* const> lines;
  bool (*defined)(const System& sys, int r);
  int (*ground)(const System& sys, int r);
  // The texts of the columns after the number.
  void (*cells)(System& sys, int r, RowTexts& out);
  // The setting shown below the lines (-1 for none) and how it is drawn at `y`.
  int32_t (*setting)(const System& sys);
  void (*draw_setting)(System& sys, Surface& s, int y);
  int setting_y;
};

// ---- Automatic turnouts (35-37) -------------------------------------------------------------

constexpr Column kAigautoColumns[] = {{2, "  n°"},
                                      {50, "Cant+-Vi"},
                                      {140, "CE train plus sur ces cantons"},
                                      {370, "Conditions à vérifier"},
                                      {830, "Actions sur les aiguillages"}};

constexpr const char* kAigautoLines[] = {
    "Permet de commander automatiquement des aiguillages, quand on conduit un train en manuel.",
    "Colonne 'Cant+-Vi', sur ce canton si vitesse du train > Vi => action possible.",
    "Colonne 'CE train...' en mouvement doit avoir libéré ces cantons, pour déclencher les "
    "actions.",
    "Colonne des variables qui doivent être à l'état indiqué, pour déclencher les actions.",
    "Colonne des aiguillages à positionner si déclenchement de l'action.",
    "LIGNE VERTE = Action déjà faite. Redeviendra normale quand le train quittera ce canton ou "
    "sera à vitesse nulle.",
};

const AigautoRule& aigauto_rule(const System& sys, int r) {
  return sys.block.aigauto[static_cast<size_t>(r)];
}

void aigauto_cells(System& sys, int r, RowTexts& out) {
  const AigautoRule& rule = aigauto_rule(sys, r);
  out[1] = format("c%-2d %3d", rule.canton, rule.speed);
  out[2] = cantons(rule.plusur);
  out[3] = conditions(sys, rule.cond, "");
  for (size_t k = 0; k < rule.aig.size() && rule.aig[k] >= 0; ++k)
    out[4] += format("a%d", rule.aig[k]) + (rule.pos[k] == 0 ? "=0 " : "=1 ");
}

const char* on_off(int32_t setting) {
  return setting != 0 ? "ACTIF" : "PAS ACTIF";
}

void draw_aigauto_setting(System& sys, Surface& s, int y) {
  s.draw_text(2, y, std::string("AIGAUTO est : ") + on_off(sys.general.aigauto));
}

const RuleScreen kAigautoScreen{
    35,
    kAigautoRules,
    1100,
    kAigautoColumns,
    "Section '#aigauto'",
    700,
    kLegendTop + 3,
    " CLIC-DROIT :AFFICHE LES PAGES 1->2->3, [00-31]->[32-63]->[64-95]",
    585,
    kAigautoLines,
    [](const System& sys, int r) { return aigauto_rule(sys, r).canton >= 0; },
    [](const System& sys, int r) {
      return aigauto_rule(sys, r).done == 1 ? kGreenGround : kNoGround;
    },
    aigauto_cells,
    [](const System& sys) { return sys.general.aigauto; },
    draw_aigauto_setting,
    569,
};

// ---- Speed limits (38, 39) and halts (40, 41) -------------------------------------------------

// Turnout positions are followed by two more blanks on these two screens.
constexpr const char* kWideTurnoutGap = "  ";

constexpr Column kLimitColumns[] = {{2, "  n°"}, {50, "Cant+-Vi"}, {140, "Conditions à vérifier"}};

constexpr const char* kVitmaxLines[] = {
    "Permet de limiter la vitesse manuelle des trains par canton.  (Vi=Vitesse maxi)",
    "Limitation en fonction du sens de parcours et des conditions.",
    "LIGNE JAUNE = Canton (Train) limité en vitesse.",
};

const VitmaxRule& vitmax_rule(const System& sys, int r) {
  return sys.block.vitmax[static_cast<size_t>(r)];
}

const RuleScreen kVitmaxScreen{
    38,
    kVitmaxRules,
    800,
    kLimitColumns,
    "Section '#balauto'+'vitmax:'",
    2,
    569,
    " CLIC-DROIT :AFFICHE LES PAGES 1<->2, [00-32]<->[32-59]",
    585,
    kVitmaxLines,
    [](const System& sys, int r) { return vitmax_rule(sys, r).canton >= 0; },
    [](const System& sys, int r) {
      return vitmax_rule(sys, r).active == 1 ? kYellowGround : kNoGround;
    },
    [](System& sys, int r, RowTexts& out) {
      const VitmaxRule& rule = vitmax_rule(sys, r);
      out[1] = format("c%-2d %3d", rule.canton, rule.limit);
      out[2] = conditions(sys, rule.cond, kWideTurnoutGap);
    },
    nullptr,
    nullptr,
    0,
};

constexpr const char* kHaltLines[] = {
    "Permet de stopper un train pour éviter qu'il sorte du canton ou arrive en fin de voie.",
    "Arrêt immédiat en fonction du sens de parcours et des conditions  (Vi =sens).",
    "LIGNE ORANGE = Canton (Train) en halte.",
};

const HaltRule& halt_rule(const System& sys, int r) {
  return sys.block.halt[static_cast<size_t>(r)];
}

void draw_halt_setting(System& sys, Surface& s, int y) {
  if (sys.block.halt_inhibit == 0) return;
  s.draw_text_fit(2, y, "La fonction 'HALTE:' est INHIBE depuis le bloc 'HLT' du TCO.", 796);
}

const RuleScreen kHaltScreen{
    40,
    kHaltRules,
    800,
    kLimitColumns,
    "Section '#balauto'+'halt:'",
    2,
    569,
    " CLIC-DROIT :AFFICHE LES PAGES 1<->2, [00-32]<->[32-59]",
    585,
    kHaltLines,
    [](const System& sys, int r) { return halt_rule(sys, r).canton >= 0; },
    [](const System& sys, int r) {
      return halt_rule(sys, r).active == 1 ? kOrangeGround : kNoGround;
    },
    [](System& sys, int r, RowTexts& out) {
      const HaltRule& rule = halt_rule(sys, r);
      out[1] = canton_and_direction(rule.canton, rule.direction);
      out[2] = conditions(sys, rule.cond, kWideTurnoutGap);
    },
    [](const System& sys) { return sys.block.halt_inhibit; },
    draw_halt_setting,
    633,
};

// ---- Block stops (42-44) ----------------------------------------------------------------------

constexpr Column kCantColumns[] = {{2, "  n°"},
                                   {50, "Cant+-Vi"},
                                   {136, "Ral:"},
                                   {184, "Dec:"},
                                   {232, "CE train plus sur cantons"},
                                   {400, "Conditions à vérifier"}};

constexpr const char* kCantLines[] = {
    "Simulation d'un bloc automatique pour les trains en conduite manuelle.",
    "Arrête un train sur un canton si les conditions de sortie du canton = nok. (Vi =sens)",
    "Colone 'Ral:' Vitesse de ralenti si les conditions de blocage = OK, mais le train encore "
    "sur les cantons précédents.",
    "Colone 'Dec:' Décélération = Inertie pour ralentir le train, à moins que celle du train "
    "soit plus faible.",
    "Colone 'CE train plus sur..' Ce train ne doit plus être sur ces cantons, pour enfin "
    "bloquer ce train.",
    "Colonne des variables qui doivent être à l'état indiqué, pour bloquer le train ('|' = ou) "
    "(L'affichage est ici limité à 85 car.).",
    "LIGNE ORANGE = Train bloqué, LIGNE JAUNE = Train ralenti. ",
};

const CantRule& cant_rule(const System& sys, int r) {
  return sys.block.cant[static_cast<size_t>(r)];
}

std::string blank_or(const char* f, int32_t value) {
  return value == -1 ? "" : format(f, value);
}

// The blocage list with "| " for each OR marker, cut after 84 characters.
std::string blocage_text(System& sys, const CantRule& rule) {
  std::string text;
  const auto& list = rule.blocage;
  for (size_t k = 0; k < list.var.size() && list.var[k] >= 0; ++k) {
    text += list.var[k] == kOrMarker ? "| " : condition(sys, list.var[k], list.val[k], "");
    if (text.size() > kConditionCut) return text.substr(0, kConditionCut) + "...";
  }
  return text;
}

int cant_ground(const System& sys, int r) {
  switch (cant_rule(sys, r).state) {
    case 2:
      return kOrangeGround;
    case 1:
      return kYellowGround;
    default:
      return kNoGround;
  }
}

void draw_tempo_setting(System& sys, Surface& s, int y) {
  const int tempo = sys.block.tempo_libe_cant;
  s.draw_text(2, y, "Temporisation '#balauto'+'tempo_libe_cant:'");
  s.draw_text(450, y, format("= %d => %d sec", tempo, tempo / 10));
}

const RuleScreen kCantScreen{
    42,
    kCantRules,
    1100,
    kCantColumns,
    "Section '#balauto'+'cant:'",
    700,
    kLegendTop + 3,
    " CLIC-DROIT :AFFICHE LES PAGES 1->2->3, [00-31]->[32-63]->[64-95]",
    569,
    kCantLines,
    [](const System& sys, int r) { return cant_rule(sys, r).canton >= 0; },
    cant_ground,
    [](System& sys, int r, RowTexts& out) {
      const CantRule& rule = cant_rule(sys, r);
      out[1] = canton_and_direction(rule.canton, rule.direction);
      out[2] = blank_or("%2d", rule.ral);
      out[3] = blank_or("%2d", rule.dec);
      out[4] = cantons(rule.plusur);
      out[5] = blocage_text(sys, rule);
    },
    nullptr,
    draw_tempo_setting,
    681,
};

// ---- What every group shares ------------------------------------------------------------------

// Room of column c: up to the next column, the last one up to the screen's right edge.
int column_room(const RuleScreen& rs, size_t c) {
  const int right = c + 1 < rs.columns.size() ? rs.columns[c + 1].x : rs.width;
  return right - rs.columns[c].x - 2;
}

void draw_rule_row(System& sys, Surface& s, const RuleScreen& rs, int r, int y) {
  const bool defined = rs.defined(sys, r);
  const int ground = defined ? rs.ground(sys, r) : kNoGround;
  if (ground != kNoGround) s.fill_rect(1, y, rs.width - 1, y + kRowHeight, ground);
  s.set_text_colour(defined ? kBlack : kGrey);
  s.draw_text(rs.columns[0].x, y, format("%3d", r));
  if (!defined) return;
  RowTexts texts;
  rs.cells(sys, r, texts);
  for (size_t c = 1; c < rs.columns.size(); ++c) {
    if (!texts[c].empty()) s.draw_text_fit(rs.columns[c].x, y, texts[c], column_room(rs, c));
  }
}

void rules_redraw(System& sys, Surface& s, const RuleScreen& rs) {
  s.fill_rect(1, kRowsTop, rs.width - 1, kRowsTop + kRowsPerPage * kRowHeight, kWhite);
  s.select_font(Font::Text);
  const int first = (sys.screen.screen_mode - rs.first_screen) * kRowsPerPage;
  for (int row = 0; row < kRowsPerPage; ++row) {
    const int r = first + row;
    if (r >= 0 && r < rs.rules) draw_rule_row(sys, s, rs, r, kRowsTop + row * kRowHeight);
  }
  // A setting drawn below the rows lies outside the copied rectangles: a change repaints.
  if (rs.setting && rs.setting(sys) != sys.blockscreen.shown_setting) sys.host.request_repaint();
}

void rules_paint(System& sys, Surface& s, const RuleScreen& rs, const ScreenInfo& info) {
  frame_paint(s, info);
  s.set_text_colour(kBlack);
  for (size_t c = 0; c < rs.columns.size(); ++c)
    s.draw_text_fit(rs.columns[c].x, kHeadTop, rs.columns[c].head, column_room(rs, c));
  draw_legend_box(s, kLegendTop, rs.legend);
  s.draw_text(rs.subtitle_x, rs.subtitle_y, rs.subtitle);
  // The setting line comes above or below the legend lines.
  const bool setting_first = rs.setting_y < rs.lines_top;
  if (rs.draw_setting && setting_first) rs.draw_setting(sys, s, rs.setting_y);
  int y = rs.lines_top;
  for (const char* line : rs.lines) {
    s.draw_text_fit(2, y, line, rs.width - 4);
    y += kLineStep;
  }
  if (rs.draw_setting && !setting_first) rs.draw_setting(sys, s, rs.setting_y);
  sys.blockscreen.shown_setting = rs.setting ? rs.setting(sys) : -1;
  rules_redraw(sys, s, rs);
}

void rule_screen(System& sys, Surface& s, int mode, const RuleScreen& rs) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      rules_paint(sys, s, rs, *info);
      break;
    case kRedraw:
      rules_redraw(sys, s, rs);
      break;
    case kLeftPress:
      frame_left_press(sys, *info, kLegendTop);
      break;
    case kRightPress:
      screen_next_page(sys);
      break;
    default:
      break;
  }
}

}  // namespace

void aigauto_screen(System& sys, Surface& s, int mode) {
  rule_screen(sys, s, mode, kAigautoScreen);
}

void vitmax_screen(System& sys, Surface& s, int mode) {
  rule_screen(sys, s, mode, kVitmaxScreen);
}

void halt_screen(System& sys, Surface& s, int mode) {
  rule_screen(sys, s, mode, kHaltScreen);
}

void cant_screen(System& sys, Surface& s, int mode) {
  rule_screen(sys, s, mode, kCantScreen);
}
