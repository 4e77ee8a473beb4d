// The drawing kit of every screen: the numbered palette, pens, brushes and the three fonts, on an
// off-screen surface with the pixel rules of the original drawing calls (no antialiasing,
// 1-pixel lines on pixel centres, a rectangle l, t, r, b covering columns l..r-1 and rows
// t..b-1, text anchored at its top-left corner on a transparent background).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

struct System;

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

constexpr int kPaletteSize = 39;  // indices 0..38; several of them have no colour
// Colour of text in a palette index; black where the index has no entry.
Rgb palette_text(int index);
// Colour of fills (brushes) and lines (pens); white fill and black line where there is none.
Rgb palette_fill(int index);
Rgb palette_line(int index);

// Text and second font: 15 pixels high, 10 wide. Small font (panels): 10 by 10.
enum class Font { Text, Second, Small };
constexpr int kCharWidth = 10;

// Widest area any screen draws on; the panels background fills it.
constexpr int kMaxDrawWidth = 1280;
constexpr int kMaxDrawHeight = 1000;

// A text as it was drawn: top-left corner, palette index of its colour, UTF-8.
struct DrawnText {
  int x, y, colour;
  std::string text;
};

class Surface {
 public:
  Surface(int width, int height);
  ~Surface();
  Surface(Surface&& other) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  Surface& operator=(Surface&&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }

  void set_text_colour(int index);
  // Brush and pen by palette index; -1 selects no brush (hollow shapes) or no pen.
  void select_fill(int index);
  void select_line(int index);
  void select_font(Font font);

  // A line from the first point up to, not including, the second.
  void draw_line(int x1, int y1, int x2, int y2);
  // Outline in the pen, inside in the brush.
  void rectangle(int left, int top, int right, int bottom);
  // Fills l..r-1, t..b-1 with a palette fill colour, whatever brush and pen are selected.
  void fill_rect(int left, int top, int right, int bottom, int index);
  // Ellipse inscribed in the rectangle, outline in the pen, inside in the brush.
  void ellipse(int left, int top, int right, int bottom);
  // Arc of the ellipse inscribed in the rectangle, counter-clockwise from the ray towards
  // (x1, y1) to the ray towards (x2, y2), in the pen.
  void arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
  // Closed polygon, outline in the pen, inside in the brush.
  void polygon(const int* xy, int points);
  // UTF-8 text in the current font and text colour, each character in its own cell.
  void draw_text(int x, int y, std::string_view text);
  void draw_textf(int x, int y, const char* format, ...) __attribute__((format(printf, 4, 5)));
  // The same, narrowed across to `room` pixels when it is wider (0: no limit); recorded whole.
  void draw_text_fit(int x, int y, std::string_view text, int room);

  // Copies a rectangle of `src` to the same place on this surface (clipped to both).
  void copy_from(const Surface& src, int x, int y, int w, int h);
  // Copies the other surface's content to the top-left corner (used when a window grows).
  void copy_all_from(const Surface& src);

  // Keeps every text drawn from now on (zir-sim's `texts`); off by default.
  void record_texts() { recording_ = true; }
  const std::vector<DrawnText>& drawn_texts() const { return drawn_; }

  Rgb pixel(int x, int y) const;
  bool write_png(const std::string& path) const;
  cairo_surface_t* image() const {
    end_direct();
    return image_;
  }

 private:
  void set_source(Rgb c);
  void fill_and_stroke();
  // Straight fills and lines are written into the image directly: the same pixels cairo would
  // give them, at a fraction of the cost.
  void fill_pixels(int left, int top, int right, int bottom, Rgb c);
  void put_pixel(int x, int y, Rgb c);
  // Direct writes begin after cairo's pending drawing is flushed, and cairo is told of them
  // before it draws or reads again.
  void begin_direct();
  void end_direct() const;

  int width_;
  int height_;
  cairo_surface_t* image_;
  cairo_t* cr_;
  Rgb text_{0, 0, 0};
  Rgb fill_{255, 255, 255};
  Rgb line_{0, 0, 0};
  bool has_fill_ = true;
  bool has_line_ = true;
  Font font_ = Font::Text;
  int text_index_ = 0;
  mutable bool direct_ = false;
  bool recording_ = false;
  std::vector<DrawnText> drawn_;
};

// What the window shows: every rectangle presented so far, on a surface of the drawing area's
// size (light grey where nothing has been drawn yet, as the window background).
class FrontBuffer {
 public:
  void present(const Surface& src, int x, int y, int w, int h);
  // Null until something has been presented.
  const Surface* surface() const { return surface_.get(); }

 private:
  std::unique_ptr<Surface> surface_;
};

// The panel background: 0, 0 to 1280, 1000 in light grey (19) with relief, white without,
// outlined in 35.
void clear_surface(System& sys, Surface& s);
