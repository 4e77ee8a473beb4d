#include "cards/card_screen.h"

#include <algorithm>
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

constexpr int kEnter = 13;
constexpr int kMaxSpeed = 64;
constexpr int kBarTop = 290;     // the canton and potentiometer bars span y 290..545
constexpr int kBarBottom = 545;  // (inclusive)
constexpr int kBarZero = 418;    // speed = (418 - y) / 2 on a canton's bar
constexpr int kMuxLetters = 9;   // matrixed inputs A..I ...
constexpr int kMuxRows = 4;      // ... by 0..3
constexpr int kFirstDirectInput = 40;
constexpr int kShownSlots = 4;  // direct-access rows on the screen
constexpr int kRightColumn = 702;
constexpr int kRightRoom = 96;  // the right-hand legend column, up to x = 798

// Grounds and texts.
constexpr int kGreen = 34, kRed = 30, kYellow = 6, kBlue = 22, kWhite = 7;
constexpr int kBlack = 0, kBlueText = 13, kRedText = 4;

enum class Area {
  CardButton,
  Output,
  Led,
  LedsShown,
  MuxInput,
  DirectInput,
  CantonMode,
  CantonBar,
  CantonInvert,
  CantonPot,
  PotBar,
  PotInvert,
  PotSelect,
  Servo,
  AddressDec,
  AddressHex,
  DataDec,
  DataHex,
  DataBin,
  Write,
  Read,
  Continuous,
};

// A grid of items: item i stands in column i % per_row, row i / per_row; every `group`
// columns a gap is left. One table drives both drawing and hit-tests.
struct Grid {
  Area area;
  int x, y, w, h;
  int count, per_row, dx, dy;
  int group = 0, gap = 0;
};

constexpr int kBarHeight = kBarBottom - kBarTop + 1;

constexpr Grid kGrids[] = {
    {Area::CardButton, 2, 32, 64, 17, kCards, kCards, 70, 0},
    {Area::LedsShown, 712, 32, 36, 17, 1, 1, 0, 0},
    {Area::Output, 2, 70, 17, 17, kOutPerCard, 40, 18, 18, 8, 6},
    {Area::Led, 2, 126, 17, 17, kLedPerCard, 12, 19, 19},
    {Area::MuxInput, 644, 158, 10, 10, kMuxLetters* kMuxRows, kMuxLetters, 16, 12},
    {Area::DirectInput, 380, 178, 10, 10, kInPerCard - kFirstDirectInput, 20, 12, 12},
    {Area::CantonMode, 98, 252, 17, 17, kDetPerCard, kDetPerCard, 26, 0, 4, 8},
    {Area::CantonBar, 98, kBarTop, 20, kBarHeight, kDetPerCard, kDetPerCard, 26, 0, 4, 8},
    {Area::CantonInvert, 98, 550, 20, 17, kDetPerCard, kDetPerCard, 26, 0, 4, 8},
    {Area::CantonPot, 98, 570, 20, 17, kDetPerCard, kDetPerCard, 26, 0, 4, 8},
    {Area::PotBar, 548, kBarTop, 20, kBarHeight, kCanPerCard, kCanPerCard, 30, 0},
    {Area::PotInvert, 548, 550, 20, 17, kCanPerCard, kCanPerCard, 30, 0},
    {Area::PotSelect, 548, 570, 20, 17, kCanPerCard, kCanPerCard, 30, 0},
    {Area::Servo, kRightColumn, 356, 50, 17, kServoPerCard, 1, 0, 22},
    {Area::AddressDec, 2, 612, 100, 17, kShownSlots, 1, 0, 20},
    {Area::AddressHex, 114, 612, 100, 17, kShownSlots, 1, 0, 20},
    {Area::DataDec, 226, 612, 100, 17, kShownSlots, 1, 0, 20},
    {Area::DataHex, 338, 612, 100, 17, kShownSlots, 1, 0, 20},
    {Area::DataBin, 450, 612, 100, 17, kShownSlots, 1, 0, 20},
    {Area::Write, 562, 612, 20, 17, kShownSlots, 1, 0, 20},
    {Area::Read, 586, 612, 20, 17, kShownSlots, 1, 0, 20},
    {Area::Continuous, 610, 612, 20, 17, kShownSlots, 1, 0, 20},
};

