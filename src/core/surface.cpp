#include "core/surface.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "core/system.h"
#include "core/text.h"

namespace {

struct PaletteEntry {
  bool defined;
  Rgb text;
  Rgb fill;
  bool fill_defined;  // false for 33: text colour only
};

constexpr PaletteEntry same(uint8_t r, uint8_t g, uint8_t b) {
  return {true, {r, g, b}, {r, g, b}, true};
}
constexpr PaletteEntry two(Rgb text, Rgb fill) {
  return {true, text, fill, true};
}
constexpr PaletteEntry none() {
  return {false, {0, 0, 0}, {0, 0, 0}, false};
}

constexpr PaletteEntry kPalette[kPaletteSize] = {
    same(0, 0, 0),                              // 0
    same(0, 128, 255),                          // 1
    same(0, 220, 0),                            // 2
    same(0, 255, 255),                          // 3
    same(255, 0, 0),                            // 4
    same(128, 0, 255),                          // 5
    same(250, 250, 0),                          // 6
    same(255, 255, 255),                        // 7
    two({128, 255, 0}, {128, 240, 0}),          // 8
    two({128, 0, 0}, {150, 10, 10}),            // 9
    same(255, 102, 0),                          // 10
    same(128, 64, 0),                           // 11
    same(128, 128, 0),                          // 12
    same(0, 0, 255),                            // 13
    same(80, 155, 155),                         // 14
    same(0, 128, 0),                            // 15
    same(64, 64, 64),                           // 16
    same(128, 128, 128),                        // 17
    same(192, 192, 192),                        // 18
    same(212, 208, 200),                        // 19
    same(255, 0, 225),                          // 20
    same(0, 0, 128),                            // 21
    same(128, 128, 255),                        // 22
    same(0, 128, 128),                          // 23
    none(),                                     // 24
    none(),                                     // 25
    same(128, 0, 128),                          // 26
    two({128, 255, 255}, {128, 240, 240}),      // 27
    same(38, 62, 148),                          // 28
    two({255, 0, 128}, {250, 0, 128}),          // 29
    two({255, 128, 128}, {250, 110, 110}),      // 30
    two({255, 128, 255}, {250, 110, 250}),      // 31
    two({0, 255, 128}, {0, 240, 128}),          // 32
    {true, {250, 250, 100}, {0, 0, 0}, false},  // 33
    two({128, 255, 128}, {110, 240, 110}),      // 34
    same(220, 220, 220),                        // 35
    same(230, 230, 230),                        // 36
    same(240, 240, 240),                        // 37
    same(32, 32, 32),                           // 38
};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

const PaletteEntry* entry(int index) {
  if (index < 0 || index >= kPaletteSize) return nullptr;
  return &kPalette[index];
}

// Font cells. The face's em is scaled separately across and down so that a character cell is
// exactly the requested width and height, as the original fonts were asked for.
struct FontCell {
  int width;
  int height;
};
FontCell font_cell(Font f) {
  return f == Font::Small ? FontCell{10, 10} : FontCell{10, 15};
}

// Liberation Mono: advance 0.6 em; ascent + descent 1.1328 em.
constexpr double kAdvanceEm = 0.6;
constexpr double kCellHeightEm = 1.1328;
constexpr double kAscentEm = 0.8325;

bool valid_utf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t extra;
    if (c < 0x80) {
      extra = 0;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

// Fontconfig keeps its caches for the whole life of the process; the leak checker of the test
// build is told so.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

Rgb palette_text(int index) {
  const PaletteEntry* e = entry(index);
  return e && e->defined ? e->text : kBlack;
}

Rgb palette_fill(int index) {
  const PaletteEntry* e = entry(index);
  return e && e->fill_defined ? e->fill : kWhite;
}

Rgb palette_line(int index) {
  const PaletteEntry* e = entry(index);
  return e && e->fill_defined ? e->fill : kBlack;
}

Surface::Surface(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      image_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_)),
      cr_(cairo_create(image_)) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr_, 1.0);
  // Curves flattened to a quarter pixel: without antialiasing a disc keeps its pixels (a few of
  // a thousand move) and a panel full of lamps paints a fifth faster than at the default 0.1.
  cairo_set_tolerance(cr_, 0.25);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
  cairo_select_font_face(cr_, "Liberation Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  select_font(Font::Text);
  // A new bitmap is black, as a fresh off-screen bitmap is.
  set_source(kBlack);
  cairo_paint(cr_);
}

