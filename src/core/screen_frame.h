// What every table screen shares: the white area, the title line with "(QUITTER = ESC)", the
// close box, and the "CLIC-DROIT" legend box that turns the page.
#pragma once

#include <string_view>

struct System;
struct ScreenInfo;
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

bool in_close_box(const ScreenInfo& info, int x, int y);
bool in_legend_box(int top, int x, int y);

// Left press shared by all table screens: in the close box, back to the last panel; in the
// legend box at `legend_top` (-1 for none), the next page. True when the press was used.
bool frame_left_press(System& sys, const ScreenInfo& info, int legend_top);
// The entry point of a table screen whose content is not built: the frame, the close box and,
// for a screen with pages, a legend box naming them that turns the page when pressed.
void frame_only_screen(System& sys, Surface& s, int mode);
