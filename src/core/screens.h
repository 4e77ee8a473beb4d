// The screens by number: panels 0..7, table and debug screens 8..60. Every screen has one entry
// point taking a mode. The screen table says which entry point serves a screen, its title and
// width, the group of pages a right press steps through, and the rectangles copied to the
// window after a tick redraw. The screens of every subsystem and the table-screen frame share
// these declarations; the table itself and the lookups below are defined by the runtime
// (runtime/screens.cpp), the one place that sees every subsystem's screens.
#pragma once

#include <array>
#include <cstdint>

struct System;
class Surface;

// Entry-point modes.
enum ScreenCall : int {
  kRedraw = 0,  // redraw the changing parts (from the tick)
  kPaint = 1,   // full paint
  kLeftPress = 2,
  kKey = 3,  // the character is sys.screen.last_key
  kRightPress = 4,
  kCardTick = 5,      // card screen: per-tick work
  kLeftRelease = 6,   // panels only
  kRightRelease = 7,  // panels only
};

using ScreenEntry = void (*)(System& sys, Surface& s, int mode);

constexpr int kPanels = 8;
constexpr int kLastScreen = 60;
constexpr int kCardScreen = 24;

struct CopyRect {
  int x, y, w, h;
};

struct ScreenInfo {
  int first, last;            // the screens this row serves
  const char* title;          // capitals, drawn at 2, 2
  int width;                  // 800, or 1100 for the wide lists
  int close_top;              // top of the close box: 2, or 32 on the card screen
  int page_first, page_last;  // right press steps through these pages; -1 for none
  ScreenEntry entry;          // the screen's own entry point
  int rect_count;
  std::array<CopyRect, 5> rects;  // copied to the window after a tick redraw
};

bool is_panel(int screen);
// The row for a table screen, or null (panels and unused numbers have none).
const ScreenInfo* screen_info(int screen);
// Calls the entry point of the screen in view with a mode.
void screen_call(System& sys, Surface& s, int mode);
// The next page of the screen's group, wrapping from the last to the first; false when the
// screen has no pages.
bool screen_next_page(System& sys);
// Shows another screen: panels also become the last panel; table screens get a repaint.
void show_screen(System& sys, int screen);
