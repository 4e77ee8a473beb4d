#include "moves/depl_config.h"

#include <cstring>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/text.h"
#include "core/tokens.h"
#include "core/var_bus.h"

namespace {

constexpr const char* kDeplErrorTitle = "ZIR - Erreur dans 'config.txt'";
constexpr const char* kMissingFin =
    "Fichier 'config.txt',\n\nSection #Déplacement, erreur il manque l'instruction 'fin:' ligne :";
constexpr int kNoMatch = -1;
constexpr int kListEntries = 10;
constexpr int kVariableEntries = 4;
constexpr int kSecondsMax = 999;
constexpr int kLevelMax = 28;
constexpr int kLevelKept = -2;  // `xx`: the level stays as it is
constexpr int kServoPositionMax = 1023;
constexpr size_t kNameMax = 40;

struct VariableKind {
  const char* word;
  int kind;
};
constexpr VariableKind kVariableKinds[] = {
    {"sdeb", DEPL_SDEB}, {"sfin", DEPL_SFIN}, {"cdeb", DEPL_CDEB},
    {"cfin", DEPL_CFIN}, {"sc", DEPL_SC},
};

// The four watched variables, each recognised by its leading letters.
struct WatchKey {
  const char* prefix;
  int field;
};
constexpr WatchKey kWatchKeys[] = {
    {"pass", DEPL_PASS},
    {"libe", DEPL_LIBE},
    {"fin", DEPL_FIN},
    {"hal", DEPL_HALT},
};

bool canton_label(const char* word, int32_t& canton) {
  return split_label(word, "c", canton, 0, 315) && canton_slot(canton) >= 0;
}

bool siding_label(const char* word, int32_t& siding) {
  return split_label(word, "g", siding, 0, kSidings - 1);
}

// One line of the section. Each entry reads its tokens from index i and returns the index
// after them, or kNoMatch; the first entry that matches wins.
class DeplLine {
 public:
  DeplLine(System& sys, const TokenLine& line) : sys_(sys), line_(line) {}

  void read() {
    for (int i = 0; i < line_.count;) {
      const int next = entry(i);
      if (next == kNoMatch) description_error();
      i = next;
    }
    check_fin();
  }

 private:
  [[noreturn]] void description_error() const {
    fatal_config_box(sys_, kDeplErrorTitle, tokens_text(kDeplTexts.description_prefix, line_));
  }

  // Every movement a line names must have its arrival variable, given on this line or before.
  void check_fin() const {
    if (movement_ >= 0 && record()[DEPL_FIN] == -1)
      fatal_config_box(sys_, kDeplErrorTitle, tokens_text(kMissingFin, line_));
  }

  bool has(int i) const { return i < line_.count; }
  bool word(int i, const char* w) const { return has(i) && same_word(line_[i], w); }
  bool number(int i, int32_t& value, int32_t lo, int32_t hi) const {
    return has(i) && parse_digits(line_[i], value, lo, hi);
  }
  // A label that the variable bus knows.
  bool known_label(int i, VarNum& var) const {
    if (!has(i)) return false;
    var = var_from_label(sys_, line_[i]);
    return var >= 0;
  }
  DeplRecord& record() const { return sys_.depl.depl_record[static_cast<size_t>(movement_)]; }

  int entry(int i) {
    if (int next = acc_dec(i); next != kNoMatch) return next;
    if (int next = movement(i); next != kNoMatch) return next;
    if (movement_ < 0) return kNoMatch;  // nothing to describe yet
    for (auto row : kRows)
      if (int next = (this->*row)(i); next != kNoMatch) return next;
    return kNoMatch;
  }

  // acc - dec : A - D, each `xx` (unchanged) or a level; the rest of the line is ignored.
  int acc_dec(int i) {
    int32_t acc = 0, dec = 0;
    if (!word(i, "acc") || !word(i + 1, "-") || !word(i + 2, "dec") || !word(i + 3, ":") ||
        !level(i + 4, acc) || !word(i + 5, "-") || !level(i + 6, dec))
      return kNoMatch;
    if (acc != kLevelKept) sys_.depl.acc = acc;
    if (dec != kLevelKept) sys_.depl.dec = dec;
    return line_.count;
  }
  bool level(int i, int32_t& value) const {
    if (word(i, "xx")) {
      value = kLevelKept;
      return true;
    }
    return number(i, value, 1, kLevelMax);
  }

  int movement(int i) {
    int32_t n = 0;
    if (!has(i) || !split_label(line_[i], "d", n, 0, kMovements - 1)) return kNoMatch;
    check_fin();
    movement_ = n;
    cantons_ = turnouts_ = variables_ = 0;
    return i + 1;
  }

  int variable(int i) {
    for (const VariableKind& k : kVariableKinds) {
      if (!word(i, k.word)) continue;
      if (!word(i + 1, ":") || !has(i + 2) || variables_ >= kVariableEntries) return kNoMatch;
      // An unknown label is logged by the bus and stays -1; the engine then writes nothing.
      const int at = DEPL_VARIABLES + 2 * variables_++;
      record()[at] = k.kind;
      record()[at + 1] = var_from_label(sys_, line_[i + 2]);
      return i + 3;
    }
    return kNoMatch;
  }

