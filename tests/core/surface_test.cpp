// Pixel probes on headless surfaces: the palette, the rectangle and line rules, text cells.
#include "core/surface.h"

#include <gtest/gtest.h>

#include "tools/sim/recording_host.h"
#include "core/system.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

Surface white_surface(int w = 200, int h = 100) {
  Surface s(w, h);
  s.fill_rect(0, 0, w, h, 7);
  return s;
}

// The bounding box of the pixels that differ from `ground`.
struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};
Box ink_box(const Surface& s, Rgb ground) {
  Box b;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (s.pixel(x, y) == ground) continue;
      b.left = std::min(b.left, x);
      b.top = std::min(b.top, y);
      b.right = std::max(b.right, x);
      b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

TEST(Palette, TextAndFillColumnsDifferWhereTheTableSaysSo) {
  struct Case {
    int index;
    Rgb text, fill, line;
  };
  const Case cases[] = {
      {0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
      {8, {128, 255, 0}, {128, 240, 0}, {128, 240, 0}},
      {18, {192, 192, 192}, {192, 192, 192}, {192, 192, 192}},
      {19, {212, 208, 200}, {212, 208, 200}, {212, 208, 200}},
      {24, kBlack, kWhite, kBlack},
      {25, kBlack, kWhite, kBlack},
      {33, {250, 250, 100}, kWhite, kBlack},
      {34, {128, 255, 128}, {110, 240, 110}, {110, 240, 110}},
      {38, {32, 32, 32}, {32, 32, 32}, {32, 32, 32}},
      {39, kBlack, kWhite, kBlack},
      {-1, kBlack, kWhite, kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(palette_text(c.index), c.text);
    EXPECT_EQ(palette_fill(c.index), c.fill);
    EXPECT_EQ(palette_line(c.index), c.line);
  }
}

TEST(Surface, RectangleOutlineAndFillCoverExactlyTheirPixels) {
  Surface s = white_surface();
  s.select_line(4);
  s.select_fill(13);
  s.rectangle(10, 20, 30, 40);  // columns 10..29, rows 20..39
  const Rgb red = palette_line(4);
  const Rgb blue = palette_fill(13);
  for (int y = 18; y < 42; ++y) {
    for (int x = 8; x < 32; ++x) {
      const bool inside = x >= 10 && x <= 29 && y >= 20 && y <= 39;
      const bool edge = inside && (x == 10 || x == 29 || y == 20 || y == 39);
      const Rgb want = !inside ? kWhite : edge ? red : blue;
      ASSERT_EQ(s.pixel(x, y), want) << x << "," << y;
    }
  }
}

TEST(Surface, HollowBrushAndNullPen) {
  Surface s = white_surface();
  s.select_line(0);
  s.select_fill(-1);
  s.rectangle(10, 10, 20, 20);
  EXPECT_EQ(s.pixel(15, 15), kWhite);
  EXPECT_EQ(s.pixel(10, 15), kBlack);
  s.select_line(-1);
  s.select_fill(4);
  s.rectangle(30, 10, 40, 20);
  EXPECT_EQ(s.pixel(30, 10), palette_fill(4));
  EXPECT_EQ(s.pixel(39, 19), palette_fill(4));
  EXPECT_EQ(s.pixel(40, 19), kWhite);
}

TEST(Surface, LinesStopBeforeTheirEndPoint) {
  Surface s = white_surface();
  s.select_line(0);
  s.draw_line(10, 50, 20, 50);
  EXPECT_EQ(s.pixel(9, 50), kWhite);
  for (int x = 10; x < 20; ++x) EXPECT_EQ(s.pixel(x, 50), kBlack) << x;
  EXPECT_EQ(s.pixel(20, 50), kWhite);
  EXPECT_EQ(s.pixel(15, 49), kWhite);
  EXPECT_EQ(s.pixel(15, 51), kWhite);
  s.draw_line(60, 30, 60, 10);  // upwards: rows 30 down to 11
  EXPECT_EQ(s.pixel(60, 30), kBlack);
  EXPECT_EQ(s.pixel(60, 11), kBlack);
  EXPECT_EQ(s.pixel(60, 10), kWhite);
  EXPECT_EQ(s.pixel(61, 20), kWhite);
}

TEST(Surface, TextOfNCharactersOccupiesTenPixelsEach) {
  for (Font font : {Font::Text, Font::Second, Font::Small}) {
    Surface s = white_surface(300, 40);
    s.select_font(font);
    s.set_text_colour(0);
    s.draw_text(20, 5, "MWMWMWMW");
    const Box b = ink_box(s, kWhite);
    EXPECT_GE(b.left, 20);
    EXPECT_LE(b.right, 20 + 80 - 1);
    EXPECT_GT(b.right - b.left, 60);  // the glyphs do spread over the eight cells
    EXPECT_GE(b.top, 5);
    EXPECT_LT(b.bottom, 5 + (font == Font::Small ? 10 : 15));
  }
}

TEST(Surface, TextAccentsAndTheTransparentBackground) {
  Surface s = white_surface(300, 40);
  s.fill_rect(0, 0, 300, 40, 6);
  s.set_text_colour(24);
  s.draw_text(0, 0, "é");
  const Box b = ink_box(s, palette_fill(6));
  EXPECT_GE(b.left, 0);
  EXPECT_LT(b.right, 10);
  // Colour 24 has no text entry: black. The ground around the glyph is untouched.
  bool black = false;
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 10; ++x) {
      const Rgb p = s.pixel(x, y);
      EXPECT_TRUE(p == kBlack || p == palette_fill(6)) << x << "," << y;
      black = black || p == kBlack;
    }
  }
  EXPECT_TRUE(black);
  // A Windows-1252 byte string draws the same character.
  Surface t = white_surface(300, 40);
  t.fill_rect(0, 0, 300, 40, 6);
  t.set_text_colour(24);
  t.draw_text(0, 0, "\xE9");
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 10; ++x) EXPECT_EQ(s.pixel(x, y), t.pixel(x, y));
  }
}

