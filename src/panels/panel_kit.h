// What the renderer and the blocks share while one block is drawn: the block's fields, the
// state of its canton or siding, and the helpers (rails, arrows, frames, discs, lamps, texts,
// pictograms, variables).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "panels/panel_render.h"

struct System;
class Surface;

// The colouring of a block's track by the state of its canton.
struct TrackLook {
  int rail = 0;          // pen
  int fill = -1;         // cell fill, -1 none
  int shape_brush = -1;  // brush of the shapes the block fills (rendu 29 for no canton)
  bool thick = false;
  bool arrows = false;
};

struct BlockCtx {
  BlockCtx(System& system, Surface& surface, const BlockArgs& args)
      : sys(system), s(surface), b(args) {}

  System& sys;
  Surface& s;
  const BlockArgs& b;
  std::array<char, kCellText + 1> txt{};  // the text, blank-padded to 20
  bool relief = false;
  bool palette = false;
  int sens = -1;    // S+ (-1 in palette mode)
  int slot = -1;    // slot of the colouring canton, -1 none
  int siding = -1;  // siding named by CANT 1000..1031
  bool isolated = false;
  TrackLook look;
  int speed = 0;  // raw speed of the canton
  bool detected = false;
  int train = -1;  // train on the canton (start-of-tick copy)

  int x(int dx) const { return b.x + dx; }
  int y(int dy) const { return b.y + dy; }
};

// ---- Shared state readers ----------------------------------------------------------------

// The value of a block's variable; false when the variable is -1 or refused by the bus (the
// refusal is logged once a run).
bool block_var(System& sys, int n, int32_t& value);
// Lit when the variable is defined, accepted and not 0.
bool var_on(System& sys, int n);
// Writes a block's variable; a refusal is logged once a run.
void block_var_write(System& sys, int n, int value);
// Colour index 24 (the train's) or 25 (the canton's) of a rendu entry, resolved.
int resolve_colour(System& sys, int value, int train, int slot);

// ---- Drawing helpers ---------------------------------------------------------------------

// One straight stretch of track in cell coordinates: thick draws it three times.
void rail_line(BlockCtx& c, int x1, int y1, int x2, int y2, bool dashed = false);
// A filled triangle touching an edge ("E", "O", "N", "S") or a corner ("NE" ...).
void draw_arrow(Surface& s, std::string_view dir, int x, int y);
// The arrow of a track whose plus end is `plus` and other end `minus`; with `only`, just that
// one when the canton runs that way.
void track_arrow(BlockCtx& c, std::string_view plus, std::string_view minus,
                 std::string_view only = {});
void draw_frame(System& sys, Surface& s, int l, int t, int r, int b, int style, int fill);
void draw_disc(System& sys, Surface& s, int cx, int cy, int radius, int style, int fill, int pen);
void draw_pictogram(System& sys, Surface& s, int x, int y, const std::array<int, 4>& colours,
                    int opt);
// A lamp rectangle: lit raised in `on`, unlit in `off` with a plain outline (grey in relief).
void lamp_rect(BlockCtx& c, int l, int t, int r, int b, bool lit, int on, int off);
// Text in the small font at cell coordinates; a text of blanks only draws nothing.
void block_text(BlockCtx& c, int dx, int dy, std::string_view text, int colour);
// The horizontal (O-E) or vertical (N-S) rail of track equipment.
void equipment_rail(BlockCtx& c, bool vertical);

// ---- The blocks of families 2 and 3 (panel_blocks.cpp) --------------------------------------

void draw_equipment(BlockCtx& c);
void draw_control(BlockCtx& c);
