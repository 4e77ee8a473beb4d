#include "trains/selectif_config.h"

#include <string>

#include "core/config_reader.h"
#include "core/system.h"

namespace {

constexpr const char* kTitle = "Erreur";

bool is_blank(int ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

int sign_value(int ch) {
  return ch == '+' ? 0 : (ch == '-' ? 1 : -1);
}

class SelectifReader {
 public:
  SelectifReader(System& sys, ConfigText& text) : sys_(sys), text_(text) {}

  void read() {
    if (!seek_header()) return;
    for (int ch = next_nonblank(); ch != -1 && ch != ']'; ch = next_nonblank()) term(ch);
  }

 private:
  // Outside the section: '@' comments to the end of the line, "#word" names a section.
  bool seek_header() {
    for (int ch = next_nonblank(); ch != -1; ch = next_nonblank()) {
      if (ch == '@') {
        skip_line();
      } else if (ch == '#' && word() == "selectif") {
        word();  // the opening bracket
        return true;
      }
    }
    return false;
  }

  void term(int ch) {
    if (ch == 'c') {
      canton_term();
    } else if (ch == '+' || ch == '-') {
      alternative();
    } else if (ch == 'a') {
      condition_term();
    }
  }

  // "cN:S" opens a rule for target N entered in direction S; "cNS" gives the current rule its
  // from canton N, left in direction S.
  void canton_term() {
    int n = 0;
    if (!number(n)) return;
    const int ch = text_.get();
    if (ch == ':') {
      const int sign_ch = text_.get();
      if (sign_ch == ']') text_.unget();
      last_target_ = n;
      last_target_sign_ = sign_value(sign_ch);
      open_rule(last_target_, last_target_sign_);
      return;
    }
    if (ch == ']' || ch == -1) text_.unget();
    auto& r = current_rule();
    r[kSelFrom] = n;
    if (sign_value(ch) != -1) r[kSelFromSign] = sign_value(ch);
  }

  // A lone sign: another way into the target of the last "cN:" term.
  void alternative() {
    if (last_target_ == -1) no_rule_error();
    open_rule(last_target_, last_target_sign_);
  }

  // "aN.P": the rule also needs turnout N in position P.
  void condition_term() {
    int turnout = 0;
    int position = 0;
    if (!number(turnout)) return;
    int ch = next_nonblank();
    if (ch != '.') {
      if (ch != -1) text_.unget();
      return;
    }
    if (!number(position)) return;
    auto& r = current_rule();
    if (conditions_ == kSelectifConditions) {
      fatal_two(
          "Le fichier 'config.txt' comporte une ligne trop complexe dans la section "
          "'#selectif' !",
          "Un terme 'cX:+ cY+' doit être suivi de 6 aiguillages au maximum !");
    }
    r[static_cast<size_t>(kSelConditions + 2 * conditions_)] = turnout;
    r[static_cast<size_t>(kSelConditions + 2 * conditions_ + 1)] = position;
    ++conditions_;
  }

  void open_rule(int target, int sign) {
    if (count_ == kSelectifRules) {
      fatal_two("Le fichier 'config.txt' comporte trop de lignes dans la section '#selectif' !",
                "Pas plus de 100 termes 'Cx :' dans la partie '#selectif' de 'config.txt'");
    }
    auto& r = sys_.selectif.rule[static_cast<size_t>(count_++)];
    r[kSelTarget] = target;
    r[kSelTargetSign] = sign;
    conditions_ = 0;
  }

  std::array<int32_t, kSelRuleSize>& current_rule() {
    if (count_ == 0) no_rule_error();
    return sys_.selectif.rule[static_cast<size_t>(count_ - 1)];
  }

  // A from canton, sign or condition before any "cX:" term belongs to no rule.
  [[noreturn]] void no_rule_error() {
    fatal_config_box(sys_, kTitle,
                     "Section '#selectif' de 'config.txt' : un terme 'cY+', '+', '-' ou 'aN.P' "
                     "précède le premier terme 'cX:+' !");
  }

  [[noreturn]] void fatal_two(const char* first, const char* second) {
    sys_.host.message_box(kTitle, first, BoxIcon::Error);
    fatal_config_box(sys_, kTitle, second);
  }

  // A whole number, blanks allowed before it, an optional sign; false when none is there (or
  // when it does not fit 32 bits).
  bool number(int& out) {
    std::string digits;
    int ch = next_nonblank();
    if (ch == '+' || ch == '-') {
      digits += static_cast<char>(ch);
      ch = text_.get();
    }
    for (; ch >= '0' && ch <= '9'; ch = text_.get()) digits += static_cast<char>(ch);
    if (ch != -1) text_.unget();
    int32_t value = 0;
    if (!parse_whole(digits, value)) return false;
    out = value;
    return true;
  }

  int next_nonblank() {
    int ch = text_.get();
    while (is_blank(ch)) ch = text_.get();
    return ch;
  }

  std::string word() {
    std::string w;
    int ch = next_nonblank();
    for (; ch != -1 && !is_blank(ch); ch = text_.get()) w += static_cast<char>(ch);
    return w;
  }

  void skip_line() {
    for (int ch = text_.get(); ch != -1 && ch != '\n'; ch = text_.get()) {
    }
  }

  System& sys_;
  ConfigText& text_;
  int count_ = 0;
  int conditions_ = 0;
  int last_target_ = -1;
  int last_target_sign_ = -1;
};

}  // namespace

void read_selectif(System& sys) {
  ConfigText text;
  if (!text.load(work_file(sys, "config.txt").string())) {
    fatal_config_box(sys, kTitle, "Impossible d'ouvrir le fichier de configuration du selectif");
  }
  sys.selectif.reset();
  SelectifReader(sys, text).read();
}
