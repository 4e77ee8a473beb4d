// The token kit every reader shares, so that every section, the sim and the emulator read words
// by the same rules: a number is digits (with an optional sign where a sign is allowed) and
// nothing else, never a silent 0; keys compare without case; a label splits into its prefix and
// the number right after it.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

constexpr int32_t kNoLow = std::numeric_limits<int32_t>::min();
constexpr int32_t kNoHigh = std::numeric_limits<int32_t>::max();

// A whole number: an optional '+' or '-', then one or more digits, nothing else. False for an
// empty word, a stray character, a value beyond 32 bits or outside lo..hi; `value` is then left
// as it was.
bool parse_whole(std::string_view text, int32_t& value, int32_t lo = kNoLow, int32_t hi = kNoHigh);

// Digits only (no sign), within lo..hi.
bool parse_digits(std::string_view text, int32_t& value, int32_t lo = 0, int32_t hi = kNoHigh);

// A number as C's atoi reads it (sign, then the digits that follow; none gives 0), saturating
// instead of overflowing. Only where a section is documented to read leniently (#general).
int token_number(std::string_view text);

// ASCII letters compare without case; every other byte must be equal.
bool same_word(std::string_view a, std::string_view b);
bool starts_with_nocase(std::string_view word, std::string_view prefix);
// Folds the ASCII letters of a word to lower case, by the same rule.
void lower_ascii(std::string& word);

// A label such as "c105", "g3" or "out12": the word begins with `prefix` (without case) and the
// rest is digits only, within lo..hi.
bool split_label(std::string_view word, std::string_view prefix, int32_t& number, int32_t lo = 0,
                 int32_t hi = kNoHigh);
