#include "panels/panel_settings.h"

#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "panels/panel_overlay.h"

namespace {

constexpr int kWidth = 400;
constexpr int kSwatchWidth = 15;
constexpr int kSwatchHeight = 17;
constexpr int kColumns[4] = {220, 260, 300, 340};
constexpr int kTrackSteps = 26;   // colours 0..23, 24 the train's, 25 the canton's
constexpr int kColourSteps = 24;  // colours 0..23
constexpr int kCantonRowsTop = 521;
constexpr int kCantonLeft = 61;
constexpr int kTrainRow = 6;

// What a swatch holds.
enum class Kind { Track, Flag, Colour };

struct Swatch {
  int x, y;   // column and row of the settings table (the box stands 2 pixels higher)
  int index;  // into rendu
  Kind kind;
};

// clang-format off
constexpr Swatch kSwatches[] = {
    {220, 100, 0, Kind::Track},  {260, 100, 1, Kind::Track},  {300, 100, 2, Kind::Flag},  {340, 100, 3, Kind::Flag},
    {220, 120, 4, Kind::Track},  {260, 120, 5, Kind::Track},  {300, 120, 6, Kind::Flag},  {340, 120, 7, Kind::Flag},
    {220, 140, 8, Kind::Track},  {260, 140, 9, Kind::Track},  {300, 140, 10, Kind::Flag}, {340, 140, 11, Kind::Flag},
    {220, 160, 12, Kind::Track}, {260, 160, 13, Kind::Track}, {300, 160, 14, Kind::Flag}, {340, 160, 15, Kind::Flag},
    {220, 180, 16, Kind::Track}, {260, 180, 17, Kind::Track}, {300, 180, 18, Kind::Flag}, {340, 180, 19, Kind::Flag},
    {220, 200, 20, Kind::Track}, {260, 200, 21, Kind::Track}, {300, 200, 22, Kind::Flag}, {340, 200, 23, Kind::Flag},
    {220, 220, 24, Kind::Track}, {260, 220, 25, Kind::Track}, {300, 220, 26, Kind::Flag},
    {220, 300, 28, Kind::Colour}, {260, 300, 29, Kind::Colour}, {300, 300, 30, Kind::Colour}, {340, 300, 31, Kind::Colour},
    {220, 380, 33, Kind::Colour}, {260, 380, 32, Kind::Colour},
    {220, 400, 35, Kind::Colour}, {260, 400, 34, Kind::Colour},
    {220, 420, 37, Kind::Colour}, {260, 420, 36, Kind::Colour},
    {220, 440, 39, Kind::Colour}, {260, 440, 38, Kind::Colour},
    {220, 460, 41, Kind::Colour}, {260, 460, 40, Kind::Colour}, {300, 460, 43, Kind::Colour}, {340, 460, 42, Kind::Colour},
};
// clang-format on

struct Label {
  int y;
  const char* text;
};
constexpr Label kRowLabels[] = {
    {100, "CANTON LIBRE"},         {120, "ERREUR OCCUPATION"},   {140, "CANT MANUEL PROCHAIN"},
    {160, "CANT MANUEL OCCUPÉ"},   {180, "CANT AUTO PROCHAIN"},  {200, "CANT AUTO OCCUPÉ"},
    {220, "GARAGE ISOLÉ"},         {300, "BLOC D'ÉCRAN DE TCO"}, {380, "VOYANT DETECT:-[]-"},
    {400, "POSITION AIGUILLAGE"},  {420, "VOYANTS 1,2,4"},       {440, "VOYANT INTERRUPT/BP"},
    {460, "VOYANT B.ITI+BORD BP"},
};

// Column headers: two lines in boxes over the four columns.
struct Headers {
  int y;
  const char* top[4];
  const char* bottom[4];
};
constexpr Headers kHeaders[] = {
    {60, {"Coul", "Coul", "GROS", "SENS"}, {"RAIL", "FOND", "RAIL", "FLEC"}},
    {270, {"Coul", "Coul", "Coul", "Coul"}, {"FOND", "BALA", "GRIL", "TEXT"}},
    {350, {"Coul", "Coul", "Coul", "Coul"}, {"OFF", "ON", "VOFF", "VON"}},
};

// Free texts of the page: x, y, text.
struct Note {
  int x, y;
  const char* text;
};
constexpr Note kNotes[] = {
    {10, 54, "SI COULEUR : [C]OU[T]"},
    {10, 64, "LA COULEUR DÉPEND DE :"},
    {10, 74, "[C]DU N°DU CANTON,CXXX"},
    {10, 84, "[T]DU N°DU TRAIN,TRAIN"},
    {296, 84, "[O]ui[N]on"},
    {10, 259, "BALA: COULEUR DU BLOC"},
    {10, 269, "DE VOIE,SI LE CANTON "},
    {10, 279, "N'EST PAS DÉFINI     "},
    {285, 390, "COULEURS +/-"},
    {290, 400, "CLIC-DROIT"},
    {295, 410, "OU GAUCHE"},
    {10, 600, "SI 'memorisation_train' : ON, LA"},
    {10, 610, "MODIFICATION DES COULEURS EST SAUVEGARDÉE"},
    {10, 630, "CLIC-GAUCHE:(+)  COULEURS  (-):CLIC-DROIT"},
};

// Section titles in boxes from x 10 to 380.
constexpr Label kTitles[] = {
    {40, " COULEURS DES VOIES"},
    {245, " COULEURS DES BLOCS DU TCO :"},
    {325, " COULEURS DES VOYANTS :"},
    {500, " COULEURS DES CANTONS [C] ET TRAINS [T]"},
};

int wrap(int value, int steps) {
  return (value % steps + steps) % steps;
}

// A swatch of the settings rows: a colour, "T" or "C" on yellow for the train's or the canton's
// colour, and a flag as "O" (yes, green) or "N" (no, grey).
void draw_setting(Surface& s, const Swatch& w, int value) {
  int fill = value;
  const char* mark = nullptr;
  if (w.kind == Kind::Flag) {
    fill = value == 1 ? 2 : 18;
    mark = value == 1 ? "O" : "N";
  } else if (w.kind == Kind::Track && (value == 24 || value == 25)) {
    fill = 6;
    mark = value == 24 ? "T" : "C";
  }
  overlay_box(s, w.x, w.y - 2, w.x + kSwatchWidth, w.y - 2 + kSwatchHeight, fill);
  if (mark) overlay_text(s, w.x + 3, w.y + 1, mark);
}

void paint_frame(Surface& s) {
  overlay_box(s, 0, 0, kWidth - 1, kOverlayHeight - 1, 7);
  overlay_box(s, 385, 2, 398, 15, 7);
  s.draw_line(388, 5, 396, 13);
  s.draw_line(395, 5, 387, 13);
  overlay_boxed_text(s, 40, 4, 360, 14, "TOUCHE '+' : FENÊTRE SUIVANTE");
  overlay_text(s, 320, 17, "ESC:QUIT");
  overlay_boxed_text(s, 80, 20, 300, 30, " CONFIGURATION DU RENDU");
  for (const Label& t : kTitles) overlay_boxed_text(s, 10, t.y, 380, t.y + 10, t.text);
  for (const Note& n : kNotes) overlay_text(s, n.x, n.y, n.text, 383 - n.x);
  for (const Headers& h : kHeaders) {
    for (int c = 0; c < 4; ++c) {
      overlay_boxed_text(s, kColumns[c], h.y, kColumns[c] + 38, h.y + 10, h.top[c]);
      overlay_boxed_text(s, kColumns[c], h.y + 10, kColumns[c] + 38, h.y + 20, h.bottom[c]);
    }
  }
  for (const Label& l : kRowLabels) overlay_boxed_text(s, 20, l.y, 205, l.y + 10, l.text);
}

void paint_canton_colours(System& sys, Surface& s) {
  for (int card = 0; card < 4; ++card) {
    const int y = 520 + 10 * card;
    overlay_boxed_text(s, 10, y, 55, y + 10, format("C%dXX", card));
    for (int k = 0; k < 16; ++k)
      overlay_swatch(s, 60 + 20 * k, y + 1, 12, 8, sys.panels.cant_color[card * 16 + k]);
  }
  for (int k = 0; k < 16; ++k) {
    overlay_boxed_text(s, 60 + 20 * k, 565, 78 + 20 * k, 575, format("%2d", k));
  }
  overlay_boxed_text(s, 10, 580, 55, 590, "TRAIN");
  for (int k = 0; k < 16; ++k) overlay_swatch(s, 60 + 20 * k, 581, 12, 8, sys.trains.color[k]);
}

void paint_legend(Surface& s) {
  for (int c = 0; c < 24; ++c) overlay_swatch(s, 386, 100 + 10 * c, 12, 8, c);
  overlay_box(s, 386, 340, 398, 349, 6);
  overlay_text(s, 388, 340, "T");
  overlay_box(s, 386, 350, 398, 359, 6);
  overlay_text(s, 388, 350, "C");
}

// A click on a swatch box: x and y strictly inside the 15-pixel square at its top-left corner.
bool hits(const Swatch& w, int x, int y) {
  const int top = w.y - 2;
  return x > w.x && x < w.x + kSwatchWidth && y > top && y < top + kSwatchWidth;
}

void step_setting(int32_t& value, Kind kind, bool left) {
  switch (kind) {
    case Kind::Flag:
      value = value == 0 ? 1 : 0;
      break;
    case Kind::Track:
      value = wrap(value + (left ? 1 : kTrackSteps - 1), kTrackSteps);
      break;
    case Kind::Colour:
      value = wrap(value + (left ? 1 : kColourSteps - 1), kColourSteps);
      break;
  }
}

// The canton and train colour grid: rows and columns by truncating division, so the first row
// and column also catch a few pixels before them.
void step_grid_colour(System& sys, bool left, int x, int y) {
  const int row = (y - kCantonRowsTop) / 10;
  const int column = (x - kCantonLeft) / 20;
  if (column < 0 || column > 15) return;
  if (row >= 0 && row <= 3)
    step_setting(sys.panels.cant_color[row * 16 + column], Kind::Colour, left);
  if (row == kTrainRow) step_setting(sys.trains.color[column], Kind::Colour, left);
}

}  // namespace

void paint_settings(System& sys, Surface& s) {
  paint_frame(s);
  for (const Swatch& w : kSwatches) draw_setting(s, w, sys.panels.rendu[w.index]);
  paint_canton_colours(sys, s);
  paint_legend(s);
}

void settings_press(System& sys, bool left, int x, int y) {
  if (x >= 386 && x <= 399 && y >= 1 && y <= 14) {
    sys.screen.panel_mode = kOverlayNone;
    return;
  }
  for (const Swatch& w : kSwatches)
    if (hits(w, x, y)) step_setting(sys.panels.rendu[w.index], w.kind, left);
  step_grid_colour(sys, left, x, y);
}
