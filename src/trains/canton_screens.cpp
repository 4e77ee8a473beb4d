#include "trains/canton_screens.h"

#include <cstdio>
#include <string>

#include "cards/card_link.h"
#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "moves/iti_table.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kBlue = 13, kGrey = 17;
constexpr int kTop = 32;  // the rows fill the redraw rectangle 1, 32, 798, 512
constexpr int kRowHeight = 16;
constexpr int kRows = 32;
constexpr int kHeadTop = 17;
constexpr int kLegendTop = 547;
constexpr int kLinesTop = 569;

void clear_rows(Surface& s) {
  s.fill_rect(1, kTop, 1 + 798, kTop + kRows * kRowHeight, kWhite);
  s.select_font(Font::Text);
}

// ---- Cantons (28, 29) ----------------------------------------------------------------------

constexpr int kCantonColumn = 72;
constexpr int kTempoValueX = 640;

enum class CantonColumn {
  Number,
  Train,
  ResvAUTO,
  VitAUTO,
  ResvMANU,
  Res2MANU,
  Inverse,
  VitMANU,
  Vitesse,
  VitReel,
  Presence
};

struct CantonColumnDef {
  CantonColumn column;
  const char* head;
};

constexpr CantonColumnDef kCantonColumns[] = {
    {CantonColumn::Number, "Cant"},       {CantonColumn::Train, "n° Train"},
    {CantonColumn::ResvAUTO, "ResvAUTO"}, {CantonColumn::VitAUTO, "Vit_AUTO"},
    {CantonColumn::ResvMANU, "ResvMANU"}, {CantonColumn::Res2MANU, "Res2MANU"},
    {CantonColumn::Inverse, "Inversé"},   {CantonColumn::VitMANU, "Vit_MANU"},
    {CantonColumn::Vitesse, "Vitesse"},   {CantonColumn::VitReel, "Vit_réel"},
    {CantonColumn::Presence, "Présence"},
};

constexpr const char* kCantonLegend[] = {
    "ResvAUTO = 1 = Canton réservé par un déplacement en cours",
    "Vit_AUTO     = Vitesse fixée par un déplacement en cours",
    "ResvMANU = 1 = Canton principal en conduite manuelle",
    "Res2MANU = 1 = Canton suivant en conduite manuelle",
    "Inversé  = 1 = Suite à une boucle de retournement, la conduite du train est inversée",
    "Vitesse      = Vitesse brute de consigne des cantons (-64, +64).",
    "Vit_réel     = Vitesse des locomotives en fonction de leurs profils (Vmin,Vmax).",
};

int32_t canton_value(const System& sys, CantonColumn column, size_t c) {
  const CantonTable& t = sys.cantons;
  switch (column) {
    case CantonColumn::ResvAUTO:
      return t.ResvAUTO[c];
    case CantonColumn::VitAUTO:
      return t.Vit_AUTO[c];
    case CantonColumn::ResvMANU:
      return t.ResvMANU[c];
    case CantonColumn::Res2MANU:
      return t.Res2MANU[c];
    case CantonColumn::Inverse:
      return t.Inverse[c];
    case CantonColumn::VitMANU:
      return t.Vit_MANU[c];
    case CantonColumn::Vitesse:
      return t.Vitesse[c];
    case CantonColumn::VitReel:
      return t.Vit_reel[c];
    case CantonColumn::Presence:
      return sys.io.det[c];
    default:
      return 0;
  }
}

void draw_canton_row(System& sys, Surface& s, int row, int first_card) {
  const int card = first_card + row / kDetPerCard;
  const size_t c = static_cast<size_t>(card * kDetPerCard + row % kDetPerCard);
  const int y = kTop + row * kRowHeight;
  int x = 2;
  for (const CantonColumnDef& d : kCantonColumns) {
    if (d.column == CantonColumn::Number) {
      const bool present = sys.cardlink.serial.card_found[static_cast<size_t>(card)] != 0;
      s.set_text_colour(present ? kBlue : kGrey);
      s.draw_text(x, y, format("%4d", card * 100 + row % kDetPerCard));
    } else if (d.column == CantonColumn::Train) {
      const int train = sys.cantons.num_train[c];
      if (train >= 0 && train < kTrainEntries) {
        s.set_text_colour(kBlack);
        s.draw_text(x, y, format("%6d", train));
        s.select_line(kBlack);
        s.select_fill(sys.trains.color[static_cast<size_t>(train)]);
        s.rectangle(x + 62, y + 3, x + 71, y + 12);
      }
    } else if (const int32_t value = canton_value(sys, d.column, c); value != 0) {
      s.set_text_colour(kBlack);
      s.draw_text_fit(x, y, format("%6d", value), kCantonColumn - 2);
    }
    x += kCantonColumn;
  }
}

