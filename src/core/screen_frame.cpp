#include "core/screen_frame.h"

#include <algorithm>
#include <string>

#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"

namespace {
constexpr int kScreenWidth = 800;
constexpr int kTitleX = 2;
constexpr int kTitleY = 2;
constexpr int kQuitFromRight = 140;  // "(QUITTER = ESC)" at 660 on an 800-wide screen
constexpr int kCloseFromRight = 15;  // the close box spans 785..798 on an 800-wide screen
constexpr int kTitleGap = 12;        // a title ends before x = 650 on an 800-wide screen

// On a drawing area narrower than the screen, the close box stands at the area's right edge.
int close_left(const ScreenInfo& info, int area_width) {
  return std::min(info.width, area_width) - kCloseFromRight;
}

}  // namespace

void draw_close_box(Surface& s, int left, int top) {
  s.select_line(0);
  s.select_fill(7);
  s.rectangle(left, top, left + kCloseBoxSize, top + kCloseBoxSize);
  s.draw_line(left + 3, top + 3, left + kCloseBoxSize - 3, top + kCloseBoxSize - 3);
  s.draw_line(left + kCloseBoxSize - 4, top + 3, left + 2, top + kCloseBoxSize - 3);
}

void frame_paint(Surface& s, const ScreenInfo& info) {
  s.fill_rect(0, 0, info.width, kScreenHeight, 7);
  s.select_font(Font::Text);
  s.set_text_colour(0);
  // The title has the room left of "(QUITTER = ESC)", which keeps to the area's right edge.
  const int right = std::min(info.width, s.width());
  s.draw_text_fit(kTitleX, kTitleY, info.title, right - kQuitFromRight - kTitleGap);
  s.draw_text_fit(right - kQuitFromRight, kTitleY, "(QUITTER = ESC)",
                  kQuitFromRight - kCloseFromRight - 2);
  draw_close_box(s, close_left(info, s.width()), info.close_top);
}

void draw_legend_box(Surface& s, int top, std::string_view text) {
  s.select_line(0);
  s.select_fill(37);
  s.rectangle(0, top, kLegendBoxWidth + 1, top + kLegendBoxHeight + 1);
  s.set_text_colour(0);
  s.draw_text_fit(2, top + 3, text, kScreenWidth - 4);
}

bool in_close_box(const ScreenInfo& info, int area_width, int x, int y) {
  const int left = close_left(info, area_width);
  return x >= left && x <= left + kCloseBoxSize && y >= info.close_top &&
         y <= info.close_top + kCloseBoxSize;
}

bool in_legend_box(int top, int x, int y) {
  return x >= 0 && x <= kLegendBoxWidth && y >= top && y <= top + kLegendBoxHeight;
}

bool frame_left_press(System& sys, const ScreenInfo& info, int legend_top) {
  const int x = sys.screen.press_x;
  const int y = sys.screen.press_y;
  if (in_close_box(info, sys.screen.client_width, x, y)) {
    show_screen(sys, sys.screen.last_panel);
    return true;
  }
  if (legend_top >= 0 && in_legend_box(legend_top, x, y)) {
    screen_next_page(sys);
    return true;
  }
  return false;
}