Surface::Surface(Surface&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      image_(std::exchange(other.image_, nullptr)),
      cr_(std::exchange(other.cr_, nullptr)),
      text_(other.text_),
      fill_(other.fill_),
      line_(other.line_),
      has_fill_(other.has_fill_),
      has_line_(other.has_line_),
      font_(other.font_),
      text_index_(other.text_index_),
      direct_(other.direct_),
      recording_(other.recording_),
      drawn_(std::move(other.drawn_)) {}

Surface::~Surface() {
  cairo_destroy(cr_);
  cairo_surface_destroy(image_);
}

void Surface::set_source(Rgb c) {
  end_direct();
  cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

void Surface::set_text_colour(int index) {
  text_index_ = index;
  text_ = palette_text(index);
}

void Surface::select_fill(int index) {
  has_fill_ = index >= 0;
  fill_ = palette_fill(index);
}

void Surface::select_line(int index) {
  has_line_ = index >= 0;
  line_ = palette_line(index);
}

void Surface::select_font(Font font) {
  font_ = font;
  const FontCell cell = font_cell(font);
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, cell.width / kAdvanceEm, cell.height / kCellHeightEm);
  cairo_set_font_matrix(cr_, &m);
}

void Surface::fill_pixels(int left, int top, int right, int bottom, Rgb c) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (right <= left || bottom <= top) return;
  begin_direct();
  unsigned char* data = cairo_image_surface_get_data(image_);
  const int stride = cairo_image_surface_get_stride(image_);
  const uint32_t value = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
  for (int y = top; y < bottom; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    std::fill(row + left, row + right, value);
  }
}

void Surface::begin_direct() {
  if (direct_) return;
  cairo_surface_flush(image_);
  direct_ = true;
}

void Surface::end_direct() const {
  if (!direct_) return;
  cairo_surface_mark_dirty(image_);
  direct_ = false;
}

void Surface::draw_line(int x1, int y1, int x2, int y2) {
  if (!has_line_ || (x1 == x2 && y1 == y2)) return;
  if (y1 == y2) {  // from the first point up to, not including, the second
    fill_pixels(x2 > x1 ? x1 : x2 + 1, y1, x2 > x1 ? x2 : x1 + 1, y1 + 1, line_);
    return;
  }
  if (x1 == x2) {
    fill_pixels(x1, y2 > y1 ? y1 : y2 + 1, x1 + 1, y2 > y1 ? y2 : y1 + 1, line_);
    return;
  }
  // Any other slope: one pixel per step along the longer axis (Bresenham), the last point
  // left out.
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  int x = x1;
  int y = y1;
  while (x != x2 || y != y2) {
    put_pixel(x, y, line_);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void Surface::put_pixel(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  begin_direct();
  unsigned char* data = cairo_image_surface_get_data(image_);
  const int stride = cairo_image_surface_get_stride(image_);
  auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
  row[x] = 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}

void Surface::fill_and_stroke() {
  if (has_fill_) {
    set_source(fill_);
    cairo_fill_preserve(cr_);
  }
  if (has_line_) {
    set_source(line_);
    cairo_stroke_preserve(cr_);
  }
  cairo_new_path(cr_);
}

void Surface::rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  if (has_fill_) fill_pixels(left, top, right, bottom, fill_);
  if (!has_line_) return;
  fill_pixels(left, top, right, top + 1, line_);
  fill_pixels(left, bottom - 1, right, bottom, line_);
  fill_pixels(left, top, left + 1, bottom, line_);
  fill_pixels(right - 1, top, right, bottom, line_);
}

void Surface::fill_rect(int left, int top, int right, int bottom, int index) {
  fill_pixels(left, top, right, bottom, palette_fill(index));
}

namespace {
// The path of the ellipse inscribed in l..r-1, t..b-1 through pixel centres.
void ellipse_path(cairo_t* cr, int left, int top, int right, int bottom, double a1, double a2,
                  bool closed) {
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double rx = std::max((right - left - 1) / 2.0, 0.01);
  const double ry = std::max((bottom - top - 1) / 2.0, 0.01);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  if (closed) {
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(cr);
  } else {
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0, 0, 1, a1, a2);
  }
  cairo_restore(cr);
}
}  // namespace

void Surface::ellipse(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return;
  ellipse_path(cr_, left, top, right, bottom, 0, 0, true);
  fill_and_stroke();
}

