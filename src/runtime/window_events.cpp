#include "runtime/window_events.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cards/card_search.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "moves/garage_table.h"
#include "panels/panel_file.h"
#include "panels/panel_interaction.h"
#include "panels/panel_overlay.h"
#include "runtime/startup.h"
#include "trains/driving.h"

namespace {

// An off-screen surface of the drawing area's size.
Surface client_surface(const System& sys) {
  Surface s(sys.screen.client_width, sys.screen.client_height);
  if (sys.screen.record_texts) s.record_texts();
  return s;
}

// The texts of a drawing of the screen in view, when they are kept (zir-sim).
void keep_drawn_texts(System& sys, const Surface& s) {
  if (sys.screen.record_texts) sys.screen.drawn_texts = s.drawn_texts();
}

// A panel is in view with no overlay open: its clicks work the layout.
bool panel_run_mode(const System& sys) {
  return is_panel(sys.screen.screen_mode) && !overlay_open(sys);
}

// ---- Keys ----------------------------------------------------------------------------------

struct KeySwitch {
  int32_t ch;
  int screen;
};

// The unshifted digit row of a French keyboard gives the accented and punctuation keys.
constexpr KeySwitch kKeySwitches[] = {
    {'0', 0},  {'1', 1},  {'2', 2}, {'3', 3},  {'4', 4},   {'5', 5},  {'6', 6},  {'7', 7},
    {0xE0, 0}, {0xB2, 0}, {'&', 1}, {0xE9, 2}, {'"', 3},   {'\'', 4}, {'(', 5},  {'-', 6},
    {0xE8, 7}, {'8', 8},  {'_', 8}, {'9', 49}, {0xE7, 49}, {')', 10}, {'=', 19},
};

bool is_train_characteristics(int screen) {
  return screen == 8 || screen == 57;
}

// Screens that take typed characters themselves (entry-point mode 3).
bool screen_takes_keys(int screen) {
  return is_panel(screen) || is_train_characteristics(screen) || screen == kCardScreen;
}

// Whether a key then reaches the global handling (driving and screen switches).
bool key_goes_global(const System& sys) {
  const int screen = sys.screen.screen_mode;
  if (screen == kCardScreen) return false;
  // "+" on a panel steps its overlays and nothing else.
  if (is_panel(screen) && (overlay_open(sys) || sys.screen.last_key == '+')) return false;
  // While a train dialog is open, typed characters never drive trains.
  if (is_train_characteristics(screen) && (sys.screen.field_editing || sys.trainscreen.dialog))
    return false;
  return true;
}

// The keyboard driving of trains sees the key first, then the screen switches.
void global_key(System& sys, int32_t ch) {
  keyboard_driving(sys, ch);
  for (const KeySwitch& k : kKeySwitches) {
    if (k.ch == ch) {
      show_screen(sys, k.screen);
      return;
    }
  }
}

// ---- Menu commands -------------------------------------------------------------------------

constexpr const char* kEditConfigText =
    "ZIR va ouvrir le fichier de config avec l'éditeur par défaut\n\nSi ça ne marche pas, éditez "
    "le fichier 'config.txt' dans le répertoire ZIR\n\nN'oubliez pas de le sauver en fin de "
    "modification\n\nPour prendre en compte les modifs\n - vous pouvez recharger le fichier si "
    "la section est rechargeable\n - autrement, il faudra relancer ZIR";

void quit_command(System& sys, int32_t) {
  if (save_panels_before_quit(sys)) sys.host.request_quit();
}

void save_panels_command(System& sys, int32_t) {
  save_panels(sys, kPanelFile);
}

void help_command(System& sys, int32_t) {
  sys.host.message_box("ZIR - Aide", help_text(), BoxIcon::Information);
}

void about_command(System& sys, int32_t) {
  sys.host.message_box("ZIR - A propos", about_text(), BoxIcon::Information);
}

void variable_list_command(System& sys, int32_t) {
  sys.host.message_box("ZIR - Liste des variables", variable_list_text(), BoxIcon::Information);
}

void edit_config_command(System& sys, int32_t) {
  sys.host.message_box("ZIR - Info", kEditConfigText, BoxIcon::Warning);
  sys.host.open_document(std::filesystem::absolute(work_file(sys, "config.txt")).string());
}

void reload_command(System& sys, int32_t) {
  sys.host.message_box("ZIR - Info", reload_box_text(), BoxIcon::Warning);
  reload_config(sys);
  sys.host.request_repaint();  // the screen in view shows the reloaded tables
}

// The panel overlays (help, editor at its first position, render settings) open over the
// panel in view, or over the last panel when a table screen is shown.
void open_overlay(System& sys, char overlay) {
  open_overlay_state(sys, overlay);
  if (!is_panel(sys.screen.screen_mode)) show_screen(sys, sys.screen.last_panel);
}
void panel_help_command(System& sys, int32_t) {
  open_overlay(sys, kOverlayHelp);
}
void panel_edit_command(System& sys, int32_t) {
  open_overlay(sys, kOverlayEditorFirst);
}
void panel_render_command(System& sys, int32_t) {
  open_overlay(sys, kOverlayRender);
}

void card_search_command(System& sys, int32_t) {
  search_cards_again(sys);
}

void remote_key_command(System& sys, int32_t param) {
  sys.screen.remote_key = param & 0xFFFF;
}

using MenuAction = void (*)(System& sys, int32_t param);

// One row per command or range of commands: the screen shown (the first id of the range shows
// `screen`, the next one screen + 1 ...), or an action.
struct MenuCommand {
  int first, last;
  int screen;  // -1 for none
  MenuAction action;
};

constexpr MenuCommand kMenuCommands[] = {
    {902, 902, -1, quit_command},
    {903, 903, -1, help_command},
    {904, 904, -1, about_command},
    {905, 912, 0, nullptr},
    {913, 913, -1, edit_config_command},
    {914, 914, -1, reload_command},
    {915, 915, -1, card_search_command},
    {916, 916, -1, panel_help_command},
    {917, 918, 22, nullptr},
    {919, 920, 28, nullptr},
    {921, 927, 10, nullptr},
    {928, 928, 21, nullptr},
    {929, 929, 17, nullptr},
    {930, 931, 19, nullptr},
    {932, 932, 9, nullptr},
    {933, 935, 32, nullptr},
    {936, 938, 35, nullptr},
    {939, 939, 24, nullptr},
    {940, 940, 30, nullptr},
    {941, 941, -1, panel_edit_command},
    {942, 942, -1, panel_render_command},
    {943, 943, -1, save_panels_command},
    {944, 944, 31, nullptr},
    {945, 945, 8, nullptr},
    {946, 948, 25, nullptr},
    {949, 949, 18, nullptr},
    {950, 950, -1, variable_list_command},
    {951, 952, 38, nullptr},
    {953, 954, 40, nullptr},
    {955, 957, 42, nullptr},
    {958, 960, 45, nullptr},
    {961, 961, 48, nullptr},
    {962, 962, 49, nullptr},
    {963, 968, 50, nullptr},
    {969, 970, 57, nullptr},
    {971, 971, 59, nullptr},
    {972, 972, 60, nullptr},
    {974, 974, 56, nullptr},
    {999, 999, -1, remote_key_command},
};

// ---- Variable list ---------------------------------------------------------------------------

// Tabs from a text `length` characters long up to `column` (tab stops every 8 characters).
void append_tabs_to(std::string& text, size_t length, size_t column) {
  do {
    text += '\t';
    length = (length / 8 + 1) * 8;
  } while (length < column);
}

void copy_rects(System& sys, const Surface& s, const ScreenInfo& info) {
  for (int i = 0; i < info.rect_count; ++i) {
    const CopyRect& r = info.rects[static_cast<size_t>(i)];
    sys.host.present(s, r.x, r.y, r.w, r.h);
  }
}

}  // namespace

