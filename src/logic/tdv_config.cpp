#include "logic/tdv_config.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/text.h"
#include "core/var_bus.h"

namespace {

constexpr size_t kWordRoom = 259;  // the longest word the reader accepts
constexpr int32_t kMaxPulseTime = 9999;

constexpr const char* kOpenFailure =
    "Impossible d'ouvrir le fichier de configuration des tables de vérité 'Config.txt'";
constexpr const char* kDescriptionPrefix =
    "Fichier 'config.txt',    Section #tdv\n\nErreur de description sur une ligne ou un élement "
    "de ligne :\n\n";
constexpr const char* kPulseError = "Erreur dans une ligne 'pulse:'";

struct OpcodeWord {
  std::string_view word;
  int32_t opcode;
};

constexpr OpcodeWord kOpcodeWords[] = {
    {"l", kOpLoad},   {"a", kOpAnd},     {"o", kOpOr},     {"ln", kOpLoadNot},   {"an", kOpAndNot},
    {"on", kOpOrNot}, {"xn", kOpXorNot}, {"=", kOpAssign}, {"=set", kOpSet},     {"=clr", kOpClr},
    {"=num", kOpNum}, {"=val", kOpVal},  {"=var", kOpVar}, {"=varx4", kOpVarX4},
};

// Tried in this order, so "<=" is never read as "<".
struct Comparison {
  std::string_view op;
  int32_t offset;  // added to the load opcode
};

constexpr Comparison kComparisons[] = {
    {"==", kOpLoadEq - kOpLoad}, {"<>", kOpLoadNe - kOpLoad}, {"<=", kOpLoadLe - kOpLoad},
    {">=", kOpLoadGe - kOpLoad}, {"<", kOpLoadLt - kOpLoad},  {">", kOpLoadGt - kOpLoad},
};

enum class Mode { Heading, Inputs, Outputs, Init, Row, Equations, Pulse };
enum class Pending { None, Clear, Set };

// A pulse cut short in an "on" phase would leave its variables on for good (an uncoupler
// coil powered): they are switched off before the pulses are reset.
void switch_off_running_pulses(System& sys) {
  const PulseTable& pulse = sys.tdv.pulse;
  for (size_t p = 0; p < static_cast<size_t>(kPulses); ++p) {
    const bool on = (pulse.state[p] == kPulseFirstOn && pulse.time[p][1] != 0) ||
                    (pulse.state[p] == kPulseSecondOn && pulse.time[p][3] != 0);
    if (!pulse.defined[p] || !on) continue;
    for (const VarNum v : {pulse.var1[p], pulse.var2[p]}) {
      if (v >= 0) var_write(sys, v, 0);
    }
  }
}

void reset_program(TdvLogic& tdv) {
  tdv.prog.fill(0);
  tdv.prog[0] = kOpStart;
  tdv.length = 1;
  tdv.start.fill(-1);
  tdv.on.fill(0);
  PulseTable& pulse = tdv.pulse;
  pulse.defined.fill(0);
  pulse.time.fill({});
  pulse.var1.fill(-1);
  pulse.var2.fill(-1);
  pulse.state.fill(kPulseIdle);
  pulse.count.fill(0);
}

// The digits from `pos` on, at most kMaxPulseTime; `pos` moves past them.
bool read_pulse_number(std::string_view word, size_t& pos, int32_t& value) {
  const size_t end = std::min(word.find_first_not_of("0123456789", pos), word.size());
  if (!parse_digits(word.substr(pos, end - pos), value, 0, kMaxPulseTime)) return false;
  pos = end;
  return true;
}

// "pulseN:t1,t2,t3,t4,t5": one separator character between the numbers, nothing after t5.
bool parse_pulse_word(std::string_view word, int32_t& number, PulseTable& pulse) {
  size_t pos = std::string_view("pulse").size();
  if (!read_pulse_number(word, pos, number) || number >= kPulses) return false;
  std::array<int32_t, kPulseTimes> times{};
  for (int32_t& t : times) {
    if (pos >= word.size()) return false;
    ++pos;  // the separator
    if (!read_pulse_number(word, pos, t)) return false;
  }
  if (pos != word.size()) return false;
  pulse.time[static_cast<size_t>(number)] = times;
  return true;
}

class TdvCompiler {
 public:
  TdvCompiler(System& sys, ConfigText& text) : sys_(sys), tdv_(sys.tdv), text_(text) {}

  // Reads the words of one section, up to its closing word or the end of the file.
  void compile_section() {
    while (text_.next_word(word_)) {
      if (word_[0] == '@') {
        skip_rest_of_line();
        continue;
      }
      if (word_[0] == ']') return;
      if (word_.size() > kWordRoom) error("Mot trop long (259 caractères maximum)");
      lower_ascii(word_);
      compile_word();
    }
  }

  void finish() { tdv_.prog[static_cast<size_t>(tdv_.length++)] = kOpEnd; }

 private:
  [[noreturn]] void error(const std::string& reason) const {
    fatal_config_box(sys_, "ZIR - Erreur",
                     kDescriptionPrefix + reason + "\n\n" + cp1252_to_utf8(word_));
  }

  void skip_rest_of_line() {
    int c;
    while ((c = text_.get()) != -1 && c != '\n') {
    }
  }

  // Room is always kept for the end item.
  void emit(int32_t item) {
    if (tdv_.length >= kProgramMax - 1) {
      error("Trop d'éléments dans les tables et équations (" + std::to_string(kProgramMax) +
            " maximum)");
    }
    tdv_.prog[static_cast<size_t>(tdv_.length++)] = item;
  }

  int32_t last_item() const { return tdv_.prog[static_cast<size_t>(tdv_.length - 1)]; }