TEST(Surface, FillInIndex24IsWhite) {
  Surface s(20, 20);
  s.fill_rect(0, 0, 20, 20, 24);
  EXPECT_EQ(s.pixel(10, 10), kWhite);
  s.fill_rect(0, 0, 20, 20, 33);
  EXPECT_EQ(s.pixel(10, 10), kWhite);
}

TEST(Surface, ClearSurfaceFollowsRelief) {
  RecordingHost host;
  System sys(host);
  Surface s(1300, 1010);
  clear_surface(sys, s);
  EXPECT_EQ(s.pixel(0, 0), palette_line(35));
  EXPECT_EQ(s.pixel(1279, 500), palette_line(35));
  EXPECT_EQ(s.pixel(640, 999), palette_line(35));
  EXPECT_EQ(s.pixel(1, 1), palette_fill(19));
  EXPECT_EQ(s.pixel(1280, 1000), kBlack);  // beyond the panel area nothing is drawn
  sys.general.relief = 0;
  clear_surface(sys, s);
  EXPECT_EQ(s.pixel(1, 1), kWhite);
}

TEST(Surface, EllipseAndPolygonStayInsideTheirBox) {
  Surface s = white_surface();
  s.select_line(0);
  s.select_fill(4);
  s.ellipse(10, 10, 31, 31);
  Box b = ink_box(s, kWhite);
  EXPECT_EQ(b.left, 10);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.right, 30);
  EXPECT_EQ(b.bottom, 30);
  EXPECT_EQ(s.pixel(20, 20), palette_fill(4));
  Surface t = white_surface();
  t.select_line(0);
  t.select_fill(2);
  const int triangle[] = {50, 10, 60, 20, 40, 20};
  t.polygon(triangle, 3);
  b = ink_box(t, kWhite);
  EXPECT_EQ(b.left, 40);
  EXPECT_EQ(b.right, 60);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.bottom, 20);
  EXPECT_EQ(t.pixel(50, 17), palette_fill(2));
}

TEST(FrontBuffer, KeepsWhatWasPresentedAndGrowsWithTheWindow) {
  FrontBuffer front;
  Surface a(100, 50);
  a.fill_rect(0, 0, 100, 50, 4);
  front.present(a, 10, 10, 20, 20);
  ASSERT_NE(front.surface(), nullptr);
  EXPECT_EQ(front.surface()->pixel(15, 15), palette_fill(4));
  EXPECT_EQ(front.surface()->pixel(5, 5), palette_fill(18));
  Surface b(200, 80);
  b.fill_rect(0, 0, 200, 80, 13);
  front.present(b, 150, 0, 10, 10);
  EXPECT_EQ(front.surface()->width(), 200);
  EXPECT_EQ(front.surface()->pixel(15, 15), palette_fill(4));
  EXPECT_EQ(front.surface()->pixel(155, 5), palette_fill(13));
  EXPECT_EQ(front.surface()->pixel(120, 5), palette_fill(18));
}

}  // namespace
