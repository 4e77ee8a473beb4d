#include "cards/servo_screen.h"

#include <cstdio>
#include <string>

#include "cards/card_link.h"
#include "core/screen_frame.h"
#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"

namespace {

constexpr int kLeft = 75;  // the table fills the redraw rectangle 75, 32, 450, 320
constexpr int kTop = 32;
constexpr int kRowHeight = 16;
constexpr int kRows = kCards * kServoPerCard;
constexpr int kBottom = kTop + kRows * kRowHeight;
constexpr int kSpeedIndex = 10;  // srv_cmd_ 10..14 are the speeds
constexpr int kFullRange = 1023;
constexpr int kBarThreshold = 18;  // shorter values draw no bar

enum class Column { Number, Setpoint, Position, Bars, Speed, Time, Reserved };

struct ColumnDef {
  Column column;
  const char* head;
  int width;
};

constexpr ColumnDef kColumns[] = {
    {Column::Number, "n°SERVO", 70},    {Column::Setpoint, "Consigne", 60},
    {Column::Position, "Position", 60}, {Column::Bars, "Cons/Pos", 70},
    {Column::Speed, "Vitesse", 60},     {Column::Time, "  Temps", 60},
    {Column::Reserved, "Srv.Résv", 70},
};

constexpr const char* kLegend[] = {
    "Consigne = Valeur à atteindre de 0 à 1023 (Valeur centrale = 512),",
    "           est convertie entre 0 et 255 dans la trame RS232 pour le PIC.",
    "Position = Position actuelle (réelle) du servo.",
    "           Derniére valeur utilisée (nb de pas du servo pour 1 tic).",
    "Vitesse  = Nb de pas du servo pour 1 tic (Dernière valeur utilisée de 1 à 1023).",
    "Temps    = Temps de déplacement pour aller d'une extrémité à l'autre en secondes.",
    "Srv.Résv = Servo résérvé.",
    "Dans 'config.txt', section '#tdv'",
    "  Utiliser les variables : 'srv_cmd_0 + srv_cmd_10' = 'Consigne + Vitesse' servo n° 0.",
    "  Le n° de variable de la vitesse = au n° du servo + 10.",
    "  La position réelle du servo = 'srv_pos_xxx'.",
    "  Utiliser les commandes '=var' ou '=val' pour commander un servo (Donner aussi la "
    "vitesse).",
    "  Utiliser la commande '=varx4' pour utiliser une entrée CAN pour commander un servo.",
};
constexpr int kLegendTop = 360;

// Seconds to travel the whole range at a speed; "-" when the servo does not move.
std::string travel_time(int speed) {
  if (speed <= 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", kTickMs * kFullRange / (speed * 1000.0));
  return text;
}

void draw_bar(Surface& s, int left, int width, int top, int value, int ground) {
  if (value <= kBarThreshold) return;
  const int length = std::min(value, kFullRange) * width / kFullRange;
  s.fill_rect(left, top, left + length, top + 4, ground);
}

void draw_row(System& sys, Surface& s, int servo) {
  const int card = servo / kServoPerCard;
  const int index = servo % kServoPerCard;
  const IoImage& io = sys.io;
  const size_t cmd = static_cast<size_t>(card * kSrvCmdPerCard + index);
  const size_t item = static_cast<size_t>(servo);
  const int setpoint = io.srv_cmd[cmd];
  const int position = io.srv_pos[item];
  const int speed = io.srv_cmd[cmd + kSpeedIndex];
  const int y = kTop + servo * kRowHeight;
  int x = kLeft;
  for (const ColumnDef& c : kColumns) {
    std::string text;
    s.set_text_colour(0);
    switch (c.column) {
      case Column::Number: {
        const bool found = card == 0 || sys.cardlink.serial.card_found[static_cast<size_t>(card)];
        s.set_text_colour(found ? 13 : 18);
        text = format("%4d", card * 100 + index);
        break;
      }
      case Column::Setpoint:
        text = format("%6d", setpoint);
        break;
      case Column::Position:
        text = format("%6d", position);
        break;
      case Column::Bars:
        draw_bar(s, x + 1, c.width - 2, y + 3, setpoint, 22);
        draw_bar(s, x + 1, c.width - 2, y + 9, position, 34);
        break;
      case Column::Speed:
        text = speed == 0 ? "" : format("%6d", speed);
        break;
      case Column::Time:
        text = travel_time(speed);
        break;
      case Column::Reserved:
        text = io.srv_reserved[item] == 0 ? "" : format("%6d", io.srv_reserved[item]);
        break;
    }
    if (!text.empty()) s.draw_text_fit(x + 2, y + 1, text, c.width - 3);
    x += c.width;
  }
}

void redraw(System& sys, Surface& s) {
  int right = kLeft;
  for (const ColumnDef& c : kColumns) right += c.width;
  s.fill_rect(kLeft, kTop, right, kBottom, 7);
  s.select_font(Font::Text);
  s.select_line(0);
  for (int servo = 0; servo < kRows; ++servo) draw_row(sys, s, servo);
  int x = kLeft;
  for (const ColumnDef& c : kColumns) {
    s.draw_line(x, kTop, x, kBottom);
    x += c.width;
  }
  s.draw_line(right - 1, kTop, right - 1, kBottom);
  for (int row = 0; row <= kRows; row += kServoPerCard) {
    const int y = std::min(kTop + row * kRowHeight, kBottom - 1);
    s.draw_line(kLeft, y, right, y);
  }
}

void paint(System& sys, Surface& s, const ScreenInfo& info) {
  frame_paint(s, info);
  int x = kLeft;
  for (const ColumnDef& c : kColumns) {
    s.draw_text_fit(x + 2, 17, c.head, c.width - 3);
    x += c.width;
  }
  for (int line = 0; line < static_cast<int>(std::size(kLegend)); ++line) {
    s.draw_text_fit(2, kLegendTop + line * kRowHeight, kLegend[line], info.width - 4);
  }
  redraw(sys, s);
}

}  // namespace

void servo_screen(System& sys, Surface& s, int mode) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      paint(sys, s, *info);
      break;
    case kRedraw:
      redraw(sys, s);
      break;
    case kLeftPress:
      frame_left_press(sys, *info, -1);
      break;
    default:
      break;
  }
}
