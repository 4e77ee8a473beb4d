#include "moves/garage_config.h"

#include "core/config_reader.h"
#include "core/system.h"
#include "core/tokens.h"

namespace {

constexpr int kGarageLineTokens = 5;
constexpr const char* kGarageErrorTitle = "ZIR - Erreur dans 'config.txt'";

[[noreturn]] void garage_line_error(System& sys, const TokenLine& line) {
  fatal_config_box(sys, kGarageErrorTitle, tokens_text(kGarageTexts.description_prefix, line));
}

// One of the three entries after `gN :`; false when the word is none of them.
bool garage_entry(GarageTable& g, int siding, const char* word) {
  const size_t s = static_cast<size_t>(siding);
  int32_t n = 0;
  if (split_label(word, "c", n, 0, 315) && canton_slot(n) >= 0) {
    g.ass_canton[s] = n;
    return true;
  }
  if (split_label(word, "out", n, 0, 379) && n % 100 < kOutPerCard) {
    g.ass_out[s] = n;
    return true;
  }
  if (split_label(word, "pol", n, 0, 1)) {
    g.pol[s] = n;
    return true;
  }
  return false;
}

}  // namespace

void read_garage_section(System& sys) {
  sys.garage.reset();
  ConfigSection section(sys, kGarageTexts);
  TokenLine line;
  while (section.next_line(line)) {
    int32_t siding = 0;
    if (line.count != kGarageLineTokens || !split_label(line[0], "g", siding, 0, kSidings - 1) ||
        !same_word(line[1], ":"))
      garage_line_error(sys, line);
    for (int i = 2; i < kGarageLineTokens; ++i)
      if (!garage_entry(sys.garage, siding, line[i])) garage_line_error(sys, line);
  }
}