  void compile_word() {
    const std::string_view w = word_;
    if (w == "tdv:") return start_table();
    if (w == "on:") return read_on_value();
    if (w == "in:") return enter(kOpIn, Mode::Inputs);
    if (w == "out:") return enter(kOpOut, Mode::Outputs);
    if (w == "init:") return enter(kOpInit, Mode::Init);
    if (w == "eq:") return enter(kOpRow, Mode::Row);
    if (w == "equ:") {
      mode_ = Mode::Equations;
      return;
    }
    if (w == "clear" || w == "clr") {
      pending_ = Pending::Clear;
      return;
    }
    if (w == "set") {
      pending_ = Pending::Set;
      return;
    }
    if (w == "0" || w == "1") return emit(w[0] - '0');
    if (w == "x") return emit(mode_ == Mode::Equations ? kOpXor : kAnyValue);
    if (w == "|") return;
    for (const OpcodeWord& op : kOpcodeWords) {
      if (w == op.word) return emit(op.opcode);
    }
    // pulse_cmd_N is the bus label that fires a pulse, not a definition.
    if (w.starts_with("pulse") && !w.starts_with("pulse_cmd_")) return define_pulse();
    for (const Comparison& cmp : kComparisons) {
      const size_t at = w.find(cmp.op);
      if (at != std::string_view::npos) return compile_comparison(cmp, at);
    }
    compile_label();
  }

  void enter(int32_t opcode, Mode mode) {
    emit(opcode);
    mode_ = mode;
  }

  void start_table() {
    if (tables_ >= kTdvTables) {
      error("Trop de tables 'tdv:' (" + std::to_string(kTdvTables) + " maximum)");
    }
    table_ = tables_++;
    tdv_.start[static_cast<size_t>(table_)] = tdv_.length;
    tdv_.on[static_cast<size_t>(table_)] = 1;
    mode_ = Mode::Heading;
  }

  void read_on_value() {
    if (table_ < 0) error("'on:' avant le premier 'tdv:'");
    int32_t value = 0;
    if (!text_.next_word(word_) || !parse_whole(word_, value)) {
      error("'on:' doit être suivi d'un nombre entier");
    }
    tdv_.on[static_cast<size_t>(table_)] = value;
  }

  void compile_comparison(const Comparison& cmp, size_t at) {
    if (tdv_.length < 2 || last_item() != kOpLoad) {
      error("Une comparaison doit suivre 'l'");
    }
    const std::string_view w = word_;
    int32_t constant = 0;
    if (!parse_whole(w.substr(at + cmp.op.size()), constant)) {
      error("Constante invalide dans une comparaison");
    }
    const std::string label(w.substr(0, at));
    tdv_.prog[static_cast<size_t>(tdv_.length - 1)] += cmp.offset;
    emit(var_from_label(sys_, label.c_str()));
    emit(constant);
  }

  void define_pulse() {
    if (!parse_pulse_word(word_, pulse_, tdv_.pulse)) error(kPulseError);
    const size_t p = static_cast<size_t>(pulse_);
    tdv_.pulse.defined[p] = 1;
    tdv_.pulse.var1[p] = -1;
    tdv_.pulse.var2[p] = -1;
    pulse_vars_ = 0;
    mode_ = Mode::Pulse;
  }

  void add_pulse_variable() {
    if (pulse_vars_ >= 2) error(kPulseError);
    const VarNum v = var_from_label(sys_, word_.c_str());
    if (v < 0) error(kPulseError);
    const size_t p = static_cast<size_t>(pulse_);
    (pulse_vars_++ == 0 ? tdv_.pulse.var1 : tdv_.pulse.var2)[p] = v;
  }

  // Rows set by default, init: pairs clear by default.
  void emit_pair(Pending default_choice) {
    const Pending choice = pending_ == Pending::None ? default_choice : pending_;
    pending_ = Pending::None;
    const VarNum v = var_from_label(sys_, word_.c_str());
    emit(choice == Pending::Set ? kCodeSet : kCodeClear);
    emit(v);
  }

  void compile_label() {
    switch (mode_) {
      case Mode::Heading:
      case Mode::Inputs:
      case Mode::Outputs:
        return emit(var_from_label(sys_, word_.c_str()));
      case Mode::Init:
        return emit_pair(Pending::Clear);
      case Mode::Row:
        return emit_pair(Pending::Set);
      case Mode::Pulse:
        return add_pulse_variable();
      case Mode::Equations:
        break;
    }
    // The second operand of =val is a constant.
    if (tdv_.length >= 2 && tdv_.prog[static_cast<size_t>(tdv_.length - 2)] == kOpVal) {
      int32_t constant = 0;
      if (!parse_whole(word_, constant)) error("Constante invalide après '=val'");
      return emit(constant);
    }
    emit(var_from_label(sys_, word_.c_str()));
  }

  System& sys_;
  TdvLogic& tdv_;
  ConfigText& text_;
  std::string word_;
  int table_ = -1;
  int tables_ = 0;
  int32_t pulse_ = -1;
  int pulse_vars_ = 0;
  Mode mode_ = Mode::Heading;
  Pending pending_ = Pending::None;
};

}  // namespace

void read_tdv(System& sys) {
  switch_off_running_pulses(sys);
  reset_program(sys.tdv);
  ConfigText text;
  if (!text.load(work_file(sys, "config.txt").string())) {
    fatal_config_box(sys, "Erreur", kOpenFailure);
  }
  TdvCompiler compiler(sys, text);
  // Unlike the other sections, every #tdv section of the file is read into one program.
  while (seek_section(text, "#tdv")) compiler.compile_section();
  compiler.finish();
}
