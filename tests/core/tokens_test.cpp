#include "core/tokens.h"

#include <gtest/gtest.h>

namespace {

struct WholeCase {
  const char* text;
  bool ok;
  int32_t value;
};

TEST(Tokens, WholeNumbersAreDigitsWithAnOptionalSign) {
  const WholeCase cases[] = {
      {"0", true, 0},
      {"42", true, 42},
      {"-7", true, -7},
      {"+7", true, 7},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, kNoLow},
      {"", false, 0},
      {"-", false, 0},
      {"12x", false, 0},
      {"x12", false, 0},
      {" 1", false, 0},
      {"1.5", false, 0},
      {"2147483648", false, 0},
      {"99999999999999999999", false, 0},
      {"--1", false, 0},
  };
  for (const WholeCase& c : cases) {
    int32_t value = 12345;
    EXPECT_EQ(parse_whole(c.text, value), c.ok) << c.text;
    EXPECT_EQ(value, c.ok ? c.value : 12345) << c.text << ": a refused word leaves the value";
  }
}

TEST(Tokens, RangesAndSignlessDigits) {
  int32_t v = 0;
  EXPECT_TRUE(parse_whole("99", v, 0, 99));
  EXPECT_FALSE(parse_whole("100", v, 0, 99));
  EXPECT_FALSE(parse_whole("-1", v, 0, 99));
  EXPECT_FALSE(parse_digits("-1", v));
  EXPECT_FALSE(parse_digits("+1", v));
  EXPECT_TRUE(parse_digits("63", v, 0, 63));
  EXPECT_EQ(v, 63);
}

TEST(Tokens, AtoiReadingForLenientSections) {
  EXPECT_EQ(token_number("12abc"), 12);
  EXPECT_EQ(token_number("abc"), 0);
  EXPECT_EQ(token_number("-5"), -5);
  EXPECT_EQ(token_number("99999999999"), kNoHigh);
}

TEST(Tokens, CaseFreeWordsAndLabels) {
  EXPECT_TRUE(same_word("AUTO", "auto"));
  EXPECT_FALSE(same_word("auto", "autos"));
  EXPECT_FALSE(same_word("\xC9", "\xE9")) << "only ASCII letters fold";
  EXPECT_TRUE(starts_with_nocase("Inv_Canton_3", "inv_canton_"));
  EXPECT_FALSE(starts_with_nocase("inv", "inv_canton_"));

  int32_t n = -1;
  EXPECT_TRUE(split_label("C105", "c", n, 0, 999));
  EXPECT_EQ(n, 105);
  EXPECT_FALSE(split_label("c", "c", n));
  EXPECT_FALSE(split_label("c1x", "c", n));
  EXPECT_FALSE(split_label("c-1", "c", n));
  EXPECT_FALSE(split_label("g50", "g", n, 0, 48));
}

}  // namespace