int first_card(const System& sys) {
  return sys.screen.screen_mode == 29 ? 2 : 0;
}

void cantons_redraw(System& sys, Surface& s) {
  clear_rows(s);
  for (int row = 0; row < kRows; ++row) draw_canton_row(sys, s, row, first_card(sys));
}

void cantons_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  int x = 2;
  for (const CantonColumnDef& d : kCantonColumns) {
    s.draw_text_fit(x, kHeadTop, d.head, kCantonColumn - 2);
    x += kCantonColumn;
  }
  draw_legend_box(s, kLegendTop, " CLIC-DROIT :AFFICHE LES PAGES 1<->2, [000-115]<->[200-315]");
  s.set_text_colour(kBlack);
  int y = kLinesTop;
  for (const char* line : kCantonLegend) {
    s.draw_text_fit(2, y, line, 796);
    y += 16;
  }
  const int tempo = sys.block.tempo_libe_cant;
  s.draw_text_fit(2, y, "Temporisation libération des cantons '#balauto'+'tempo_libe_cant:' :",
                  kTempoValueX - 4);
  char text[64];
  std::snprintf(text, sizeof text, "= %d => %d sec", tempo, tempo / 10);
  s.draw_text(kTempoValueX, y, text);
  cantons_redraw(sys, s);
}

// ---- Direction rules (32-34) ---------------------------------------------------------------

constexpr int kRulesPerPage = 32;

std::string rule_cantons(const std::array<int32_t, kSelRuleSize>& r) {
  char text[64];
  std::snprintf(text, sizeof text, "c%-2d%c --> c%-2d%c", r[kSelFrom], r[kSelFromSign] ? '-' : '+',
                r[kSelTarget], r[kSelTargetSign] ? '-' : '+');
  return text;
}

std::string rule_conditions(const std::array<int32_t, kSelRuleSize>& r) {
  std::string text;
  for (int k = 0; k < kSelectifConditions; ++k) {
    const int32_t turnout = r[static_cast<size_t>(kSelConditions + 2 * k)];
    const int32_t position = r[static_cast<size_t>(kSelConditions + 2 * k + 1)];
    if (turnout < 0) continue;
    text += format("a%d", turnout) + (position ? "=1   " : "=0   ");
  }
  return text;
}

void selectif_redraw(System& sys, Surface& s) {
  clear_rows(s);
  const int first = (sys.screen.screen_mode - 32) * kRulesPerPage;
  for (int row = 0; row < kRulesPerPage; ++row) {
    const int n = first + row;
    if (n < 0 || n >= kSelectifRules) continue;
    const auto& r = sys.selectif.rule[static_cast<size_t>(n)];
    const int y = kTop + row * kRowHeight;
    const bool empty = r[kSelTarget] < 0;
    s.set_text_colour(empty ? kGrey : kBlack);
    s.draw_text(2, y, format("%3d", n));
    if (empty) continue;
    s.draw_text(60, y, rule_cantons(r));
    s.draw_text_fit(250, y, rule_conditions(r), 546);
  }
}

void selectif_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  s.draw_text(2, kHeadTop, "n°Sel");
  s.draw_text(60, kHeadTop, "    Cantons");
  s.draw_text(250, kHeadTop, "  Conditions sur les aiguillages");
  s.draw_text(600, kHeadTop, "Section '#selectif'");
  draw_legend_box(s, kLegendTop,
                  " CLIC-DROIT :AFFICHE LES PAGES 1->2->3, [00-31]->[32-63]->[64-95]");
  const char* lines[] = {
      "Mode de passage d'un canton à l'autre, en fonction du sens de parcours du canton",
      "  cX+ --> cY+ = Train qui avance sur le canton X avancera sur le canton Y",
      "  cX+ --> cY- = Train qui avance sur le canton X reculera sur le canton Y",
      "  cX- --> cY+ = Train qui reculera sur le canton X avancera sur le canton Y",
      "  cX- --> cY- = Train qui reculera sur le canton X reculera sur le canton Y",
  };
  s.set_text_colour(kBlack);
  int y = kLinesTop;
  for (const char* line : lines) {
    s.draw_text_fit(2, y, line, 796);
    y += 16;
  }
  selectif_redraw(sys, s);
}