// ---- Events --------------------------------------------------------------------------------

void window_key(System& sys, int32_t ch) {
  sys.screen.last_key = ch;
  if (ch == kKeyEscape) {
    if (!overlay_open(sys)) {
      show_screen(sys, sys.screen.last_panel);
    } else {
      sys.screen.panel_mode = kOverlayNone;
    }
    return;
  }
  if (screen_takes_keys(sys.screen.screen_mode)) {
    Surface s = client_surface(sys);
    screen_call(sys, s, kKey);
  }
  if (key_goes_global(sys)) global_key(sys, ch);
}

void window_menu(System& sys, int id, int32_t param) {
  if (is_panel(sys.screen.screen_mode)) sys.screen.last_panel = sys.screen.screen_mode;
  for (const MenuCommand& c : kMenuCommands) {
    if (id < c.first || id > c.last) continue;
    if (c.screen >= 0) show_screen(sys, c.screen + (id - c.first));
    if (c.action) c.action(sys, param);
    break;
  }
  sys.host.request_repaint();
}

void window_mouse_move(System& sys, int x, int y) {
  sys.screen.mouse_x = x;
  sys.screen.mouse_y = y;
}

void window_button_press(System& sys, MouseButton button, int x, int y) {
  window_mouse_move(sys, x, y);
  sys.screen.press_x = x;
  sys.screen.press_y = y;
  Surface s = client_surface(sys);
  screen_call(sys, s, button == MouseButton::Left ? kLeftPress : kRightPress);
}

