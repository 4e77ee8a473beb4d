#include "trains/train_screens.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "cards/card_link.h"
#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "trains/speed_profile.h"

namespace {

constexpr int kWhite = 7, kBlack = 0, kBlue = 13, kGrey = 17, kRed = 4;
constexpr int kRedGround = 30, kGreenGround = 34, kYellowGround = 6, kOrangeGround = 10;
constexpr int kWagonColour = 20;

constexpr int kHeadTop = 80;
constexpr int kListTop = 100;
constexpr int kRowHeight = 20;
constexpr int kListRows = 16;
constexpr int kCell = 50;  // the list's grid
constexpr int kPromptTop = 440;
constexpr int kGridTop = 460;
constexpr int kSidingGridTop = 560;
constexpr int kGridColumns = 16;
constexpr int kCommandLeft = 100;
constexpr int kCommandWidth = 100;
constexpr int kReserveLeft = 25;
constexpr int kReserveWidth = 250;
constexpr int kReserveHeight = 29;
constexpr int kReservePerRow = 3;
constexpr int kPagesArea[] = {600, 30, 800, 70};  // TRAINS / WAGONS
constexpr int kOccupation[] = {147, 60, 450, 76};
constexpr int kBackspace = 8;
constexpr int kEnter = 13;

bool wagon_page(int screen) {
  return screen == 57 || screen == 58;
}
bool editing_page(int screen) {
  return screen == 8 || screen == 57;
}
int first_entry(const System& sys) {
  return wagon_page(sys.screen.screen_mode) ? kTrainEntries / 2 : 0;
}

bool in_auto(const System& sys, int n) {
  return strcasecmp(sys.trains.mode[static_cast<size_t>(n)].c_str(), "AUTO") == 0;
}

void warn(System& sys, const std::string& text) {
  sys.host.message_box("ZIR - Avertissement", text, BoxIcon::Warning);
}

// ---- The list ------------------------------------------------------------------------------

enum class Col { Number, Name, Cmd, Auto, Invrs, Profile, Cons, Vites, Mode, Cantons, Garag, Capt };

struct ColumnDef {
  Col col;
  const char* head;
  int first_cell, cells;  // on the 50-pixel grid
};

constexpr ColumnDef kColumns[] = {
    {Col::Number, "n°TR", 0, 1},  {Col::Name, "Nom  Couleur", 1, 2},
    {Col::Cmd, "Cmd", 3, 1},      {Col::Auto, "Auto", 4, 1},
    {Col::Invrs, "Invrs", 5, 1},  {Col::Profile, "Profile:Vmin,Vmax", 6, 3},
    {Col::Cons, "Cons", 9, 1},    {Col::Vites, "Vites", 10, 1},
    {Col::Mode, "Mode", 11, 1},   {Col::Cantons, "Cantons", 12, 2},
    {Col::Garag, "Garag", 14, 1}, {Col::Capt, "Capt", 15, 1},
};

const ColumnDef* column_at(int x) {
  const int cell = x / kCell;
  for (const ColumnDef& c : kColumns) {
    if (cell >= c.first_cell && cell < c.first_cell + c.cells) return &c;
  }
  return nullptr;
}

std::string inertia(int value) {
  return value == -1 ? "xx" : format("%02d", value);
}

std::string profile_text(const TrainTable& t, size_t n) {
  return format("%02d-", t.vmin[n]) + format("%02d-", t.vmax[n]) + inertia(t.acc[n]) + "-" +
         inertia(t.dec[n]) + "-" + inertia(t.frein[n]);
}

std::string command_text(int cmd) {
  if (cmd >= 0 && cmd < 400 && cmd % 100 < kCanPerCard) return format("P_%d", cmd);
  if (cmd >= kClavCmdBase && cmd < kClavCmdBase + kClavConfs) {
    return format("CLA_%d", cmd - kClavCmdBase);
  }
  return "";
}

void colour_square(Surface& s, int x, int y, int colour) {
  s.select_line(kBlack);
  s.select_fill(colour);
  s.rectangle(x, y + 3, x + 10, y + 13);
}

void draw_list_row(System& sys, Surface& s, int row) {
  const TrainTable& t = sys.trains;
  const int n = first_entry(sys) + row;
  const size_t i = static_cast<size_t>(n);
  const int y = kListTop + row * kRowHeight;
  const bool used = t.en[i] != 0;
  for (const ColumnDef& c : kColumns) {
    const int x = c.first_cell * kCell;
    const int room = c.cells * kCell - 2;
    std::string text;
    s.set_text_colour(kBlack);
    switch (c.col) {
      case Col::Number:
        s.set_text_colour(used ? kBlack : kGrey);
        text = format("%2d", n);
        break;
      case Col::Name:
        if (!used) break;
        text = " " + t.name[i];
        colour_square(s, x + room - 12, y, t.color[i]);
        s.set_text_colour(kBlack);
        s.draw_text_fit(x, y + 2, text, room - 14);
        text.clear();
        break;
      case Col::Cmd:
        text = used ? command_text(t.cmd[i]) : "";
        break;
      case Col::Auto:
        text = used ? (t.en_auto[i] ? "  Y" : "  N") : "";
        break;
      case Col::Invrs:
        text = used && t.inv[i] ? " Inv" : "";
        break;
      case Col::Profile:
        text = used ? profile_text(t, i) : "";
        break;
      case Col::Cons:
        text = used && t.cons[i] ? format(" %3d", t.cons[i]) : "";
        break;
      case Col::Vites:
        text = used && t.vit[i] ? format(" %3d", t.vit[i]) : "";
        break;
      case Col::Mode:
        text = used ? (in_auto(sys, n) ? " Auto " : "Manuel") : "";
        break;
      case Col::Cantons:
        text = used ? t.cantons_txt[i] : "";
        break;
      case Col::Garag:
        text = used && t.train_garage[i] >= 0 ? format(" g%d", t.train_garage[i]) : "";
        break;
      case Col::Capt:
        if (!used || t.train_garage[i] >= 0) break;
        s.fill_rect(x, y, x + room, y + kRowHeight - 1, t.capt[i] == 1 ? kWhite : kRedGround);
        text = t.capt[i] == 1 ? "OK" : "PB";
        break;
    }
    if (!text.empty()) s.draw_text_fit(x, y + 2, text, room);
  }
}

// ---- Dialog grids --------------------------------------------------------------------------

struct Cell {
  int x, y, w, h;
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

Cell canton_cell(int k) {  // k = card * 16 + index
  return {(k % kGridColumns) * kCell, kGridTop + (k / kGridColumns) * kRowHeight, kCell,
          kRowHeight};
}
Cell siding_cell(int g) {
  return {(g % kGridColumns) * kCell, kSidingGridTop + (g / kGridColumns) * kRowHeight, kCell,
          kRowHeight};
}
constexpr int kCommandCells = kCards * kCanPerCard + kClavConfs + 1;  // pots, keyboards, none
Cell command_cell(int k) {
  if (k < kCards * kCanPerCard) {
    return {kCommandLeft + (k % kCanPerCard) * kCommandWidth,
            kGridTop + k / kCanPerCard * kRowHeight, kCommandWidth, kRowHeight};
  }
  if (k < kCards * kCanPerCard + kClavConfs) {
    return {kCommandLeft + (k - kCards * kCanPerCard) * kCommandWidth, kGridTop + 4 * kRowHeight,
            kCommandWidth, kRowHeight};
  }
  return {kCommandLeft, kGridTop + 5 * kRowHeight, 5 * kCommandWidth, kRowHeight};
}
Cell reserve_cell(int k) {  // 0 = the default train, then the reserve entries
  return {kReserveLeft + (k % kReservePerRow) * kReserveWidth,
          kGridTop + (k / kReservePerRow) * kReserveHeight, kReserveWidth, kReserveHeight};
}

// Profile dialog: rows VMIN..FREIN; columns: label, five buttons, value, then two wide cells.
constexpr const char* kProfileRows[] = {"VMIN", "VMAX", "ACC", "DEC", "FREIN"};
constexpr const char* kProfileButtons[] = {"-10", "-1", "RAZ", "+1", "+10"};
constexpr int kProfileButtonLeft = 100;
constexpr int kProfileWideLeft = 400;
constexpr int kProfileDecRow = 3;
constexpr int kProfileFreinRow = 4;
constexpr const char* kProfileLegend[] = {
    "Valeurs pour 'ACC', 'DEC' ou 'FREIN':",
    " 1=0,3s Temps de passage de 0 à VMAX",
    " 2=0,4s en secondes.",
    " 3= 0,5s|  4= 0,6s|  5= 0,8s|  6= 1s  ",
    " 7= 1,2s|  8= 1,3s|  9= 1,5s| 10= 1,7s",
    "11= 2s  | 12= 2,3s| 13= 2,7s| 14= 3s  ",
    "15= 3,5s| 16= 4s  | 17= 5s  | 18= 6s  ",
    "19= 7s| 20= 8s| 21= 9s| 22=10s| 23=12s",
    "24=14s| 25=18s| 26=24s| 27=36s| 28=74s",
    "64>=VMAX>=6    28>=ACC>=1     xx=Pas d'inertie",
    "50>=VMIN>=1    28>=DEC>=1",
    "VMAX > VMIN    28>=FREIN>=1",
};

Cell profile_button(int row, int button) {
  return {kProfileButtonLeft + button * kCell, kGridTop + row * kRowHeight, kCell, kRowHeight};
}
Cell profile_wide(int row) {
  return {kProfileWideLeft, kGridTop + row * kRowHeight, 2 * kCell, kRowHeight};
}

void cell_text(Surface& s, const Cell& c, int ground, int colour, const std::string& text) {
  s.select_line(kBlack);
  s.select_fill(ground);
  s.rectangle(c.x, c.y, c.x + c.w + 1, c.y + c.h + 1);
  s.set_text_colour(colour);
  s.draw_text_fit(c.x + 2, c.y + 2, text, c.w - 3);
}

bool card_present(const System& sys, int card) {
  return sys.cardlink.serial.card_found[static_cast<size_t>(card)] != 0;
}

bool siding_defined(const System& sys, int g) {
  return sys.garage.ass_canton[static_cast<size_t>(g)] >= 0;
}

// Ground of a canton in the placing grid: where a lost train stands is yellow.
int placing_ground(const System& sys, size_t c) {
  if (sys.cantons.pb_capt_c[c] == 1) return kRedGround;
  const bool held = sys.cantons.num_train[c] >= 0;
  const bool detected = sys.io.det[c] != 0;
  if (held && detected) return kGreenGround;
  if (detected) return kYellowGround;
  return kWhite;
}

int siding_ground(const System& sys, int g) {
  return sys.garage.state_lock[static_cast<size_t>(g)] ? kGreenGround : kWhite;
}

void draw_location_grids(System& sys, Surface& s, bool placing) {
  for (int k = 0; k < kCantons; ++k) {
    const int colour = card_present(sys, k / kDetPerCard) ? kBlue : kGrey;
    const int ground = placing ? placing_ground(sys, static_cast<size_t>(k)) : kWhite;
    cell_text(s, canton_cell(k), ground, colour, format("C%d", canton_number(k)));
  }
  for (int g = 0; g < kSidings; ++g) {
    cell_text(s, siding_cell(g), placing ? siding_ground(sys, g) : kWhite,
              siding_defined(sys, g) ? kBlue : kGrey, format("g%d", g));
  }
}

std::string train_name(const System& sys, int n) {
  return sys.trains.name[static_cast<size_t>(n)];
}

void draw_dialog(System& sys, Surface& s) {
  const TrainScreenState& st = sys.trainscreen;
  const int n = st.train;
  if (n < 0 || n >= kTrainEntries) return;
  const TrainTable& t = sys.trains;
  const size_t i = static_cast<size_t>(n);
  s.set_text_colour(kBlack);
  std::string prompt;
  switch (st.dialog) {
    case kReserveDialog: {
      prompt = format(" 1 / Choisir un train en réserve ou le train par défaut pour le n° %2d", n);
      cell_text(s, reserve_cell(0), kWhite, kBlack, "Nom par défaut = " + train_name(sys, n));
      for (int r = 0; r < t.reserve_count && r < kReserveEntries; ++r) {
        const size_t row = static_cast<size_t>(kReserveRow0 + r);
        const Cell c = reserve_cell(r + 1);
        cell_text(s, c, kWhite, kBlack,
                  t.name[row] + " " + t.long_name[static_cast<size_t>(r)].substr(0, 30));
        if (t.reserve_color[static_cast<size_t>(r)] >= 0) {
          colour_square(s, c.x + c.w - 12, c.y + 14, t.reserve_color[static_cast<size_t>(r)]);
        }
      }
      break;
    }
    case kLocationDialog:
      prompt = format("2 / Choisir l'emplacement actuel du train n° %2d : '%s'", n,
                      train_name(sys, n).c_str());
      draw_location_grids(sys, s, false);
      break;
    case kCommandDialog: {
      prompt =
          format(st.command_step ? "3 / Choisir le type de commande pour le train n° %2d : '%s'"
                                 : "Choisir le type de commande pour le train n° %2d : '%s'",
                 n, train_name(sys, n).c_str());
      for (int k = 0; k < kCommandCells; ++k) {
        std::string text =
            k < kCards * kCanPerCard ? format(" POT_%03d", k / kCanPerCard * 100 + k % kCanPerCard)
            : k < kCards * kCanPerCard + kClavConfs ? format("CLAVIER_%d", k - kCards * kCanPerCard)
                                                    : "TRAIN ou WAGONS SANS COMMANDES";
        cell_text(s, command_cell(k), kWhite, kBlack, text);
      }
      break;
    }
    case kNameDialog:
      prompt = format(
          "Saisir le nom du train n° %2d   (8 car. maxi (Espace et '-][' autorisé') + valider par "
          "[Entrée]): ",
          n);
      s.draw_text(2, kGridTop, cp1252_to_utf8(st.typed));
      break;
    case kSidingDialog:
      prompt = format("Choisir le garage actuel pour le train n° %2d : '%s'", n,
                      train_name(sys, n).c_str());
      for (int g = 0; g < kSidings; ++g) {
        cell_text(s, siding_cell(g), kWhite, siding_defined(sys, g) ? kBlue : kGrey,
                  format("g%d", g));
      }
      break;
    case kProfileDialog: {
      prompt = format("Ajuster le profil (Vmin-Vmax-Acc-Dec-Frein) pour le train n° %2d : '%s'", n,
                      train_name(sys, n).c_str());
      const int32_t values[] = {t.vmin[i], t.vmax[i], t.acc[i], t.dec[i], t.frein[i]};
      for (int row = 0; row < 5; ++row) {
        const int y = kGridTop + row * kRowHeight;
        s.set_text_colour(kBlack);
        s.draw_text(2, y + 2, kProfileRows[row]);
        for (int b = 0; b < 5; ++b)
          cell_text(s, profile_button(row, b), kWhite, kBlack, kProfileButtons[b]);
        s.set_text_colour(kBlue);
        s.draw_text(kProfileButtonLeft + 5 * kCell + 4, y + 2,
                    row >= 2 && values[row] == -1 ? " xx" : format(" %2d", values[row]));
        if (row == kProfileDecRow) cell_text(s, profile_wide(row), kOrangeGround, kBlack, "DÉFAUT");
        if (row == kProfileFreinRow)
          cell_text(s, profile_wide(row), kGreenGround, kBlack, "FERMER");
      }
      s.set_text_colour(kBlack);
      for (int k = 0; k < 12; ++k) s.draw_text_fit(510, kGridTop + 16 * k, kProfileLegend[k], 288);
      break;
    }
    case kPlacingDialog:
      prompt = format(
          "Indiquer où se trouve actuellement le train n° %2d : '%s'       (Cliquez sur une case "
          "JAUNE)",
          n, train_name(sys, n).c_str());
      draw_location_grids(sys, s, true);
      s.set_text_colour(t.color[i]);
      break;
    default:
      return;
  }
  if (st.dialog != kPlacingDialog) s.set_text_colour(kBlack);
  s.draw_text_fit(2, kPromptTop, prompt, 796);
}

// ---- Command state (8/57, no dialog) -------------------------------------------------------

void draw_command_state(System& sys, Surface& s) {
  const TrainTable& t = sys.trains;
  int y = kPromptTop;
  s.set_text_colour(kBlack);
  s.draw_text_fit(
      2, y, "Affichage non désignable de l'état des commandes des trains : Manettes + Clavier",
      796);
  y += 18;
  for (int card = 0; card < kCards; ++card) {
    if (!card_present(sys, card)) continue;
    for (int p = 0; p < kCanPerCard; ++p) {
      const int x = p * 160;
      const int reading = sys.io.can[static_cast<size_t>(card * kCanPerCard + p)];
      const int speed = pot_to_speed(reading, true);
      s.set_text_colour(kBlack);
      s.draw_text(x, y, format("  POT_%03d :", card * 100 + p));
      if (speed == kBrakeRequest) {
        s.set_text_colour(kGrey);
        s.draw_text(x + 110, y, "frein");
      } else {
        s.draw_text(x + 110, y, format("%4d", speed));
      }
    }
    y += 16;
  }
  for (int k = 0; k < kClavConfs; ++k) {
    const size_t i = static_cast<size_t>(k);
    s.set_text_colour(t.stop_key[i] ? kBlack : kGrey);
    s.draw_text(k * 160, y,
                format("CLAVIER_%d :", k) + format("%4d", level_to_speed(t.clav_level[i])));
    auto key = [](int32_t c) { return c > 0 && c < 256 ? static_cast<char>(c) : ' '; };
    char keys[40];
    std::snprintf(keys, sizeof keys, "Touches   :-%c %c %c+", key(t.minus_key[i]),
                  key(t.stop_key[i]), key(t.plus_key[i]));
    s.draw_text_fit(k * 160, y + 16, cp1252_to_utf8(keys), 156);
  }
  y += 36;
  auto progressive = [&](const char* head, const std::array<int32_t, kProgressiveSlots>& values) {
    std::string text = head;
    for (int32_t v : values) {
      if (v == -1) break;
      text += format("%2d, ", v);
    }
    s.set_text_colour(kBlack);
    s.draw_text_fit(2, y, text, 796);
    y += 16;
  };
  progressive("Paramètres accélération progressive (Vitesses) : ", t.acc_progressif);
  progressive("           décélération progressive (Vitesses) : ", t.dec_progressif);
  s.draw_text(2, y,
              std::string("          Mémorisation position des trains est :") +
                  (sys.general.memorisation_train ? " ACTIF" : " PAS ACTIF"));
}

bool lost_somewhere(const System& sys) {
  for (size_t c = 0; c < kCantons; ++c) {
    if (sys.cantons.pb_capt_c[c] == 1 || (sys.io.det[c] && sys.cantons.num_train[c] < 0))
      return true;
  }
  return false;
}

void redraw(System& sys, Surface& s) {
  const int screen = sys.screen.screen_mode;
  s.fill_rect(1, kListTop, 799, 700, kWhite);
  s.fill_rect(kPagesArea[0], kPagesArea[1], kPagesArea[2], kPagesArea[3], kWhite);
  s.select_font(Font::Text);
  s.set_text_colour(kBlue);
  s.draw_text(kPagesArea[0] + 60, kPagesArea[1] + 12, wagon_page(screen) ? "WAGONS" : "TRAINS");
  for (int row = 0; row < kListRows; ++row) draw_list_row(sys, s, row);
  if (!sys.trainscreen.message.empty()) {
    s.set_text_colour(kRed);
    s.draw_text(2, kListTop + kListRows * kRowHeight, sys.trainscreen.message);
  }
  if (!editing_page(screen)) {
    s.fill_rect(kOccupation[0], kOccupation[1], kOccupation[2], kOccupation[3],
                lost_somewhere(sys) ? kOrangeGround : kWhite);
    s.set_text_colour(kBlack);
    s.draw_text(kOccupation[0] + 2, kOccupation[1], "OCCUPATION : TRAINS => CANTONS");
  }
  if (sys.trainscreen.dialog != kNoDialog) {
    draw_dialog(sys, s);
  } else if (editing_page(screen)) {
    draw_command_state(sys, s);
  }
}

void paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  s.set_text_colour(kBlack);
  if (editing_page(sys.screen.screen_mode)) {
    s.draw_text_fit(2, 22, " Pour ajouter ou enlever un train, cliquez dans la colonne : 'n°TR'.",
                    596);
    s.draw_text_fit(2, 40, " Les modifications ne sont pas sauvegardées dans 'config.txt'.", 596);
  } else {
    s.draw_text_fit(2, 22, " ZIR NE SAIT PLUS OU SE TROUVE LES TRAINS si 'Capt' est en rouge.",
                    596);
    s.draw_text_fit(
        2, 40, " Pour indiquer où se trouve actuellement un train, cliquez sur sa ligne.", 596);
  }
  for (const ColumnDef& c : kColumns) {
    s.draw_text_fit(c.first_cell * kCell, kHeadTop, c.head, c.cells * kCell - 2);
  }
  redraw(sys, s);
}

// ---- Actions -------------------------------------------------------------------------------

void close_dialog(TrainScreenState& st, System& sys) {
  st.dialog = kNoDialog;
  st.typed.clear();
  sys.screen.field_editing = false;
}

void open_dialog(System& sys, int dialog, int n) {
  TrainScreenState& st = sys.trainscreen;
  st.dialog = dialog;
  st.train = n;
  st.typed.clear();
  sys.screen.field_editing = dialog == kNameDialog;
}

// The cantons a train holds are let go, as when its siding isolates it.
void free_cantons(System& sys, int n) {
  CantonTable& c = sys.cantons;
  for (size_t k = 0; k < kCantons; ++k) {
    if (c.num_train[k] != n) continue;
    c.num_train[k] = -1;
    c.ResvMANU[k] = 0;
    c.Res2MANU[k] = 0;
    c.Inverse[k] = 0;
  }
}

void remove_train(System& sys, int n) {
  TrainTable& t = sys.trains;
  const size_t i = static_cast<size_t>(n);
  if (in_auto(sys, n)) {
    sys.trainscreen.message = "Err: Cannot Deactivate an AUTO train";
    return;
  }
  t.en[i] = 0, t.cmd[i] = -1, t.en_auto[i] = 0, t.inv[i] = 0, t.vmin[i] = 0, t.vmax[i] = 64;
  t.acc[i] = t.dec[i] = t.frein[i] = -1;
  t.cons[i] = 0, t.vit[i] = 0, t.mode[i] = "SEL";
  for (size_t k = 0; k < kCantons; ++k) {
    if (sys.cantons.num_train[k] != n) continue;
    sys.cantons.ResvMANU[k] = 0;
    sys.cantons.Inverse[k] = 0;
    sys.cantons.Res2MANU[k] = 0;
  }
  const int g = t.train_garage[i];
  if (g >= 0 && g < kSidings) {
    const size_t gi = static_cast<size_t>(g);
    sys.garage.cmd_lock[gi] = sys.garage.state_lock[gi] = sys.garage.res_auto[gi] = 0;
    sys.garage.num_train[gi] = -1;
  }
  t.train_garage[i] = -1;
}

void add_train(System& sys, int n) {
  TrainTable& t = sys.trains;
  const size_t i = static_cast<size_t>(n);
  const bool wagon = n >= kTrainEntries / 2;
  t.en[i] = 1;
  t.name[i] = wagon ? format("WGON[%2d]", n) : format("TRAIN %2d", n);
  t.en_auto[i] = wagon ? 0 : 1;
  open_dialog(sys, kReserveDialog, n);
}

// Checks before a train is put on canton slot k or parked in siding g (one of them -1).
bool location_refused(System& sys, int n, int k, int g) {
  const TrainTable& t = sys.trains;
  const size_t i = static_cast<size_t>(n);
  if (in_auto(sys, n)) {
    warn(sys, format("Train n° %d refusé : il est conduit par un déplacement.", n));
    return true;
  }
  if (k >= 0) {
    const size_t c = static_cast<size_t>(k);
    const int holder = sys.cantons.num_train[c];
    char text[160];
    if (t.train_garage[i] >= 0) {
      std::snprintf(text, sizeof text,
                    "Train n° %d au garage g%d : le relier d'abord (colonne 'Garag').", n,
                    t.train_garage[i]);
    } else if (holder >= 0 && holder != n) {
      std::snprintf(text, sizeof text, "Canton C%d refusé : il est tenu par le train n° %d.",
                    canton_number(k), holder);
    } else if (sys.cantons.ResvAUTO[c]) {
      std::snprintf(text, sizeof text, "Canton C%d refusé : il est réservé par un déplacement.",
                    canton_number(k));
    } else {
      return false;
    }
    warn(sys, text);
    return true;
  }
  const size_t gi = static_cast<size_t>(g);
  char text[160];
  if (!siding_defined(sys, g)) {
    std::snprintf(text, sizeof text, "Garage g%d refusé : il n'est pas défini.", g);
  } else if (sys.garage.num_train[gi] >= 0 && sys.garage.num_train[gi] != n) {
    std::snprintf(text, sizeof text, "Garage g%d refusé : il contient le train n° %d.", g,
                  sys.garage.num_train[gi]);
  } else if (sys.garage.res_auto[gi]) {
    std::snprintf(text, sizeof text, "Garage g%d refusé : il est réservé par un déplacement.", g);
  } else {
    return false;
  }
  warn(sys, text);
  return true;
}

void put_on_canton(System& sys, int n, int k) {
  const size_t c = static_cast<size_t>(k);
  sys.cantons.num_train[c] = n;
  sys.cantons.ResvMANU[c] = 1;
  sys.cantons.Inverse[c] = 0;
  sys.cantons.Res2MANU[c] = 0;
}

void park(System& sys, int n, int g) {
  const size_t gi = static_cast<size_t>(g);
  free_cantons(sys, n);
  sys.trains.train_garage[static_cast<size_t>(n)] = g;
  sys.garage.cmd_lock[gi] = 1;
  sys.garage.state_lock[gi] = 1;
  sys.garage.num_train[gi] = n;
}

int canton_at(int x, int y) {
  for (int k = 0; k < kCantons; ++k) {
    if (canton_cell(k).contains(x, y)) return k;
  }
  return -1;
}
int siding_at(int x, int y) {
  for (int g = 0; g < kSidings; ++g) {
    if (siding_cell(g).contains(x, y)) return g;
  }
  return -1;
}

// Step 2 of adding, or the placing dialog: true when the train was put somewhere.
bool location_press(System& sys, int x, int y) {
  const int n = sys.trainscreen.train;
  const int k = canton_at(x, y);
  const int g = k < 0 ? siding_at(x, y) : -1;
  if ((k < 0 && g < 0) || location_refused(sys, n, k, g)) return false;
  if (k >= 0) {
    put_on_canton(sys, n, k);
  } else {
    park(sys, n, g);
  }
  return true;
}

void reserve_press(System& sys, int x, int y) {
  TrainTable& t = sys.trains;
  const int n = sys.trainscreen.train;
  const size_t i = static_cast<size_t>(n);
  for (int k = 0; k <= t.reserve_count && k <= kReserveEntries; ++k) {
    if (!reserve_cell(k).contains(x, y)) continue;
    if (k == 0) {
      if (n >= kTrainEntries / 2) t.color[i] = kWagonColour;
    } else {
      const size_t r = static_cast<size_t>(k - 1);
      const size_t row = static_cast<size_t>(kReserveRow0) + r;
      if (t.name[row].empty()) return;
      t.name[i] = t.name[row];
      t.inv[i] = t.inv[row], t.vmin[i] = t.vmin[row], t.vmax[i] = t.vmax[row];
      t.acc[i] = t.acc[row], t.dec[i] = t.dec[row], t.frein[i] = t.frein[row];
      if (t.reserve_color[r] >= 0) t.color[i] = t.reserve_color[r];
    }
    open_dialog(sys, kLocationDialog, n);
    return;
  }
}

void command_press(System& sys, int x, int y) {
  for (int k = 0; k < kCommandCells; ++k) {
    if (!command_cell(k).contains(x, y)) continue;
    int cmd = -1;
    if (k < kCards * kCanPerCard)
      cmd = k / kCanPerCard * 100 + k % kCanPerCard;
    else if (k < kCards * kCanPerCard + kClavConfs)
      cmd = kClavCmdBase + k - kCards * kCanPerCard;
    sys.trains.cmd[static_cast<size_t>(sys.trainscreen.train)] = cmd;
    close_dialog(sys.trainscreen, sys);
    return;
  }
}

void siding_press(System& sys, int x, int y) {
  const int g = siding_at(x, y);
  if (g < 0) return;
  const int n = sys.trainscreen.train;
  const int canton = sys.garage.ass_canton[static_cast<size_t>(g)];
  const int k = canton_slot(canton);
  if (!siding_defined(sys, g) || location_refused(sys, n, -1, g)) return;
  if (k < 0 || sys.cantons.num_train[static_cast<size_t>(k)] != n) {
    warn(sys, format("Garage g%d refusé : ", g) +
                  format("le train n'est pas sur son canton C%d.", canton));
    return;
  }
  sys.garage.cmd_lock[static_cast<size_t>(g)] = 1;
  close_dialog(sys.trainscreen, sys);
}

// One profile button: each value kept in its range, then vmax at least 6 and above vmin.
void profile_press(System& sys, int x, int y) {
  TrainTable& t = sys.trains;
  const size_t i = static_cast<size_t>(sys.trainscreen.train);
  for (int row = 0; row < 5; ++row) {
    if (profile_wide(row).contains(x, y)) {
      if (row == kProfileDecRow) {
        t.vmin[i] = 1, t.vmax[i] = 64, t.acc[i] = t.dec[i] = t.frein[i] = -1;
      } else if (row == kProfileFreinRow) {
        close_dialog(sys.trainscreen, sys);
      }
      return;
    }
    for (int b = 0; b < 5; ++b) {
      if (!profile_button(row, b).contains(x, y)) continue;
      static constexpr int kStep[] = {-10, -1, 0, 1, 10};
      int32_t* values[] = {&t.vmin[i], &t.vmax[i], &t.acc[i], &t.dec[i], &t.frein[i]};
      int32_t& v = *values[row];
      if (row == 0) {
        v = b == 2 ? 1 : std::clamp(v + kStep[b], 1, 50);
      } else if (row == 1) {
        v = b == 2 ? 64 : std::clamp(v + kStep[b], 6, 64);
      } else if (b == 2) {
        v = -1;
      } else if (v == -1) {
        v = kStep[b] == 1 ? 1 : kStep[b] == 10 ? 9 : -1;
      } else {
        v = std::clamp(v + kStep[b], 1, 28);
      }
      t.vmax[i] = std::max(t.vmax[i], 6);
      if (t.vmin[i] >= t.vmax[i]) t.vmin[i] = t.vmax[i] - 1;
      return;
    }
  }
}

void dialog_press(System& sys, int x, int y) {
  switch (sys.trainscreen.dialog) {
    case kReserveDialog:
      reserve_press(sys, x, y);
      break;
    case kLocationDialog:
      if (location_press(sys, x, y)) {
        open_dialog(sys, kCommandDialog, sys.trainscreen.train);
        sys.trainscreen.command_step = true;
      }
      break;
    case kCommandDialog:
      command_press(sys, x, y);
      break;
    case kSidingDialog:
      siding_press(sys, x, y);
      break;
    case kProfileDialog:
      profile_press(sys, x, y);
      break;
    case kPlacingDialog:
      if (location_press(sys, x, y)) close_dialog(sys.trainscreen, sys);
      break;
    default:
      break;
  }
}

void list_press(System& sys, int x, int y) {
  const int row = (y - kListTop) / kRowHeight;
  const ColumnDef* c = column_at(x);
  if (y < kListTop || row >= kListRows || !c) return;
  const int n = first_entry(sys) + row;
  const size_t i = static_cast<size_t>(n);
  TrainTable& t = sys.trains;
  if (!editing_page(sys.screen.screen_mode)) {
    if (t.en[i]) open_dialog(sys, kPlacingDialog, n);
    return;
  }
  if (c->col == Col::Number) {
    if (t.en[i]) {
      remove_train(sys, n);
    } else {
      add_train(sys, n);
    }
    return;
  }
  if (!t.en[i]) return;
  switch (c->col) {
    case Col::Name:
      open_dialog(sys, kNameDialog, n);
      break;
    case Col::Cmd:
      open_dialog(sys, kCommandDialog, n);
      sys.trainscreen.command_step = false;
      break;
    case Col::Auto:
      t.en_auto[i] ^= 1;
      break;
    case Col::Invrs:
      t.inv[i] ^= 1;
      break;
    case Col::Profile:
      open_dialog(sys, kProfileDialog, n);
      break;
    case Col::Garag: {
      const int g = t.train_garage[i];
      if (g < 0) {
        open_dialog(sys, kSidingDialog, n);
      } else if (g < kSidings && sys.garage.res_auto[static_cast<size_t>(g)] == 0) {
        sys.garage.cmd_lock[static_cast<size_t>(g)] = 0;
      }
      break;
    }
    default:
      break;
  }
}

void left_press(System& sys, const ScreenInfo& info) {
  if (frame_left_press(sys, info, -1)) return;
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  TrainScreenState& st = sys.trainscreen;
  st.message.clear();
  const bool pages =
      x >= kPagesArea[0] && x < kPagesArea[2] && y >= kPagesArea[1] && y < kPagesArea[3];
  if (pages && st.dialog == kNoDialog) {
    const int screen = sys.screen.screen_mode;
    show_screen(sys, screen == 8 ? 57 : screen == 57 ? 8 : screen == 9 ? 58 : 9);
    return;
  }
  if (st.dialog != kNoDialog) {
    dialog_press(sys, x, y);
  } else {
    list_press(sys, x, y);
  }
  sys.host.request_repaint();
}

// The name dialog takes every key but ESC.
void key(System& sys) {
  TrainScreenState& st = sys.trainscreen;
  if (st.dialog != kNameDialog) return;
  const int ch = sys.screen.last_key;
  if (ch == kBackspace) {
    if (!st.typed.empty()) st.typed.pop_back();
  } else if (ch == kEnter) {
    if (!st.typed.empty()) {
      std::string name = st.typed;
      name.resize(kNameLength, ' ');
      for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '_')
          c = ' ';
        else if (!(c == ' ' || c == '-' || c == '[' || c == ']' || (u < 128 && std::isalnum(u))))
          c = '-';
      }
      sys.trains.name[static_cast<size_t>(st.train)] = name;
    }
    close_dialog(st, sys);
  } else if (ch > 0 && ch < 256 && st.typed.size() < kNameLength) {
    st.typed += static_cast<char>(ch);
  }
  sys.host.request_repaint();
}

}  // namespace

void close_train_dialog(System& sys) {
  close_dialog(sys.trainscreen, sys);
  sys.trainscreen.message.clear();
}

void train_screen(System& sys, Surface& s, int mode) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  if (sys.trainscreen.train < 0 || sys.trainscreen.train >= kTrainEntries)
    sys.trainscreen.dialog = kNoDialog;
  switch (mode) {
    case kPaint:
      paint(sys, s, *info);
      break;
    case kRedraw:
      redraw(sys, s);
      break;
    case kLeftPress:
      left_press(sys, *info);
      break;
    case kKey:
      key(sys);
      break;
    default:
      break;
  }
}
