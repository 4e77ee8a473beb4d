#include "moves/iti_config.h"

#include <cstring>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/tokens.h"

namespace {

constexpr int kNoMatch = -1;
constexpr const char* kDescriptionTitle = "ZIR - Erreur dans 'config.txt'";

bool token_is(const TokenLine& line, int i, const char* word) {
  return i < line.count && same_word(line[i], word);
}

// cN: a canton number (card * 100 + 0..15).
bool canton_token(const TokenLine& line, int i, int32_t& canton) {
  int32_t n = -1;
  if (i >= line.count || !split_label(line[i], "c", n, 0, 315) || canton_slot(n) < 0) return false;
  canton = n;
  return true;
}

// cN, or gN stored as 1000 + N.
bool position_token(const TokenLine& line, int i, int32_t& position) {
  if (canton_token(line, i, position)) return true;
  int32_t siding = -1;
  if (i >= line.count || !split_label(line[i], "g", siding, 0, kSidings - 1)) return false;
  position = kSidingPosition + siding;
  return true;
}

// One route line after its `itiN :`. Each entry reads its tokens from index `i` and returns the
// index after them, or kNoMatch.
class RouteLine {
 public:
  RouteLine(ItiTable& iti, int route) : iti_(iti), route_(route), r_(iti.iti_record[route]) {}

  int entry(const TokenLine& line, int i) {
    if (token_is(line, i, "direct")) return mode(i, 0);
    if (token_is(line, i, "onoff")) return mode(i, 1);
    if (token_is(line, i, "start")) return canton(line, i, ITI_START_CANTON);
    if (token_is(line, i, "stop")) return canton(line, i, ITI_STOP_CANTON);
    if (token_is(line, i, "name")) return name(line, i);
    return turnout(line, i);
  }

 private:
  int mode(int i, int32_t value) {
    r_[ITI_MODE] = value;
    return i + 1;
  }

  // `start c12`: the canton follows the keyword directly (`start:c12` matches nothing).
  int canton(const TokenLine& line, int i, int field) {
    int32_t c;
    if (!canton_token(line, i + 1, c)) return kNoMatch;
    r_[field] = c;
    return i + 2;
  }

  // aN . P
  int turnout(const TokenLine& line, int i) {
    int32_t n, p;
    if (turnouts_ >= kRouteTurnouts || !split_label(line[i], "a", n, 0, kTurnouts - 1) ||
        !token_is(line, i + 1, ".") || i + 2 >= line.count || !parse_digits(line[i + 2], p, 0, 1))
      return kNoMatch;
    r_[ITI_TURNOUTS + 2 * turnouts_] = n;
    r_[ITI_TURNOUTS + 2 * turnouts_ + 1] = p;
    ++turnouts_;
    return i + 3;
  }

  // name : word
  int name(const TokenLine& line, int i) {
    if (!token_is(line, i + 1, ":") || i + 2 >= line.count ||
        std::strlen(line[i + 2]) > static_cast<size_t>(kRouteNameLength))
      return kNoMatch;
    iti_.name[route_] = line[i + 2];
    return i + 3;
  }

  ItiTable& iti_;
  int route_;
  ItiRecord& r_;
  int turnouts_ = 0;  // restarts with each line of the route
};

// The rest of a split or join line, two positions at a time; a later pair replaces the first.
bool read_pairs(const TokenLine& line, SplitEntry& entry) {
  if ((line.count - 2) % 2 != 0) return false;  // a position without its partner
  for (int i = 2; i < line.count; i += 2) {
    int32_t a, b;
    if (!position_token(line, i, a) || !position_token(line, i + 1, b)) return false;
    entry[SPLIT_POS_A] = a;
    entry[SPLIT_POS_B] = b;
  }
  return true;
}

bool read_route_line(ItiTable& iti, const TokenLine& line, int route) {
  iti.iti_record[route][ITI_DEFINED] = 1;
  RouteLine reader(iti, route);
  for (int i = 2; i < line.count;) {
    i = reader.entry(line, i);
    if (i == kNoMatch) return false;
  }
  return true;
}

bool read_pair_line(SplitEntry& entry, bool& defined, const TokenLine& line) {
  entry[SPLIT_TRIGGER] = 0;
  defined = true;
  return read_pairs(line, entry);
}

// One line, named by its first entry.
bool read_line(ItiTable& iti, const TokenLine& line) {
  if (!token_is(line, 1, ":")) return false;
  int32_t n;
  if (split_label(line[0], "iti", n, 0, kRoutes - 1)) return read_route_line(iti, line, n);
  if (split_label(line[0], "separe", n, 0, kSplitEntries - 1))
    return read_pair_line(iti.separe[n], iti.separe_defined[n], line);
  if (split_label(line[0], "regroupe", n, 0, kSplitEntries - 1))
    return read_pair_line(iti.regroupe[n], iti.regroupe_defined[n], line);
  return false;
}

}  // namespace

void read_iti_section(System& sys) {
  sys.iti.reset();
  ConfigSection section(sys, kItiTexts, MinusMode::Off);
  TokenLine line;
  while (section.next_line(line)) {
    if (!read_line(sys.iti, line))
      fatal_config_box(sys, kDescriptionTitle, tokens_text(kItiTexts.description_prefix, line));
  }
}
