#include "core/text.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace {

// Code points of Windows-1252 bytes 0x80..0x9F (0 where the code page has no character).
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int cp1252_byte(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
  return '?';
}

}  // namespace

std::string cp1252_to_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    uint32_t cp = c;
    if (c >= 0x80 && c < 0xA0) cp = kHigh[c - 0x80] != 0 ? kHigh[c - 0x80] : 0xFFFD;
    append_utf8(out, cp);
  }
  return out;
}

bool utf8_to_cp1252(std::string_view bytes, std::string& out) {
  std::string result;
  result.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int extra = 0;
    uint32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
      extra = 1;
      cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<size_t>(extra) >= bytes.size() && extra > 0) return false;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    result += static_cast<char>(cp1252_byte(cp));
    i += static_cast<size_t>(extra) + 1;
  }
  out = std::move(result);
  return true;
}

namespace {

enum class Utf16 { None, Little, Big };

// The byte order, from the mark or from where the zero bytes of ASCII text stand.
Utf16 utf16_order(std::string_view bytes, size_t& start) {
  start = 0;
  if (bytes.size() < 2) return Utf16::None;
  const auto b0 = static_cast<unsigned char>(bytes[0]);
  const auto b1 = static_cast<unsigned char>(bytes[1]);
  start = 2;
  if (b0 == 0xFF && b1 == 0xFE) return Utf16::Little;
  if (b0 == 0xFE && b1 == 0xFF) return Utf16::Big;
  start = 0;
  if (bytes.size() % 2 != 0) return Utf16::None;
  if (b0 != 0 && b1 == 0) return Utf16::Little;
  if (b0 == 0 && b1 != 0) return Utf16::Big;
  return Utf16::None;
}

}  // namespace

bool utf16_to_cp1252(std::string_view bytes, std::string& out) {
  size_t i = 0;
  const Utf16 order = utf16_order(bytes, i);
  if (order == Utf16::None) return false;
  auto unit_at = [&](size_t k) -> uint32_t {
    const auto a = static_cast<unsigned char>(bytes[k]);
    const auto b = static_cast<unsigned char>(bytes[k + 1]);
    return order == Utf16::Little ? a | (b << 8) : (a << 8) | b;
  };
  std::string result;
  result.reserve(bytes.size() / 2);
  for (; i + 1 < bytes.size(); i += 2) {
    const uint32_t unit = unit_at(i);
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 3 < bytes.size() && unit_at(i + 2) >= 0xDC00 && unit_at(i + 2) <= 0xDFFF) {
      result += '?';  // a character beyond the first plane has no Windows-1252 byte
      i += 2;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      result += '?';
    } else {
      result += static_cast<char>(cp1252_byte(unit));
    }
  }
  out = std::move(result);
  return true;
}

std::string format(const char* f, ...) {
  va_list args;
  va_start(args, f);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, f, args);
  va_end(args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, f, again);
  va_end(again);
  return text;
}

int drawn_characters(std::string_view text) {
  std::string bytes;
  return static_cast<int>(utf8_to_cp1252(text, bytes) ? bytes.size() : text.size());
}
