// The overlays of the panel screens: the editor at its four positions, the variable help and
// the render settings. One is open at a time (sys.screen.panel_mode); it hides the cells under
// it, is drawn after them and takes the panel's mouse presses while it is open.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/surface.h"

struct System;

constexpr char kOverlayNone = ' ';
constexpr char kOverlayHelp = 'H';
constexpr char kOverlayRender = 'R';
// The editor at positions 1..4 is 'A'..'D'.
constexpr char kOverlayEditorFirst = 'A';
constexpr char kOverlayEditorLast = 'D';

constexpr int kOverlayHeight = 680;
constexpr int kEditorWidth = 400;

bool overlay_open(const System& sys);
// The editor's position 1..4, or 0 when the editor is not open.
int editor_position(char mode);
// Left edge of the editor window at a position 1..4.
int editor_left(int position);
// Whether the open overlay hides cell (x, y) of the panel.
bool overlay_hides_cell(char mode, int x, int y);

// "+": none, editor 1..4, help, render settings, none again. The edit buffer becomes the empty
// kind, as when a menu opens an overlay, and a button held on the panel lets go.
void step_overlay(System& sys);
void open_overlay_state(System& sys, char mode);

// Drawn by the panel paint after the cells.
void paint_overlay(System& sys, Surface& s);

// A mouse event (screen entry-point mode) or typed character on a panel screen: the overlays
// take every mouse event while one is open, "+" always, and the editor's typing. True when the
// event was theirs; otherwise it belongs to the panel's run mode.
bool overlay_event(System& sys, int panel, int mode);

// ---- Drawing helpers shared by the overlays ------------------------------------------------

// Text in the small font, black; narrowed to `room` pixels when wider (0: no limit).
void overlay_text(Surface& s, int x, int y, std::string_view text, int room = 0);
// Text whose characters stand `pitch_tenths` / 10 pixels apart (10 or less), in the small font
// or another.
void overlay_text_pitch(Surface& s, int x, int y, std::string_view text, int pitch_tenths,
                        Font font = Font::Small);
// A box outlined in black, filled with a palette colour (-1: hollow), covering l..r, t..b.
void overlay_box(Surface& s, int l, int t, int r, int b, int fill);
// A box with a text in it, one pixel down and two in from its top-left corner.
void overlay_boxed_text(Surface& s, int l, int t, int r, int b, std::string_view text);
// A swatch of a colour, or of colour 6 crossed for -1 ("no colour").
void overlay_swatch(Surface& s, int l, int t, int w, int h, int colour);