void Surface::arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
  if (!has_line_ || right <= left || bottom <= top) return;
  const double cx = (left + right) / 2.0;
  const double cy = (top + bottom) / 2.0;
  const double rx = std::max((right - left) / 2.0, 0.5);
  const double ry = std::max((bottom - top) / 2.0, 0.5);
  const double a1 = std::atan2((y1 - cy) / ry, (x1 - cx) / rx);
  double a2 = std::atan2((y2 - cy) / ry, (x2 - cx) / rx);
  if (a2 >= a1) a2 -= 2 * M_PI;  // counter-clockwise on screen is decreasing angle
  ellipse_path(cr_, left, top, right, bottom, a1, a2, false);
  set_source(line_);
  cairo_stroke(cr_);
}

void Surface::polygon(const int* xy, int points) {
  if (points < 2) return;
  cairo_move_to(cr_, xy[0] + 0.5, xy[1] + 0.5);
  for (int i = 1; i < points; ++i) cairo_line_to(cr_, xy[2 * i] + 0.5, xy[2 * i + 1] + 0.5);
  cairo_close_path(cr_);
  fill_and_stroke();
}

void Surface::draw_text(int x, int y, std::string_view text) {
  draw_text_fit(x, y, text, 0);
}

void Surface::draw_text_fit(int x, int y, std::string_view text, int room) {
  if (text.empty()) return;
  std::string utf8 = valid_utf8(text) ? std::string(text) : cp1252_to_utf8(text);
  if (recording_) drawn_.push_back({x, y, text_index_, utf8});
  cairo_scaled_font_t* font = cairo_get_scaled_font(cr_);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(font, 0, 0, utf8.data(), static_cast<int>(utf8.size()),
                                       &glyphs, &count, nullptr, nullptr,
                                       nullptr) != CAIRO_STATUS_SUCCESS) {
    return;
  }
  const FontCell cell = font_cell(font_);
  const double baseline = y + std::round(cell.height * kAscentEm / kCellHeightEm);
  // A text wider than its room is narrowed: glyphs and cells shrink across, never cut.
  const double wanted = static_cast<double>(kCharWidth) * count;
  const double narrow = room > 0 && wanted > room ? room / wanted : 1.0;
  for (int i = 0; i < count; ++i) {
    glyphs[i].x = x + kCharWidth * narrow * i;
    glyphs[i].y = baseline;
  }
  if (narrow < 1.0) {
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, narrow * cell.width / kAdvanceEm, cell.height / kCellHeightEm);
    cairo_set_font_matrix(cr_, &m);
  }
  set_source(text_);
  cairo_show_glyphs(cr_, glyphs, count);
  cairo_glyph_free(glyphs);
  if (narrow < 1.0) select_font(font_);
}

void Surface::draw_textf(int x, int y, const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  draw_text(x, y, buffer);
}

void Surface::copy_from(const Surface& src, int x, int y, int w, int h) {
  const int left = std::max(x, 0);
  const int top = std::max(y, 0);
  const int right = std::min({x + w, width_, src.width_});
  const int bottom = std::min({y + h, height_, src.height_});
  if (right <= left || bottom <= top) return;
  end_direct();
  src.end_direct();
  cairo_save(cr_);
  cairo_set_source_surface(cr_, src.image_, 0, 0);
  cairo_rectangle(cr_, left, top, right - left, bottom - top);
  cairo_fill(cr_);
  cairo_restore(cr_);
}

void Surface::copy_all_from(const Surface& src) {
  copy_from(src, 0, 0, src.width_, src.height_);
}

Rgb Surface::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kBlack;
  cairo_surface_flush(image_);
  const unsigned char* data = cairo_image_surface_get_data(image_);
  const int stride = cairo_image_surface_get_stride(image_);
  uint32_t v;
  std::copy_n(data + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, 4,
              reinterpret_cast<unsigned char*>(&v));
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

bool Surface::write_png(const std::string& path) const {
  end_direct();
  cairo_surface_flush(image_);
  return cairo_surface_write_to_png(image_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void FrontBuffer::present(const Surface& src, int x, int y, int w, int h) {
  if (!surface_ || surface_->width() != src.width() || surface_->height() != src.height()) {
    auto grown = std::make_unique<Surface>(src.width(), src.height());
    grown->fill_rect(0, 0, src.width(), src.height(), 18);
    if (surface_) grown->copy_all_from(*surface_);
    surface_ = std::move(grown);
  }
  surface_->copy_from(src, x, y, w, h);
}

void clear_surface(System& sys, Surface& s) {
  s.select_line(35);
  s.select_fill(sys.general.relief ? 19 : 7);
  s.rectangle(0, 0, kMaxDrawWidth, kMaxDrawHeight);
}
