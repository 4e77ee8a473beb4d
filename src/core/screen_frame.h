// What every table screen shares: the white area, the title line with "(QUITTER = ESC)", the
// close box, and the "CLIC-DROIT" legend box that turns the page.
#pragma once

#include <string_view>

#include "core/screens.h"
#include "core/system.h"

class Surface;

constexpr int kScreenHeight = 700;
constexpr int kCloseBoxSize = 13;
constexpr int kLegendBoxWidth = 97;
constexpr int kLegendBoxHeight = 19;

// Full paint of the frame: white area, text font, title, "(QUITTER = ESC)", close box.
void frame_paint(Surface& s, const ScreenInfo& info);
void draw_close_box(Surface& s, int left, int top);
// The legend box at the left edge, at `top`; its text begins with "CLIC-DROIT".
void draw_legend_box(Surface& s, int top, std::string_view text);

// On a drawing area `area_width` wide (the close box keeps to its right edge).
bool in_close_box(const ScreenInfo& info, int area_width, int x, int y);
bool in_legend_box(int top, int x, int y);

// Left press shared by all table screens: in the close box, back to the last panel; in the
// legend box at `legend_top` (-1 for none), the next page. True when the press was used.
bool frame_left_press(System& sys, const ScreenInfo& info, int legend_top);

// The entry point shared by the table screens: paint, redraw and left press are the screen's
// own, each given the screen's row of the table; a right press turns the page.
template <class Paint, class Redraw, class Press>
void table_screen_call(System& sys, int mode, Paint paint, Redraw redraw, Press press) {
  const ScreenInfo* info = screen_info(sys.screen.screen_mode);
  if (!info) return;
  switch (mode) {
    case kPaint:
      paint(*info);
      break;
    case kRedraw:
      redraw(*info);
      break;
    case kLeftPress:
      press(*info);
      break;
    case kRightPress:
      screen_next_page(sys);
      break;
    default:
      break;
  }
}