// ---- Split and join (59, 60) --------------------------------------------------------------

constexpr int kSplitColumns = 4;
constexpr int kSplitRows = kSplitEntries / kSplitColumns;
constexpr int kSplitColumnWidth = 200;
constexpr int kSplitHeadTop = 130;
constexpr int kSplitTop = 148;
constexpr int kSplitLegendTop = 570;

bool split_page(const System& sys) {
  return sys.screen.screen_mode == 59;
}

std::string position(int32_t p) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%-3d", p >= 1000 ? 'g' : 'c', p >= 1000 ? p - 1000 : p);
  return text;
}

void split_join_rows(System& sys, Surface& s) {
  const auto& table = split_page(sys) ? sys.iti.separe : sys.iti.regroupe;
  for (int n = 0; n < kSplitEntries; ++n) {
    const auto& e = table[static_cast<size_t>(n)];
    const int x = n / kSplitRows * kSplitColumnWidth;
    const int y = kSplitTop + n % kSplitRows * kRowHeight;
    const bool defined = e[SPLIT_TRIGGER] != -1;
    s.set_text_colour(defined ? kBlack : kGrey);
    s.draw_text(x + 2, y, format("  %2d", n));
    if (!defined) continue;
    s.draw_text(x + 60, y, position(e[SPLIT_POS_A]) + " " + position(e[SPLIT_POS_B]));
  }
}

void split_join_paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  const bool split = split_page(sys);
  const char* lines[] = {
      "Section '#iti'+'separe:' ou 'regroupe:'",
      split ? "SEPARE : Permet de séparer un train pour donner une locomotive + wagons."
            : "REGROUPE : Permet de regrouper une locomotive + wagons en un train.",
      "Affiche la description des variables, mais pas leur valeurs qui sont transitoires (raz "
      "automatique)",
      split ? "La mise à 1 de ces variables est équivalent aux gestes fait avec la souris pour "
              "une séparation."
            : "La mise à 1 de ces variables est équivalent aux gestes fait avec la souris pour "
              "un regroupement.",
      split ? "Si 'separe_xx' = 1, provoque la séparation logique du train sur les cantons "
              "affichés."
            : "Si 'regroupe_xx' = 1, provoque le regroupement logique de loco + wagons sur les "
              "cantons affichés.",
  };
  s.set_text_colour(kBlack);
  int y = 24;
  for (const char* line : lines) {
    s.draw_text_fit(2, y, line, 796);
    y += 18;
  }
  for (int c = 0; c < kSplitColumns; ++c) {
    s.draw_text(c * kSplitColumnWidth + 2, kSplitHeadTop, "  n°");
    s.draw_text(c * kSplitColumnWidth + 50, kSplitHeadTop, " Cantons");
  }
  draw_legend_box(s, kSplitLegendTop,
                  " CLIC-DROIT : AFFICHE LES PAGES [SEPARATION]<->[REGROUPEMENT].");
  split_join_rows(sys, s);
}

// The whole screen is the redraw rectangle.
void split_join_redraw(System& sys, Surface& s) {
  if (const ScreenInfo* info = screen_info(sys.screen.screen_mode)) split_join_paint(sys, s, *info);
}

template <auto Paint, auto Redraw, int LegendTop = kLegendTop>
void list_screen(System& sys, Surface& s, int mode) {
  table_screen_call(
      sys, mode, [&](const ScreenInfo& info) { Paint(sys, s, info); },
      [&](const ScreenInfo&) { Redraw(sys, s); },
      [&](const ScreenInfo& info) { frame_left_press(sys, info, LegendTop); });
}

}  // namespace

void cantons_screen(System& sys, Surface& s, int mode) {
  list_screen<cantons_paint, cantons_redraw>(sys, s, mode);
}

void selectif_screen(System& sys, Surface& s, int mode) {
  list_screen<selectif_paint, selectif_redraw>(sys, s, mode);
}

void split_join_screen(System& sys, Surface& s, int mode) {
  list_screen<split_join_paint, split_join_redraw, kSplitLegendTop>(sys, s, mode);
}
