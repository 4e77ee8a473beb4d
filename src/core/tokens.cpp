#include "core/tokens.h"

namespace {

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Digits only, accumulated in 64 bits and refused once beyond 32.
bool read_digits(std::string_view text, int64_t& magnitude) {
  if (text.empty()) return false;
  magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{1} << 31) return false;
  }
  return true;
}

bool in_range(int64_t v, int32_t lo, int32_t hi) {
  return v >= lo && v <= hi;
}

}  // namespace

bool parse_whole(std::string_view text, int32_t& value, int32_t lo, int32_t hi) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int64_t magnitude = 0;
  if (!read_digits(text, magnitude)) return false;
  const int64_t v = negative ? -magnitude : magnitude;
  if (!in_range(v, lo, hi)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

bool parse_digits(std::string_view text, int32_t& value, int32_t lo, int32_t hi) {
  int64_t v = 0;
  if (!read_digits(text, v) || !in_range(v, lo, hi)) return false;
  value = static_cast<int32_t>(v);
  return true;
}

int token_number(std::string_view text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kNoHigh) value = kNoHigh;
  }
  return static_cast<int>(negative ? -value : value);
}

bool same_word(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

void lower_ascii(std::string& word) {
  for (char& c : word) c = lower(c);
}

bool starts_with_nocase(std::string_view word, std::string_view prefix) {
  return word.size() >= prefix.size() && same_word(word.substr(0, prefix.size()), prefix);
}

bool split_label(std::string_view word, std::string_view prefix, int32_t& number, int32_t lo,
                 int32_t hi) {
  return starts_with_nocase(word, prefix) &&
         parse_digits(word.substr(prefix.size()), number, lo, hi);
}
