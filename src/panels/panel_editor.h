// The panel editor: a 400 x 680 window over the panel with the palette of the 60 kinds, the
// block being edited (the edit buffer) and its fields, and a help text for its kind. A left
// click on the panel places the buffer in the cell, a right click copies the cell into it.
#pragma once

#include <cstdint>
#include <span>

struct System;
class Surface;

// Draws the editor window with its left edge at x = `left`.
void paint_editor(System& sys, Surface& s, int left);

// Mouse presses with the editor open, in window pixels, on the panel in view.
void editor_left_press(System& sys, int panel, int x, int y);
void editor_right_press(System& sys, int panel, int x, int y);
// A typed character with the editor open ("+" is the overlay's): digits, space and the text
// characters go to the selected field, Backspace takes the last one back, Ctrl+Z undoes the
// last placement.
void editor_key(System& sys, int32_t ch);

constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeyCtrlZ = 26;

// Puts the edit buffer into a cell of a panel after checking the fields its kind uses; a bad
// field is refused in a box and nothing changes. True when the block was placed.
bool place_block(System& sys, int panel, int x, int y);
// Takes back the last placement still remembered; false when there is none.
bool undo_placement(System& sys);

// The help lines of a kind.
std::span<const char* const> editor_help_lines(int family, int variant);