struct Box {
  int left, top, right, bottom;  // right and bottom excluded
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

Box item_box(const Grid& g, int i) {
  const int column = i % g.per_row;
  const int row = i / g.per_row;
  const int left = g.x + column * g.dx + (g.group > 0 ? column / g.group * g.gap : 0);
  const int top = g.y + row * g.dy;
  return {left, top, left + g.w, top + g.h};
}

// Texts that never change.
struct Legend {
  int x, y;
  const char* text;
};

constexpr Legend kLegends[] = {
    {2, 2, "Durée du Timer 'tic':     msec"},
    {290, 33, "Rouge=Présente, Vert=Séléctionnée"},
    {630, 33, "En leds:"},
    {2, 52, "Sorties en Vert =allumée, en Rouge =éteinte"},
    {2, 108, "[X]=ZIR, [ ]=Manuel, changer de mode par un clic-droit"},
    {250, 126, "Sorties LEDS multipléxées"},
    {250, 142, "Rouge= OFF, Vert= ON, Jaune= Clignote"},
    {250, 158, "Bleu= Clignote en opposition au jaune"},
    {632, 126, "Entrées mux"},
    {250, 176, " Entrées [2]"},
    {2, 206, "Pour associer un potentiomètre à un canton, dé-sélectionner un canton [X]"},
    {2, 221, "devient [ ], sélectionner un potentiomètre [1] devient [L]"},
    {2, 236, "Sélectionner le canton [1] devient [00]"},
    {548, 252, "Entrées  can"},
    // the column left of the cantons
    {2, 256, "Vert="},
    {2, 270, " Occupé"},
    {2, 284, "Rouge="},
    {2, 298, " Libre"},
    {2, 312, "[X]=ZIR"},
    {2, 326, "[ ]=Man-"},
    {2, 340, "    uel"},
    {2, 354, "Manuel +"},
    {2, 368, "Sélectio"},
    {2, 382, "curseur+"},
    {2, 396, "'*' Plus"},
    {2, 410, "'+' plus"},
    {2, 424, "'-' moins"},
    {2, 438, "'/' Moins"},
    {2, 452, "Attention"},
    {2, 466, "un train"},
    {2, 480, "est peut"},
    {2, 494, "être en"},
    {2, 508, "mode "},
    {2, 522, "sélectif"},
    {2, 546, "[D]irect"},
    {2, 562, "[I]nverse"},
    // servos and direct access, in the right-hand column
    {kRightColumn, 256, "Servo:0,1,2,3,4   Clic+"},
    {kRightColumn, 272, "G=OnOff"},
    {kRightColumn, 288, "D=Manue"},
    {kRightColumn, 304, "G+Valeu"},
    {kRightColumn, 320, "r+Entré"},
    {kRightColumn, 336, "[0-255]"},
    {kRightColumn, 484, "Clic + taper"},
    {kRightColumn, 500, "l'adresse"},
    {kRightColumn, 516, "'W'=Ecriture"},
    {kRightColumn, 532, "'R'=Lecture"},
    {kRightColumn, 548, "'A'=Lecture-"},
    {kRightColumn, 564, "'   continue"},
    {kRightColumn, 580, "'X'=Arrêt LC"},
    {kRightColumn, 596, "Clic sur une"},
    {kRightColumn, 612, "case blanche"},
    {kRightColumn, 628, "adr,taper un"},
    {kRightColumn, 644, "nombre puis"},
    {kRightColumn, 660, "'Entrée'"},
    {kRightColumn, 676, "puis W,R,A"},
    // direct-access heads
    {2, 594, "Adresse_déc"},
    {114, 594, "Adresse_hex"},
    {226, 594, "Données_déc"},
    {338, 594, "Données_hex"},
    {450, 594, "Données_bin"},
    {562, 594, " Actions"},
};

bool valid_card(int card) {
  return card >= 0 && card < kCards;
}

// Table slot of item i of the card in view.
size_t slot(const System& sys, int per_card, int i) {
  return static_cast<size_t>(sys.cardscreen.card * per_card + i);
}

// A canton or potentiometer number (card * 100 + index) as a table slot, or -1.
int numbered_slot(int number, int per_card) {
  const int card = number / 100;
  const int index = number % 100;
  if (number < 0 || !valid_card(card) || index >= per_card) return -1;
  return card * per_card + index;
}

DirectSlot& direct_slot(System& sys, int row) {
  return sys.cardlink.slots[static_cast<size_t>(sys.cardscreen.card * kDirectSlots + row)];
}

bool card_found(const System& sys, int card) {
  return sys.cardlink.serial.card_found[static_cast<size_t>(card)] != 0;
}

// ---- Values shown --------------------------------------------------------------------------

int canton_speed(const System& sys, size_t c) {
  return sys.io.canton_man_flag[c] ? sys.io.canton_man_speed[c] : sys.cantons.Vit_reel[c];
}

int output_value(const System& sys, size_t o) {
  return sys.io.out_man_flag[o] ? sys.io.out_man[o] : sys.io.out[o];
}

// 0 off, 1 on, 2 blinking, 3 blinking in opposite phase.
int led_state(const System& sys, size_t l) {
  const IoImage& io = sys.io;
  const bool manual = io.led_man_flag[l] != 0;
  if ((manual ? io.led_man[l] : io.led[l]) == 0) return 0;
  if ((manual ? io.led_cli_man[l] : io.led_cli[l]) == 0) return 1;
  return (manual ? io.led_phase_man[l] : io.led_phase[l]) != 0 ? 3 : 2;
}

void set_manual_led(IoImage& io, size_t l, int state) {
  io.led_man[l] = state > 0;
  io.led_cli_man[l] = state > 1;
  io.led_phase_man[l] = state > 2;
}

int servo_value(const System& sys, size_t v) {
  return sys.io.srv_man_flag[v] ? sys.io.srv_man[v] : sys.io.srv_pos[v] / 4;
}

bool is_cell(Area a) {
  return a == Area::AddressDec || a == Area::AddressHex || a == Area::DataDec || a == Area::DataHex;
}

CardCell cell_of(Area a) {
  return static_cast<CardCell>(static_cast<int>(a) - static_cast<int>(Area::AddressDec));
}

// ---- Drawing -------------------------------------------------------------------------------

// A box in a ground colour; a box under bus control carries a cross.
void draw_box(Surface& s, const Box& b, int ground, bool crossed) {
  s.select_line(kBlack);
  s.select_fill(ground);
  s.rectangle(b.left, b.top, b.right, b.bottom);
  if (crossed) {
    s.draw_line(b.left + 2, b.top + 2, b.right - 2, b.bottom - 2);
    s.draw_line(b.right - 3, b.top + 2, b.left + 1, b.bottom - 2);
  }
}

// A text in a box, narrowed to its width.
void box_text(Surface& s, const Box& b, int ground, const std::string& text) {
  draw_box(s, b, ground, false);
  s.set_text_colour(kBlack);
  s.draw_text_fit(b.left + 2, b.top + 1, text, b.right - b.left - 3);
}

std::string binary(int value) {
  std::string bits;
  for (int bit = 7; bit >= 0; --bit) bits += (value >> bit) & 1 ? '1' : '0';
  return bits;
}

// A vertical bar inside its outline, filled between two heights.
void draw_bar(Surface& s, const Box& b, int from_y, int to_y, int ground) {
  s.select_line(kBlack);
  s.select_fill(kWhite);
  s.rectangle(b.left, b.top - 1, b.right, b.bottom + 1);
  const int top = std::clamp(std::min(from_y, to_y), b.top, b.bottom);
  const int bottom = std::clamp(std::max(from_y, to_y), b.top, b.bottom);
  if (bottom > top) s.fill_rect(b.left + 1, top, b.right - 1, bottom, ground);
}

void draw_canton_mode(System& sys, Surface& s, const Box& b, int i) {
  const size_t c = slot(sys, kDetPerCard, i);
  draw_box(s, b, sys.io.det[c] ? kGreen : kRed, sys.io.canton_man_flag[c] == 0);
  const bool target = sys.cardscreen.target == sys.cardscreen.card * 100 + i;
  s.set_text_colour(target ? kRedText : kBlueText);
  s.draw_text_fit(b.left, b.bottom + 3, format("%+d", canton_speed(sys, c)), 24);
}

void draw_canton_bar(System& sys, Surface& s, const Box& b, int i) {
  const size_t c = slot(sys, kDetPerCard, i);
  const int speed = std::clamp(canton_speed(sys, c), -kMaxSpeed, kMaxSpeed);
  draw_bar(s, b, kBarZero, kBarZero - 2 * speed, sys.io.canton_man_flag[c] ? kGreen : kBlue);
}

void draw_pot_bar(System& sys, Surface& s, const Box& b, int i) {
  const int value = std::clamp(sys.io.can[slot(sys, kCanPerCard, i)], 0, 255);
  draw_bar(s, b, b.bottom - value, b.bottom, kBlue);
  s.set_text_colour(kBlueText);
  s.draw_text_fit(b.left, b.top - 18, format("%3d", value), 27);
}

std::string pot_text(int pot) {
  if (numbered_slot(pot, kCanPerCard) < 0) return "l";
  return format("%d", pot / 100) + format("%d", pot % 100);
}

// A direct-access cell: its value, or what is being typed when it is the selected cell.
void draw_cell(System& sys, Surface& s, Area a, const Box& b, int row) {
  const CardScreenState& st = sys.cardscreen;
  const DirectSlot& d = direct_slot(sys, row);
  if (is_cell(a) && st.cell == cell_of(a) && st.cell_row == row) {
    box_text(s, b, kYellow, st.buffer);
    return;
  }
  const int address = d.address & 0xFF;
  const int data = d.data & 0xFF;
  switch (a) {
    case Area::AddressDec:
      box_text(s, b, kWhite, format("%3d", address));
      break;
    case Area::AddressHex:
      box_text(s, b, kWhite, format("%02X", address));
      break;
    case Area::DataDec:
      box_text(s, b, kWhite, format("%3d", data));
      break;
    case Area::DataHex:
      box_text(s, b, kWhite, format("%02X", data));
      break;
    default:
      box_text(s, b, kWhite, binary(data));
      break;
  }
}

void draw_servo(System& sys, Surface& s, const Box& b, int i) {
  const CardScreenState& st = sys.cardscreen;
  const size_t v = slot(sys, kServoPerCard, i);
  const Box square{b.left, b.top, b.left + 17, b.bottom};
  draw_box(s, square, st.servo == i ? kGreen : kWhite, sys.io.srv_man_flag[v] == 0);
  s.set_text_colour(kBlueText);
  s.draw_text(b.left + 20, b.top + 1,
              st.servo == i ? st.buffer : format("%3d", servo_value(sys, v)));
}

void draw_item(System& sys, Surface& s, Area a, const Box& b, int i) {
  const CardScreenState& st = sys.cardscreen;
  const IoImage& io = sys.io;
  switch (a) {
    case Area::CardButton: {
      const int ground = !card_found(sys, i) ? kWhite : st.card == i ? kGreen : kRed;
      box_text(s, b, ground, format("carte%d", i));
      break;
    }
    case Area::LedsShown:
      box_text(s, b, kWhite, io.leds_shown[static_cast<size_t>(st.card)] ? "On" : "Off");
      break;
    case Area::Output: {
      const size_t o = slot(sys, kOutPerCard, i);
      draw_box(s, b, output_value(sys, o) ? kGreen : kRed, io.out_man_flag[o] == 0);
      break;
    }
    case Area::Led: {
      if (!io.leds_shown[static_cast<size_t>(st.card)]) break;
      static constexpr int kLedGround[] = {kRed, kGreen, kYellow, kBlue};
      const size_t l = slot(sys, kLedPerCard, i);
      draw_box(s, b, kLedGround[led_state(sys, l)], io.led_man_flag[l] == 0);
      break;
    }
    case Area::MuxInput: {
      if (i < kMuxLetters) {
        s.set_text_colour(kBlack);
        s.draw_text(b.left, b.top - 16, std::string(1, static_cast<char>('A' + i)));
      }
      const int input = (i % kMuxLetters) * kMuxRows + i / kMuxLetters;
      draw_box(s, b, io.in[slot(sys, kInPerCard, input)] ? kGreen : kRed, false);
      break;
    }
    case Area::DirectInput:
      draw_box(s, b, io.in[slot(sys, kInPerCard, kFirstDirectInput + i)] ? kGreen : kRed, false);
      break;
    case Area::CantonMode:
      draw_canton_mode(sys, s, b, i);
      break;
    case Area::CantonBar:
      draw_canton_bar(sys, s, b, i);
      break;
    case Area::CantonInvert:
      box_text(s, b, kWhite, io.canton_inverted[slot(sys, kDetPerCard, i)] ? "I" : "D");
      break;
    case Area::CantonPot:
      box_text(s, b, kWhite, pot_text(st.canton_pot[slot(sys, kDetPerCard, i)]));
      break;
    case Area::PotBar:
      draw_pot_bar(sys, s, b, i);
      break;
    case Area::PotInvert:
      box_text(s, b, kWhite, io.pot_inverted[slot(sys, kCanPerCard, i)] ? "I" : "D");
      break;
    case Area::PotSelect: {
      const bool selected = st.pot == st.card * 100 + i;
      box_text(s, b, selected ? kGreen : kWhite, selected ? "L" : "l");
      break;
    }
    case Area::Servo:
      draw_servo(sys, s, b, i);
      break;
    case Area::Write:
      box_text(s, b, kWhite, "W");
      break;
    case Area::Read:
      box_text(s, b, kWhite, "R");
      break;
    case Area::Continuous: {
      const bool continuous = direct_slot(sys, i).state == 'a';
      box_text(s, b, continuous ? kGreen : kWhite, continuous ? "X" : "A");
      break;
    }
    default:
      draw_cell(sys, s, a, b, i);
      break;
  }
}

void draw_screen(System& sys, Surface& s) {
  const ScreenInfo* info = screen_info(kCardScreen);
  if (!info) return;
  s.fill_rect(0, 0, info->width, kScreenHeight, kWhite);
  s.select_font(Font::Text);
  s.set_text_colour(kBlack);
  for (const Legend& l : kLegends) {
    s.draw_text_fit(l.x, l.y, l.text, l.x >= kRightColumn ? kRightRoom : info->width - l.x);
  }
  const int right = std::min(info->width, s.width());
  s.draw_text_fit(right - 140, 2, "(QUITTER = ESC)", 138);
  s.set_text_colour(kBlueText);
  s.draw_textf(222, 2, "%3d", kTickMs);
  s.draw_textf(320, 2, "Err RS232: %d", sys.cardlink.serial.error_counter);
  s.draw_textf(480, 2, "Tic nb   : %d", sys.ticks.tick);
  for (const Grid& g : kGrids) {
    for (int i = 0; i < g.count; ++i) draw_item(sys, s, g.area, item_box(g, i), i);
  }
  draw_close_box(s, right - 15, info->close_top);
}

// ---- Presses -------------------------------------------------------------------------------

bool find_item(int x, int y, Area& area, int& item) {
  for (const Grid& g : kGrids) {
    for (int i = 0; i < g.count; ++i) {
      if (item_box(g, i).contains(x, y)) {
        area = g.area;
        item = i;
        return true;
      }
    }
  }
  return false;
}

void select_cell(CardScreenState& st, Area a, int row) {
  st.cell = cell_of(a);
  st.cell_row = row;
  st.servo = -1;
}

void left_press_item(System& sys, Area a, int i, int y) {
  CardScreenState& st = sys.cardscreen;
  IoImage& io = sys.io;
  switch (a) {
    case Area::CardButton:
      if (card_found(sys, i)) st.card = i;
      break;
    case Area::LedsShown:
      io.leds_shown[static_cast<size_t>(st.card)] ^= 1;
      break;
    case Area::Output: {
      const size_t o = slot(sys, kOutPerCard, i);
      if (io.out_man_flag[o]) io.out_man[o] = !io.out_man[o];
      break;
    }
    case Area::Led: {
      const size_t l = slot(sys, kLedPerCard, i);
      if (io.leds_shown[static_cast<size_t>(st.card)] && io.led_man_flag[l]) {
        set_manual_led(io, l, (led_state(sys, l) + 1) % 4);
      }
      break;
    }
    case Area::CantonBar: {
      const size_t c = slot(sys, kDetPerCard, i);
      if (io.canton_man_flag[c]) {
        io.canton_man_speed[c] = std::clamp((kBarZero - y) / 2, -kMaxSpeed, kMaxSpeed);
        st.target = st.card * 100 + i;
      }
      break;
    }
    case Area::CantonInvert:
      io.canton_inverted[slot(sys, kDetPerCard, i)] ^= 1;
      break;
    case Area::CantonPot:
      st.canton_pot[slot(sys, kDetPerCard, i)] = st.pot;
      break;
    case Area::PotInvert:
      io.pot_inverted[slot(sys, kCanPerCard, i)] ^= 1;
      break;
    case Area::PotSelect: {
      const int pot = st.card * 100 + i;
      st.pot = st.pot == pot ? -1 : pot;
      break;
    }
    case Area::Servo:
      st.servo = i;
      st.cell = CardCell::None;
      break;
    case Area::Write:
      direct_slot(sys, i).state = 'w';
      break;
    case Area::Read:
      direct_slot(sys, i).state = 'r';
      break;
    case Area::Continuous: {
      DirectSlot& d = direct_slot(sys, i);
      d.state = d.state == 'a' ? 'x' : 'a';
      break;
    }
    default:
      if (is_cell(a)) select_cell(st, a, i);
      break;
  }
}

void left_press(System& sys) {
  const ScreenInfo* info = screen_info(kCardScreen);
  if (!info || frame_left_press(sys, *info, -1)) return;
  CardScreenState& st = sys.cardscreen;
  Area a{};
  int i = 0;
  const int y = sys.screen.press_y;
  const bool hit = find_item(sys.screen.press_x, y, a, i);
  // Any press but one on a manual canton's bar lets go of the keyboard target.
  st.target = -1;
  if (hit) left_press_item(sys, a, i, y);
  sys.host.request_repaint();
}

// Right press: an item goes from bus control to manual (starting from the bus value) or back.
void right_press(System& sys) {
  Area a{};
  int i = 0;
  if (!find_item(sys.screen.press_x, sys.screen.press_y, a, i)) return;
  IoImage& io = sys.io;
  switch (a) {
    case Area::Output: {
      const size_t o = slot(sys, kOutPerCard, i);
      io.out_man_flag[o] ^= 1;
      if (io.out_man_flag[o]) io.out_man[o] = io.out[o];
      break;
    }
    case Area::Led: {
      const size_t l = slot(sys, kLedPerCard, i);
      if (!io.leds_shown[static_cast<size_t>(sys.cardscreen.card)]) return;
      io.led_man_flag[l] ^= 1;
      if (io.led_man_flag[l]) {
        io.led_man[l] = io.led[l];
        io.led_cli_man[l] = io.led_cli[l];
        io.led_phase_man[l] = io.led_phase[l];
      }
      break;
    }
    case Area::CantonBar: {
      const size_t c = slot(sys, kDetPerCard, i);
      io.canton_man_flag[c] ^= 1;
      if (io.canton_man_flag[c]) {
        io.canton_man_speed[c] = std::clamp(sys.cantons.Vit_reel[c], -kMaxSpeed, kMaxSpeed);
      } else if (sys.cardscreen.target == sys.cardscreen.card * 100 + i) {
        sys.cardscreen.target = -1;
      }
      break;
    }
    case Area::Servo: {
      const size_t v = slot(sys, kServoPerCard, i);
      io.srv_man_flag[v] ^= 1;
      if (io.srv_man_flag[v]) io.srv_man[v] = std::clamp(io.srv_pos[v] / 4, 0, 255);
      break;
    }
    default:
      return;
  }
  sys.host.request_repaint();
}

// ---- Keys ----------------------------------------------------------------------------------

// The keyboard target's adjustment keys; false for any other key.
bool adjust_target(System& sys, int ch) {
  const int c = numbered_slot(sys.cardscreen.target, kDetPerCard);
  if (c < 0) return false;
  int32_t& speed = sys.io.canton_man_speed[static_cast<size_t>(c)];
  switch (ch) {
    case '*':
      speed += 10;
      break;
    case '+':
      speed += 1;
      break;
    case '0':
      speed = 0;
      break;
    case '-':
      speed -= 1;
      break;
    case '/':
      speed -= 10;
      break;
    default:
      return false;
  }
  speed = std::clamp(speed, -kMaxSpeed, kMaxSpeed);
  return true;
}

int digit_value(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return 99;
}

// The buffer as a number 0..255 in `base`; false when a character is no digit of the base or
// the number is too large.
bool buffer_number(const std::string& buffer, int base, int& value) {
  value = 0;
  for (char ch : buffer) {
    const int digit = digit_value(ch);
    if (digit >= base) return false;
    value = value * base + digit;
  }
  return value <= 255;
}

// Enter: the buffer goes into the selected servo or direct-access cell.
void store_buffer(System& sys) {
  CardScreenState& st = sys.cardscreen;
  int32_t* target = nullptr;
  int base = 10;
  if (st.servo >= 0 && st.servo < kServoPerCard) {
    target = &sys.io.srv_man[slot(sys, kServoPerCard, st.servo)];
  } else if (st.cell != CardCell::None && st.cell_row >= 0 && st.cell_row < kShownSlots) {
    DirectSlot& d = direct_slot(sys, st.cell_row);
    const bool address = st.cell == CardCell::AddressDec || st.cell == CardCell::AddressHex;
    target = address ? &d.address : &d.data;
    base = st.cell == CardCell::AddressHex || st.cell == CardCell::DataHex ? 16 : 10;
  }
  if (target) {
    int value = 0;
    if (buffer_number(st.buffer, base, value)) {
      *target = value;
    } else {
      sys.host.message_box("ZIR - Avertissement",
                           "Valeur '" + cp1252_to_utf8(st.buffer) +
                               "' refusée : taper un nombre de 0 à 255 (00 à FF en "
                               "hexadécimal).",
                           BoxIcon::Warning);
    }
  }
  st.buffer = "000";
}

void key(System& sys) {
  CardScreenState& st = sys.cardscreen;
  const int ch = sys.screen.last_key;
  if (ch == 'l' || ch == 'L') {
    sys.io.leds_shown[static_cast<size_t>(st.card)] ^= 1;
  } else if (ch == kEnter) {
    store_buffer(sys);
  } else if (!adjust_target(sys, ch) && ch > 0 && ch < 256) {
    st.buffer = st.buffer.substr(1) + static_cast<char>(ch);
  }
  sys.host.request_repaint();
}

void follow_potentiometers(System& sys) {
  IoImage& io = sys.io;
  for (size_t c = 0; c < io.canton_man_flag.size(); ++c) {
    int32_t& pot = sys.cardscreen.canton_pot[c];
    if (pot == -1) continue;
    const int p = numbered_slot(pot, kCanPerCard);
    if (p < 0) {
      pot = -1;
      continue;
    }
    if (io.canton_man_flag[c]) {
      io.canton_man_speed[c] = pot_to_speed(io.can[static_cast<size_t>(p)], false);
    }
  }
}

}  // namespace

void leave_card_screen(System& sys) {
  IoImage& io = sys.io;
  for (size_t c = 0; c < io.canton_man_flag.size(); ++c) {
    if (sys.cardscreen.canton_pot[c] == -1) io.canton_man_flag[c] = 0;
  }
  sys.cardscreen.target = -1;
}

void card_screen_tick(System& sys) {
  CardScreenState& st = sys.cardscreen;
  const bool shown = sys.screen.screen_mode == kCardScreen;
  if (st.shown && !shown) leave_card_screen(sys);
  st.shown = shown;
  follow_potentiometers(sys);
}

void card_screen(System& sys, Surface& s, int mode) {
  if (!valid_card(sys.cardscreen.card)) sys.cardscreen.card = 0;
  switch (mode) {
    case kRedraw:  // the whole screen is the redraw rectangle
    case kPaint:
      draw_screen(sys, s);
      break;
    case kLeftPress:
      left_press(sys);
      break;
    case kRightPress:
      right_press(sys);
      break;
    case kKey:
      key(sys);
      break;
    case kCardTick:
      card_screen_tick(sys);
      break;
    default:
      break;
  }
}