  // start2 : cN, start : cN | gN, stop : cN | gN
  int end_point(int i) {
    const bool start2 = word(i, "start2");
    const bool start = word(i, "start");
    if ((!start2 && !start && !word(i, "stop")) || !word(i + 1, ":") || !has(i + 2))
      return kNoMatch;
    int32_t n = 0;
    if (!canton_label(line_[i + 2], n)) {
      if (start2 || !siding_label(line_[i + 2], n)) return kNoMatch;
      n += kSidingCanton;
    }
    record()[start2 ? DEPL_START2 : start ? DEPL_START : DEPL_STOP] = n;
    return i + 3;
  }

  int required_train(int i) {
    int32_t n = 0;
    if (!word(i, "train") || !word(i + 1, ":") || !number(i + 2, n, 0, kTrainEntries - 1))
      return kNoMatch;
    record()[DEPL_REQUIRED_TRAIN] = n;
    return i + 3;
  }

  // cN + V, cN - V, gN
  int canton(int i) {
    int32_t n = 0, speed = 0;
    if (cantons_ >= kListEntries) return kNoMatch;
    if (canton_label(line_[i], n)) {
      const bool forward = word(i + 1, "+");
      if ((!forward && !word(i + 1, "-")) || !number(i + 2, speed, 1, 64)) return kNoMatch;
      add_canton(n, forward ? speed : -speed);
      return i + 3;
    }
    if (!siding_label(line_[i], n)) return kNoMatch;
    add_canton(kSidingCanton + n, -1);
    return i + 1;
  }
  void add_canton(int32_t canton, int32_t speed) {
    const int at = DEPL_CANTONS + 2 * cantons_++;
    record()[at] = canton;
    record()[at + 1] = speed;
  }

  // aN . P
  int turnout(int i) {
    int32_t n = 0, position = 0;
    if (turnouts_ >= kListEntries || !split_label(line_[i], "a", n, 0, kTurnouts - 1) ||
        !word(i + 1, ".") || !number(i + 2, position, 0, 1))
      return kNoMatch;
    const int at = DEPL_TURNOUTS + 2 * turnouts_++;
    record()[at] = n;
    record()[at + 1] = position;
    return i + 3;
  }

  // tafN, tsfN: the seconds in the same word.
  int delays(int i) {
    int32_t seconds = 0;
    if (split_label(line_[i], "taf", seconds, 0, kSecondsMax)) {
      record()[DEPL_TAF] = depl_seconds_to_tics(seconds);
    } else if (split_label(line_[i], "tsf", seconds, 0, kSecondsMax)) {
      record()[DEPL_TSF] = depl_seconds_to_tics(seconds);
    } else {
      return kNoMatch;
    }
    return i + 1;
  }

  int tempo(int i) {
    int32_t seconds = 0;
    if (!starts_with_nocase(line_[i], "tempo") || !word(i + 1, ":") ||
        !number(i + 2, seconds, 0, kSecondsMax))
      return kNoMatch;
    record()[DEPL_TEMPO] = depl_seconds_to_tics(seconds);
    return i + 3;
  }

  // pass, libe, fin, halt : label
  int watched(int i) {
    for (const WatchKey& k : kWatchKeys) {
      if (!starts_with_nocase(line_[i], k.prefix)) continue;
      VarNum var = -1;
      if (!word(i + 1, ":") || !known_label(i + 2, var)) return kNoMatch;
      record()[k.field] = var;
      record()[k.field + 1] = 1;
      return i + 3;
    }
    return kNoMatch;
  }

  int name(int i) {
    if (!starts_with_nocase(line_[i], "name") || !word(i + 1, ":") || !has(i + 2) ||
        std::strlen(line_[i + 2]) > kNameMax)
      return kNoMatch;
    sys_.depl.name[static_cast<size_t>(movement_)] = cp1252_to_utf8(line_[i + 2]);
    return i + 3;
  }

  // srvN : P, with N a servo (card * 100 + 0..4) and P a position.
  int servo(int i) {
    int32_t n = 0, position = 0;
    if (!split_label(line_[i], "srv", n, 0, (kCards - 1) * 100 + kServoPerCard - 1) ||
        n % 100 >= kServoPerCard || !word(i + 1, ":") ||
        !number(i + 2, position, 0, kServoPositionMax))
      return kNoMatch;
    record()[DEPL_SERVO] = n;
    record()[DEPL_SERVO_POSITION] = position;
    return i + 3;
  }

  using Row = int (DeplLine::*)(int);
  static constexpr Row kRows[] = {
      &DeplLine::variable, &DeplLine::end_point, &DeplLine::required_train, &DeplLine::canton,
      &DeplLine::turnout,  &DeplLine::delays,    &DeplLine::watched,        &DeplLine::tempo,
      &DeplLine::name,     &DeplLine::servo,
  };

  System& sys_;
  const TokenLine& line_;
  int movement_ = -1;
  int cantons_ = 0;
  int turnouts_ = 0;
  int variables_ = 0;
};

}  // namespace

int32_t depl_seconds_to_tics(int32_t seconds) {
  return seconds * 1000 / kTickMs;
}

void read_depl_section(System& sys) {
  sys.depl.reset();
  sys.aig.aig_reserved.fill(0);
  ConfigSection section(sys, kDeplTexts, MinusMode::Off);
  TokenLine line;
  while (section.next_line(line)) DeplLine(sys, line).read();
}
