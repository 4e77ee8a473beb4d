// For screen tests: what the window shows after a tick redraw against a fresh full paint of the
// same state, pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include "core/screens.h"
#include "core/surface.h"
#include "core/system.h"
#include "runtime/window_events.h"
#include "tools/sim/recording_host.h"

// Paints the screen in view, lets `change` alter the values it shows, runs the tick redraw and
// compares the window with a fresh paint.
template <typename Change>
void expect_redraw_equals_paint(System& sys, RecordingHost& host, Change change) {
  window_paint(sys);
  change();
  sys.ticks.tick = 2;
  table_screen_tick_redraw(sys);
  const Surface* shown = host.frame.surface();
  ASSERT_NE(shown, nullptr);
  Surface fresh(sys.screen.client_width, sys.screen.client_height);
  fresh.fill_rect(0, 0, fresh.width(), fresh.height(), 18);
  screen_call(sys, fresh, kPaint);
  int differing = 0;
  for (int y = 0; y < fresh.height(); ++y) {
    for (int x = 0; x < fresh.width(); ++x) {
      if (!(shown->pixel(x, y) == fresh.pixel(x, y)) && differing++ == 0) {
        ADD_FAILURE() << "first differing pixel at " << x << ", " << y;
      }
    }
  }
  EXPECT_EQ(differing, 0);
}
