#include "panels/panel_settings.h"

#include <gtest/gtest.h>

#include "core/surface.h"
#include "panels/panel_file.h"
#include "panels/panel_render.h"
#include "runtime/window_events.h"
#include "support/temp_dir.h"

namespace {

class PanelSettingsTest : public ::testing::Test {
 protected:
  PanelSettingsTest() {
    load_panels(sys(), kPanelFile);  // no file: the default colours
    sys().general.relief = 0;
    window_menu(sys(), 942);
  }
  System& sys() { return t_.sys; }
  void press(bool left, int x, int y) {
    const MouseButton b = left ? MouseButton::Left : MouseButton::Right;
    window_button_press(sys(), b, x, y);
    window_button_release(sys(), b, x, y);
  }
  Surface paint() {
    Surface s(1281, 1001);
    paint_panel(sys(), s, 0);
    return s;
  }
  TestSystem t_;
};

enum Target { Rendu, Canton, Train };

struct ClickCase {
  const char* name;
  bool left;
  int x, y;
  Target target;
  int index;  // rendu index, canton slot (card * 16 + index) or train
  int before, after;
};

const ClickCase kClicks[] = {
    {"free rail, right at 0", false, 225, 105, Rendu, 0, 0, 25},
    {"free rail, left at 25", true, 225, 105, Rendu, 0, 25, 0},
    {"free fill, left at 24", true, 265, 105, Rendu, 1, 24, 25},
    {"manual thick rail, left", true, 305, 165, Rendu, 14, 1, 0},
    {"automatic arrows, right", false, 345, 185, Rendu, 19, 0, 1},
    {"isolated siding thick, left", true, 305, 225, Rendu, 26, 0, 1},
    {"block background, right at 0", false, 225, 305, Rendu, 28, 0, 23},
    {"detection lamp ON, left at 23", true, 265, 385, Rendu, 32, 23, 0},
    {"route ring locked, left", true, 345, 465, Rendu, 42, 4, 5},
    {"swatch's top row", true, 225, 99, Rendu, 0, 3, 4},
    {"swatch's left edge", true, 220, 105, Rendu, 0, 3, 3},
    {"under the swatch's square", true, 225, 113, Rendu, 0, 3, 3},
    {"canton 0, above its row", true, 65, 515, Canton, 0, 1, 2},
    {"canton 315", false, 375, 559, Canton, 63, 16, 15},
    {"canton 100, left of its column", true, 56, 531, Canton, 16, 23, 0},
    {"train 0", true, 65, 585, Train, 0, 0, 1},
    {"train 15, right at 0", false, 375, 590, Train, 15, 0, 23},
    {"between the rows", true, 65, 575, Train, 0, 0, 0},
};

int32_t& target_of(System& sys, const ClickCase& c) {
  switch (c.target) {
    case Canton:
      return sys.panels.cant_color[static_cast<size_t>(c.index)];
    case Train:
      return sys.trains.color[static_cast<size_t>(c.index)];
    case Rendu:
      break;
  }
  return sys.panels.rendu[static_cast<size_t>(c.index)];
}

TEST_F(PanelSettingsTest, ClicksStepTheirSetting) {
  for (const ClickCase& c : kClicks) {
    int32_t& value = target_of(sys(), c);
    value = c.before;
    press(c.left, c.x, c.y);
    EXPECT_EQ(value, c.after) << c.name;
  }
  EXPECT_EQ(sys().screen.panel_mode, 'R');
  press(true, 390, 8);
  EXPECT_EQ(sys().screen.panel_mode, ' ');
}

TEST_F(PanelSettingsTest, ChangesShowAtTheNextPaintAndAreSaved) {
  TcoCell& track = sys().panels.cell(0, 12, 2);
  track.f[CELL_FAMILY] = 0;
  track.f[CELL_VARIANT] = 0;
  track.f[CELL_CANT] = 3;
  EXPECT_EQ(paint().pixel(12 * 40 + 10, 2 * 40 + 20), palette_line(0));
  press(true, 225, 105);  // the free rail's colour, 0 to 1
  const Surface s = paint();
  EXPECT_EQ(s.pixel(12 * 40 + 10, 2 * 40 + 20), palette_line(1));
  EXPECT_EQ(s.pixel(225, 105), palette_fill(1));  // the swatch shows it too
  EXPECT_NE(panels_file_text(sys()).find("\nrendu\ndata:\n   1\n"), std::string::npos);
}

TEST_F(PanelSettingsTest, SwatchesShowTrainCantonAndFlags) {
  sys().panels.rendu[0] = 24;  // "T"
  sys().panels.rendu[1] = 25;  // "C"
  Surface s(1281, 1001);
  s.record_texts();
  paint_panel(sys(), s, 0);
  EXPECT_EQ(s.pixel(222, 99), palette_fill(6));
  EXPECT_EQ(s.pixel(302, 99), palette_fill(18));  // thick rail off: "N"
  EXPECT_EQ(s.pixel(342, 99), palette_fill(2));   // arrows on: "O"
  std::string marks;
  for (const DrawnText& t : s.drawn_texts())
    if (t.y == 101 && t.x > 210 && t.x < 360) marks += t.text;
  EXPECT_EQ(marks, "TCNO");
}

// The close buttons of the settings and of the variable help, at their bounds; the help
// closes on a left click only.
TEST_F(PanelSettingsTest, CloseButtonsCloseWithinTheirBounds) {
  struct CloseCase {
    char overlay;
    bool left;
    int x, y;
    bool closes;
  };
  const CloseCase cases[] = {
      {'R', true, 386, 1, true},   {'R', false, 399, 14, true}, {'R', true, 385, 8, false},
      {'R', true, 392, 0, false},  {'R', true, 392, 15, false}, {'H', true, 786, 1, true},
      {'H', true, 799, 14, true},  {'H', true, 785, 8, false},  {'H', true, 792, 15, false},
      {'H', false, 792, 8, false},
  };
  for (const CloseCase& c : cases) {
    window_menu(sys(), c.overlay == 'R' ? 942 : 916);
    press(c.left, c.x, c.y);
    EXPECT_EQ(sys().screen.panel_mode, c.closes ? ' ' : c.overlay)
        << c.overlay << " " << c.x << "," << c.y;
  }
}

}  // namespace
