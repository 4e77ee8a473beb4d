#include "core/screens.h"

#include "block/block_screens.h"
#include "cards/card_screen.h"
#include "cards/servo_screen.h"
#include "clock/clock_screens.h"
#include "core/screen_frame.h"
#include "core/surface.h"
#include "core/system.h"
#include "logic/logic_screens.h"
#include "moves/move_screens.h"
#include "panels/panel_interaction.h"
#include "panels/panel_overlay.h"
#include "panels/panel_render.h"
#include "trains/canton_screens.h"
#include "trains/train_screens.h"
#include "turnouts/aig_screen.h"

namespace {

constexpr CopyRect kDefaultRect{1, 32, 798, 512};

// Panels 0..7: drawn whole from the panel store at every tick redraw. In run mode their clicks
// go to panel_event; while an overlay is open its mouse events and the typed characters are the
// overlay's.
void panel_screen(System& sys, Surface& s, int mode) {
  const int panel = sys.screen.screen_mode;
  if (mode == kRedraw || mode == kPaint) {
    paint_panel(sys, s, panel);
    return;
  }
  if (!overlay_event(sys, panel, mode)) panel_event(sys, panel, mode);
}

const ScreenInfo kScreens[] = {
    // clang-format off
    {8, 8, "AFFICHE LES CARACTÉRISTIQUES DES TRAINS", 800, 2, -1, -1, train_screen, 2, {{{1, 100, 798, 600}, {600, 30, 200, 40}}}},
    {57, 57, "AFFICHE LES CARACTÉRISTIQUES DES TRAINS", 800, 2, -1, -1, train_screen, 2, {{{1, 100, 798, 600}, {600, 30, 200, 40}}}},
    {9, 9, "AFFECTATION DES TRAINS SUR LES CANTONS", 800, 2, -1, -1, train_screen, 3, {{{1, 100, 798, 560}, {600, 30, 200, 40}, {147, 60, 303, 16}}}},
    {58, 58, "AFFECTATION DES TRAINS SUR LES CANTONS", 800, 2, -1, -1, train_screen, 3, {{{1, 100, 798, 560}, {600, 30, 200, 40}, {147, 60, 303, 16}}}},
    {10, 16, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES DÉPLACEMENTS (200 maximum)", 800, 2, 10, 16, depl_screen, 1, {{{1, 38, 798, 539}}}},
    {17, 17, "AFFICHE LES PARAMÈTRES ET VALEURS DE L'HORLOGE ZIR", 800, 2, -1, -1, clock_screen, 3, {{{180, 140, 360, 101}, {1, 321, 720, 16}, {20, 440, 760, 21}}}},
    {18, 18, "AFFICHE LES VALEURS DU VIBREUR", 800, 2, -1, -1, vib_screen, 5, {{{40, 160, 720, 161}, {600, 340, 130, 21}, {600, 380, 130, 21}, {180, 460, 395, 95}, {180, 580, 395, 45}}}},
    {19, 20, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES ITINÉRAIRES (50 maximum)", 800, 2, 19, 20, iti_screen, 1, {{{1, 36, 798, 450}}}},
    {21, 21, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES GARAGES   (32 maximum)", 800, 2, -1, -1, garage_screen, 1, {{{0, 36, 800, 522}}}},
    {22, 23, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES AIGUILLAGES   (64 maximum)", 800, 2, 22, 23, aig_screen, 1, {{{1, 36, 343, 540}}}},
    {24, 24, "", 800, 32, -1, -1, card_screen, 1, {{{0, 0, 800, 700}}}},
    {25, 27, "AFFICHE LES VALEURS NON NULLES DES VARIABLES UTILISATEUR (5400-5999)", 800, 2, 25, 27, variables_screen, 2, {{{1, 32, 791, 480}, {1, 568, 798, 34}}}},
    {28, 29, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES CANTONS", 800, 2, 28, 29, cantons_screen, 1, {{kDefaultRect}}},
    {30, 30, "AFFICHE LES VALEURS,DES PARAMÈTRES DES SERVO-MOTEURS", 800, 2, -1, -1, servo_screen, 1, {{{75, 32, 450, 320}}}},
    {31, 31, "AFFICHE LA COMPOSITION DES TABLES DE VÉRITÉS       (50 tables maximum)", 800, 2, -1, -1, truth_table_screen, 1, {{{0, 70, 800, 499}}}},
    {32, 34, "AFFICHE LES VALEURS DU TABLEAU INTERNE 'CANTONS SELECTIFS'  (100 valeurs maximum)", 800, 2, 32, 34, selectif_screen, 1, {{kDefaultRect}}},
    {35, 37, "AFFICHE LES VALEURS DU TABLEAU INTERNE 'AIGAUTO'      (100 lignes maximum)", 1100, 2, 35, 37, aigauto_screen, 1, {{{1, 32, 1098, 512}}}},
    {38, 39, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#balauto'+'vitmax:'  (60 maximum)", 800, 2, 38, 39, vitmax_screen, 1, {{kDefaultRect}}},
    {40, 41, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#balauto'+'halt:'  (60 éléments maximum)", 800, 2, 40, 41, halt_screen, 1, {{kDefaultRect}}},
    {42, 44, "AFFICHE LES VALEURS DU TABLEAU INTERNE '#balauto'+'cant:'      (100 lignes maximum)", 1100, 2, 42, 44, cant_screen, 1, {{{1, 32, 1098, 512}}}},
    {45, 47, "AFFICHE LES VALEURS DU TABLEAU INTERNE  '#exe:'    (100 éléments maximum)", 1100, 2, 45, 47, exe_screen, 1, {{{1, 32, 1098, 512}}}},
    {48, 48, "AFFICHE LA COMPOSITION DES TABLES DE VÉRITÉS    Partie 'pulse:'  (32 maximum)", 800, 2, -1, -1, pulse_screen, 1, {{{0, 32, 800, 512}}}},
    {49, 56, "AFFICHE LES VALEURS DU TABLEAU INTERNE '#horo'            (255 lignes maximum)", 1100, 2, 49, 56, horo_screen, 3, {{{0, 32, 1100, 512}, {940, 610, 70, 15}, {470, 559, 570, 21}}}},
    {59, 59, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES SEPARATIONS  (100 maximum)", 800, 2, 59, 60, split_join_screen, 1, {{{0, 0, 800, 700}}}},
    {60, 60, "AFFICHE LES VALEURS NON NULLES DES PARAMÈTRES DES REGROUPEMENTS  (100 maximum)", 800, 2, 59, 60, split_join_screen, 1, {{{0, 0, 800, 700}}}},
    // clang-format on
};

}  // namespace

bool is_panel(int screen) {
  return screen >= 0 && screen < kPanels;
}

const ScreenInfo* screen_info(int screen) {
  for (const ScreenInfo& info : kScreens) {
    if (screen >= info.first && screen <= info.last) return &info;
  }
  return nullptr;
}

void screen_call(System& sys, Surface& s, int mode) {
  const int screen = sys.screen.screen_mode;
  if (is_panel(screen)) {
    panel_screen(sys, s, mode);
    return;
  }
  if (const ScreenInfo* info = screen_info(screen)) info->entry(sys, s, mode);
}

bool screen_next_page(System& sys) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info || info->page_first < 0) return false;
  const int next = sys.screen.screen_mode + 1;
  show_screen(sys, next > info->page_last ? info->page_first : next);
  return true;
}

void show_screen(System& sys, int screen) {
  if (screen != sys.screen.screen_mode) {
    // A button held on the panel that leaves the view lets go.
    panel_let_go(sys);
    if (sys.screen.screen_mode == kCardScreen) leave_card_screen(sys);
    close_train_dialog(sys);
  }
  sys.screen.screen_mode = screen;
  if (is_panel(screen)) {
    sys.screen.last_panel = screen;
  } else {
    sys.host.request_repaint();
  }
}
