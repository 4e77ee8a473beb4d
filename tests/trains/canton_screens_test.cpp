// The canton records and direction-rule screens: what each row shows, blanks for unset values,
// and the tick redraw.
#include "trains/canton_screens.h"

#include <gtest/gtest.h>

#include <string>

#include "core/screens.h"
#include "runtime/window_events.h"
#include "support/drawn_texts.h"
#include "support/screen_redraw.h"
#include "support/temp_dir.h"

namespace {

struct CantonScreens : ::testing::Test, TestSystem {
  CantonScreens() { sys.screen.record_texts = true; }
  void show(int screen) {
    sys.screen.screen_mode = screen;
    window_paint(sys);
  }
  std::string text_at(int x, int y, int* colour = nullptr) const {
    return drawn_text_at(sys, x, y, colour);
  }
};

TEST_F(CantonScreens, RowsShowSetValuesAndLeaveTheRestBlank) {
  sys.cardlink.serial.card_found = {0, 0, 0, 1};
  sys.cantons.num_train[3] = 0;  // canton 3 held by train 0
  sys.cantons.ResvMANU[3] = 1;
  sys.cantons.Vit_reel[3] = -12;
  sys.io.det[3] = 1;
  sys.cantons.num_train[48 + 5] = 7;  // canton 305
  struct Case {
    int screen, row, column;
    const char* text;
    int colour;
  };
  const Case cases[] = {
      {28, 3, 0, "   3", 17},  {28, 3, 1, "     0", 0},  {28, 3, 4, "     1", 0},
      {28, 3, 9, "   -12", 0}, {28, 3, 10, "     1", 0}, {28, 4, 1, "", -1},
      {28, 3, 2, "", -1},      {29, 21, 0, " 305", 13},  {29, 21, 1, "     7", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.screen) + " " + std::to_string(c.row) + " " +
                 std::to_string(c.column));
    show(c.screen);
    int colour = -1;
    EXPECT_EQ(text_at(2 + 72 * c.column, 32 + 16 * c.row, &colour), c.text);
    EXPECT_EQ(colour, c.colour);
  }
}

TEST_F(CantonScreens, DirectionRulesWithTheirConditions) {
  auto& rule = sys.selectif.rule[33];
  rule = {105, 1, 4, 0, 2, 1, 12, 0, -1, -1, -1, -1, -1, -1, -1, -1};
  show(33);
  int colour = -1;
  EXPECT_EQ(text_at(2, 32 + 16, &colour), " 33");
  EXPECT_EQ(colour, 0);
  EXPECT_EQ(text_at(60, 32 + 16), "c4 + --> c105-");
  EXPECT_EQ(text_at(250, 32 + 16), "a2=1   a12=0   ");
  EXPECT_EQ(text_at(2, 32, &colour), " 32");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(60, 32), "");
  show(34);  // rules 64..95
  EXPECT_EQ(text_at(2, 32), " 64");
  EXPECT_EQ(text_at(2, 32 + 31 * 16), " 95");
}

TEST_F(CantonScreens, SplitAndJoinEntriesByColumn) {
  sys.iti.separe[2] = {0, 105, 1003};
  sys.iti.regroupe[57] = {0, 1012, 305};
  show(59);
  int colour = -1;
  EXPECT_EQ(text_at(2, 148 + 2 * 16, &colour), "   2");
  EXPECT_EQ(colour, 0);
  EXPECT_EQ(text_at(60, 148 + 2 * 16), "c105 g3  ");
  EXPECT_EQ(text_at(2, 148 + 3 * 16, &colour), "   3");
  EXPECT_EQ(colour, 17);
  EXPECT_EQ(text_at(60, 148 + 3 * 16), "");
  window_button_press(sys, MouseButton::Right, 400, 300);
  window_paint(sys);
  EXPECT_EQ(text_at(460, 148 + 7 * 16), "g12  c305");
}

TEST_F(CantonScreens, RedrawEqualsPaint) {
  for (int screen : {28, 29, 32, 33, 34, 59, 60}) {
    SCOPED_TRACE(screen);
    sys.screen.screen_mode = screen;
    expect_redraw_equals_paint(sys, host, [&] {
      for (size_t c = 0; c < 64; c += 3) {
        sys.cantons.Vitesse[c] = screen - static_cast<int>(c);
        sys.cantons.num_train[c] = static_cast<int>(c) % 32;
      }
      sys.selectif.rule[static_cast<size_t>(screen % 3 * 32 + 5)].fill(1);
      sys.iti.separe[static_cast<size_t>(screen)] = {0, 3, 1001};
      sys.iti.regroupe[static_cast<size_t>(screen)] = {0, 1002, 4};
    });
  }
}

}  // namespace
