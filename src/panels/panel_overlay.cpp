#include "panels/panel_overlay.h"

#include <string>

#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "panels/panel_editor.h"
#include "panels/panel_help.h"
#include "panels/panel_interaction.h"
#include "panels/panel_settings.h"

namespace {

constexpr int kHiddenRows = 15;  // rows 0..14 lie under every overlay

// The columns an overlay hides, first and last.
struct HiddenColumns {
  char mode;
  int first, last;
};
constexpr HiddenColumns kHiddenColumns[] = {
    {'A', 0, 9},   {'B', 5, 14},          {'C', 10, 19},
    {'D', 19, 28}, {kOverlayHelp, 0, 19}, {kOverlayRender, 0, 9},
};

// The overlay that "+" steps to from each one.
constexpr char kOverlayCycle[] = {kOverlayNone, 'A', 'B', 'C', 'D', kOverlayHelp, kOverlayRender};

void overlay_press(System& sys, int panel, bool left, int x, int y) {
  const char mode = sys.screen.panel_mode;
  if (editor_position(mode)) {
    left ? editor_left_press(sys, panel, x, y) : editor_right_press(sys, panel, x, y);
  } else if (mode == kOverlayRender) {
    settings_press(sys, left, x, y);
  } else if (mode == kOverlayHelp && left) {
    help_press(sys, x, y);
  }
}

}  // namespace

bool overlay_open(const System& sys) {
  return sys.screen.panel_mode != kOverlayNone;
}

int editor_position(char mode) {
  return mode >= kOverlayEditorFirst && mode <= kOverlayEditorLast ? mode - kOverlayEditorFirst + 1
                                                                   : 0;
}

int editor_left(int position) {
  constexpr int kLefts[] = {0, 200, 400, 760};
  return position >= 1 && position <= 4 ? kLefts[position - 1] : 0;
}

bool overlay_hides_cell(char mode, int x, int y) {
  if (y < 0 || y >= kHiddenRows) return false;
  for (const HiddenColumns& h : kHiddenColumns)
    if (h.mode == mode) return x >= h.first && x <= h.last;
  return false;
}

void open_overlay_state(System& sys, char mode) {
  panel_let_go(sys);  // a button held on the panel must not stay pressed under the overlay
  sys.screen.panel_mode = mode;
  sys.panels.editor.buffer.f[CELL_FAMILY] = FAMILY_EMPTY;
}

void step_overlay(System& sys) {
  constexpr int kStates = sizeof kOverlayCycle;
  int i = 0;
  while (i < kStates && kOverlayCycle[i] != sys.screen.panel_mode) ++i;
  open_overlay_state(sys, kOverlayCycle[(i + 1) % kStates]);
}

void paint_overlay(System& sys, Surface& s) {
  const char mode = sys.screen.panel_mode;
  if (const int position = editor_position(mode)) {
    paint_editor(sys, s, editor_left(position));
  } else if (mode == kOverlayHelp) {
    paint_help(s);
  } else if (mode == kOverlayRender) {
    paint_settings(sys, s);
  }
}

bool overlay_event(System& sys, int panel, int mode) {
  if (mode == kKey) {
    const int32_t ch = sys.screen.last_key;
    if (ch == '+') {
      step_overlay(sys);
      return true;
    }
    if (editor_position(sys.screen.panel_mode)) editor_key(sys, ch);
    return overlay_open(sys);
  }
  if (!overlay_open(sys)) return false;
  if (mode == kLeftPress || mode == kRightPress)
    overlay_press(sys, panel, mode == kLeftPress, sys.screen.press_x, sys.screen.press_y);
  return true;
}

// ---- Drawing helpers -----------------------------------------------------------------------

void overlay_text(Surface& s, int x, int y, std::string_view text, int room) {
  s.select_font(Font::Small);
  s.set_text_colour(0);
  s.draw_text_fit(x, y, text, room);
}

void overlay_text_pitch(Surface& s, int x, int y, std::string_view text, int pitch_tenths,
                        Font font) {
  s.select_font(font);
  s.set_text_colour(0);
  s.draw_text_fit(x, y, text, drawn_characters(text) * pitch_tenths / 10);
}

void overlay_box(Surface& s, int l, int t, int r, int b, int fill) {
  s.select_line(0);
  s.select_fill(fill);
  s.rectangle(l, t, r + 1, b + 1);
}

void overlay_boxed_text(Surface& s, int l, int t, int r, int b, std::string_view text) {
  overlay_box(s, l, t, r, b, 7);
  overlay_text(s, l + 2, t + 1, text, r - l - 3);
}

void overlay_swatch(Surface& s, int l, int t, int w, int h, int colour) {
  overlay_box(s, l, t, l + w, t + h, colour == -1 ? 6 : colour);
  if (colour != -1) return;
  s.draw_line(l, t, l + w, t + h);
  s.draw_line(l + w, t, l, t + h);
}
