#include "block/rule_tokens.h"

#include <cstring>
#include <string_view>

#include "core/var_bus.h"
#include "trains/canton_table.h"
#include "turnouts/aig_table.h"

bool token_is(const TokenLine& line, int i, const char* text) {
  return i >= 0 && i < line.count && std::strcmp(line[i], text) == 0;
}

namespace {

// A word made of one lower-case letter and a number within lo..hi.
bool letter_number(const TokenLine& line, int i, char letter, int32_t hi, int32_t& n) {
  if (i >= line.count) return false;
  const std::string_view word = line[i];
  return word.size() > 1 && word[0] == letter && parse_digits(word.substr(1), n, 0, hi);
}

bool binary_token(const TokenLine& line, int i, int32_t& value) {
  if (token_is(line, i, "0")) {
    value = 0;
  } else if (token_is(line, i, "1")) {
    value = 1;
  } else {
    return false;
  }
  return true;
}

bool turnout_word(const TokenLine& line, int i) {
  return i < line.count && line[i][0] == 'a' && line[i][1] >= '0' && line[i][1] <= '9';
}

}  // namespace

bool canton_token(const TokenLine& line, int i, int32_t& canton) {
  int32_t n = 0;
  if (!letter_number(line, i, 'c', 315, n) || canton_slot(n) < 0) return false;
  canton = n;
  return true;
}

bool direction_token(const TokenLine& line, int i, int32_t& direction) {
  if (token_is(line, i, "+")) {
    direction = 1;
  } else if (token_is(line, i, "-")) {
    direction = -1;
  } else {
    return false;
  }
  return true;
}

bool signed_speed(const TokenLine& line, int i, int32_t& speed) {
  int32_t direction = 0;
  int32_t v = 0;
  if (!direction_token(line, i, direction) || i + 1 >= line.count ||
      !parse_digits(line[i + 1], v, 1, 64))
    return false;
  speed = direction * v;
  return true;
}

bool rule_head(const TokenLine& line, int i, const char* keyword, int32_t& canton) {
  return token_is(line, i, keyword) && token_is(line, i + 1, ":") &&
         canton_token(line, i + 2, canton) && token_is(line, i + 3, ":");
}

bool turnout_position(const TokenLine& line, int i, int32_t& turnout, int32_t& position) {
  return letter_number(line, i, 'a', kTurnouts - 1, turnout) && token_is(line, i + 1, ".") &&
         binary_token(line, i + 2, position);
}

bool condition_tokens(System& sys, const TokenLine& line, int i, int32_t& var, int32_t& value) {
  if (turnout_word(line, i)) {
    int32_t turnout = 0;
    int32_t position = 0;
    if (!turnout_position(line, i, turnout, position)) return false;
    var = position_var(turnout, position);
    value = 1;
    return true;
  }
  if (i >= line.count || !token_is(line, i + 1, ".") || !binary_token(line, i + 2, value))
    return false;
  var = var_from_label(sys, line[i]);
  return var >= 0 && var_readable(sys, var);
}
