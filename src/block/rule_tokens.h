// The words #balauto and #aigauto share: cantons "cNNN", signed speeds "+ V" / "- V" and
// conditions "VAR . 0|1" (where "aNN . p" stands for turnout NN at rest in position p).
#pragma once

#include <cstdint>

#include "core/config_reader.h"

struct System;

// Token i equals `text` exactly (false past the end of the line).
bool token_is(const TokenLine& line, int i, const char* text);

// "cNNN" naming one of the 64 cantons.
bool canton_token(const TokenLine& line, int i, int32_t& canton);

// "+ V" or "- V" with 1 <= V <= 64, at tokens i and i + 1: +V or -V.
bool signed_speed(const TokenLine& line, int i, int32_t& speed);

// "+" or "-" at token i: +1 or -1.
bool direction_token(const TokenLine& line, int i, int32_t& direction);

// "keyword : cNNN :" at token i (the sign that follows is read by the caller).
bool rule_head(const TokenLine& line, int i, const char* keyword, int32_t& canton);

// "aNN . p" with NN 0..63 and p 0 or 1, at tokens i..i+2.
bool turnout_position(const TokenLine& line, int i, int32_t& turnout, int32_t& position);

// A condition "VAR . 0|1" at tokens i..i+2: the variable and the value it must have. "aNN . p"
// gives (pos0_aig_NN or pos1_aig_NN, 1). The variable must be one the bus can read.
bool condition_tokens(System& sys, const TokenLine& line, int i, int32_t& var, int32_t& value);

// The bus number of turnout n's position flag for position p.
constexpr int32_t position_var(int32_t turnout, int32_t position) {
  return (position == 0 ? 5100 : 5200) + turnout;
}
