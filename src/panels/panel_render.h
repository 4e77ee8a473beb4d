// The panel renderer: a panel of the store drawn with the live state of the layout (tracks
// coloured by canton state and train, arrows, turnouts, lamps, signals, clock, buttons).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "panels/panel_state.h"

struct System;
class Surface;

// The fields of one block as draw_block takes them. The text is read as 20 characters; past
// the end of a shorter text (the palette's) it is blanks.
struct BlockArgs {
  int family = -1;
  int variant = -1;
  int x = 0;  // top-left corner, window pixels
  int y = 0;
  std::string_view text;
  int cant = -1;
  int p1 = -1;  // #1
  int p2 = -1;  // #2
  std::array<int, 4> v{-1, -1, -1, -1};
  std::array<int, 4> c{-1, -1, -1, -1};
  int opt = -1;
  int sens = -1;  // S+; -10 in palette mode
};

BlockArgs cell_block(const TcoCell& cell, int x, int y);

// Paints panel 0..7 on the surface (one paint: the blink counter moves on).
void paint_panel(System& sys, Surface& s, int panel);
// Draws one block with its top-left corner at (b.x, b.y). `overlay_open` fills the block's own
// square instead of the whole background.
void draw_block(System& sys, Surface& s, const BlockArgs& b, bool overlay_open = false);