void window_button_release(System& sys, MouseButton button, int x, int y) {
  window_mouse_move(sys, x, y);
  // A button held down on a panel lets go at the next left release, whatever the screen; so
  // does a canton selection, which a later release on the panel must not take for a drag. A
  // release on a panel in run mode is the panel's own: it may end a drag.
  if (button == MouseButton::Left && !panel_run_mode(sys)) {
    panel_let_go(sys);
    sys.panels.action.selection_held = 0;
  }
  if (!is_panel(sys.screen.screen_mode)) return;
  Surface s = client_surface(sys);
  screen_call(sys, s, button == MouseButton::Left ? kLeftRelease : kRightRelease);
}

void window_paint(System& sys) {
  if (is_panel(sys.screen.screen_mode)) return;
  Surface s = client_surface(sys);
  s.fill_rect(0, 0, s.width(), s.height(), 18);
  screen_call(sys, s, kPaint);
  keep_drawn_texts(sys, s);
  sys.host.present(s, 0, 0, s.width(), s.height());
}

void window_resize(System& sys, int width, int height) {
  sys.screen.client_width = std::min(std::max(width, 0), kMaxClientWidth) + 1;
  sys.screen.client_height = std::min(std::max(height, 0), kMaxClientHeight) + 1;
}

void panel_tick_paint(System& sys) {
  if (sys.ticks.tick % 2 != 0 || !is_panel(sys.screen.screen_mode)) return;
  Surface s = client_surface(sys);
  screen_call(sys, s, kRedraw);
  keep_drawn_texts(sys, s);
  sys.host.present(s, 0, 0, s.width(), s.height());
}

void table_screen_tick_redraw(System& sys) {
  if (sys.ticks.tick % 2 != 0 || is_panel(sys.screen.screen_mode)) return;
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  Surface s = client_surface(sys);
  screen_call(sys, s, kRedraw);
  keep_drawn_texts(sys, s);
  copy_rects(sys, s, *info);
}

// ---- Box texts -----------------------------------------------------------------------------

const char* help_text() {
  return "ZIR commande un réseau de trains miniatures depuis le PC : jusqu'à 4 cartes "
         "d'entrées/sorties sur une liaison série, conduite des trains, cantons, bloc "
         "automatique, aiguillages, déplacements, itinéraires, horloge et TCO.\n\n"
         "Le mode d'emploi est le fichier 'README.md' livré avec ZIR ; la description du "
         "réseau se fait dans le fichier 'config.txt' (menu Fichiers).\n\n"
         "Les erreurs de fonctionnement sont envoyées dans le fichier 'Train_ZIR_log.txt'\n\n"
         "La version V3.7 ne fonctionne qu'avec des cartes PIC 20Mhz en version V3\n"
         "Les cartes en version V2 (tic de 265 ms) ne sont pas reconnues : il faut les "
         "mettre à jour en V3.";
}

const char* about_text() {
  return "ZIR - Commande de trains miniatures\n\n"
         "Version V3.7 pour Linux (GTK 3), décembre 2026\n\n"
         "Nouveautés de cette version :\n"
         " - fenêtre, menus et boîtes de message GTK sous Linux\n"
         " - ports série COM1 à COM6 désignés par leur chemin (/dev/ttyUSB0 ...)\n"
         " - 'config.txt' accepté en UTF-8 ou en Windows-1252\n"
         " - 'zir-sim' pour essayer une configuration sans réseau";
}

std::string variable_list_text() {
  constexpr size_t kNumberColumn = 48;  // the numbers start at this tab stop
  std::string text = "Libellé";
  append_tabs_to(text, 7, kNumberColumn);
  text += "N° de variable\n\n";
  char label[96];
  char numbers[96];
  for (int i = 0; i < kVarRows; ++i) {
    const VarRow& row = kVarTable[i];
    const int count = row.live;  // the garage_lock_ rows accept more labels than sidings exist
    if (row.cards == 4) {
      std::snprintf(label, sizeof label, "%s0 - %s%d", row.prefix, row.prefix, 300 + count - 1);
      std::snprintf(numbers, sizeof numbers, "%02dxx  (%d par carte : %04d-%04d, %04d-%04d ...)",
                    row.base / 100, count, row.base, row.base + count - 1, row.base + 100,
                    row.base + 100 + count - 1);
    } else if (count == 1) {
      std::snprintf(label, sizeof label, "%s", row.prefix);
      std::snprintf(numbers, sizeof numbers, "%04d", row.base);
    } else {
      std::snprintf(label, sizeof label, "%s0 - %s%d", row.prefix, row.prefix, count - 1);
      std::snprintf(numbers, sizeof numbers, "%04d - %04d", row.base, row.base + count - 1);
    }
    text += label;
    append_tabs_to(text, std::strlen(label), kNumberColumn);
    text += numbers;
    text += '\n';
  }
  return text;
}
