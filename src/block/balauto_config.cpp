#include "block/balauto_config.h"

#include "block/block_engine.h"
#include "block/rule_tokens.h"
#include "core/config_reader.h"
#include "core/system.h"

namespace {

// Where the reader stands on a line; every line starts at None.
enum class LineState {
  None,
  Vitmax,
  VitmaxConditions,
  Halt,
  HaltConditions,
  Cant,
  Plusur,
  Blocage
};

constexpr int kVitmaxTokens = 6;  // vitmax : cNNN : + V
constexpr int kRuleTokens = 7;    // halt and cant always go on after "keyword : cNNN : +"
constexpr int kHeadTokens = 5;    // keyword : cNNN : +
constexpr int kHaltCondiTokens = 5;
constexpr int kBlocageTokens = 5;
constexpr int kOrTokens = 4;
constexpr int kTempoTokens = 7;  // tempo - libe - cant : N

class BalautoReader {
 public:
  explicit BalautoReader(System& sys) : sys_(sys), b_(sys.block) {}

  // False on a line the grammar does not accept.
  bool read_line(const TokenLine& line) {
    line_ = &line;
    i_ = 0;
    state_ = LineState::None;
    skip_rest_ = false;
    while (i_ < line.count) {
      if (token_is(line, i_, "tempo")) {
        if (!tempo()) return false;
      } else if (state_ == LineState::None) {
        if (!open_rule()) return false;
        if (skip_rest_) return true;
      } else if (!rule_item()) {
        return false;
      }
    }
    return true;
  }

 private:
  int remaining() const { return line_->count - i_; }
  bool at(const char* text) const { return token_is(*line_, i_, text); }

  // "word :" at the current token.
  bool keyword(const char* word) {
    if (!at(word) || !token_is(*line_, i_ + 1, ":")) return false;
    i_ += 2;
    return true;
  }

  void enter(LineState state) {
    state_ = state;
    entries_ = 0;
  }

  bool rule_item() {
    switch (state_) {
      case LineState::Vitmax:
        if (!keyword("condi")) return false;
        enter(LineState::VitmaxConditions);
        return true;
      case LineState::Halt:
        if (remaining() < kHaltCondiTokens || !keyword("condi")) return false;
        enter(LineState::HaltConditions);
        return true;
      case LineState::VitmaxConditions:
        return condition(b_.vitmax[static_cast<size_t>(b_.vitmax_count - 1)].cond);
      case LineState::HaltConditions:
        return condition(b_.halt[static_cast<size_t>(b_.halt_count - 1)].cond);
      case LineState::Cant:
        return cant_item();
      case LineState::Plusur:
        return plusur_item();
      case LineState::Blocage:
        return blocage_item();
      case LineState::None:
        break;
    }
    return false;
  }

  bool tempo() {
    int32_t delay = 0;
    if (remaining() < kTempoTokens || !token_is(*line_, i_ + 1, "-") ||
        !token_is(*line_, i_ + 2, "libe") || !token_is(*line_, i_ + 3, "-") ||
        !token_is(*line_, i_ + 4, "cant") || !token_is(*line_, i_ + 5, ":") ||
        !parse_digits((*line_)[i_ + 6], delay, 0, 99))
      return false;
    b_.tempo_libe_cant = delay;
    i_ += kTempoTokens;
    return true;
  }

  bool open_rule() {
    if (at("vitmax")) return open_vitmax();
    if (at("halt")) return open_halt();
    if (at("cant")) return open_cant();
    return false;
  }

  // A rule beyond its table's size is left out with the rest of its line, without a word.
  bool table_full(int count, int size) {
    skip_rest_ = count >= size;
    return skip_rest_;
  }

  bool open_vitmax() {
    if (remaining() < kVitmaxTokens) return false;
    if (table_full(b_.vitmax_count, kVitmaxRules)) return true;
    VitmaxRule r;
    if (!rule_head(*line_, i_, "vitmax", r.canton) || !signed_speed(*line_, i_ + 4, r.limit))
      return false;
    b_.vitmax[static_cast<size_t>(b_.vitmax_count++)] = r;
    i_ += kVitmaxTokens;
    enter(LineState::Vitmax);
    return true;
  }

  bool open_halt() {
    if (remaining() < kRuleTokens) return false;
    if (table_full(b_.halt_count, kHaltRules)) return true;
    HaltRule r;
    if (!rule_head(*line_, i_, "halt", r.canton) || !direction_token(*line_, i_ + 4, r.direction))
      return false;
    b_.halt[static_cast<size_t>(b_.halt_count++)] = r;
    i_ += kHeadTokens;
    enter(LineState::Halt);
    return true;
  }

  bool open_cant() {
    if (remaining() < kRuleTokens) return false;
    if (table_full(cant_count_, kCantRules)) return true;
    CantRule r;
    if (!rule_head(*line_, i_, "cant", r.canton) || !direction_token(*line_, i_ + 4, r.direction))
      return false;
    b_.cant[static_cast<size_t>(cant_count_++)] = r;
    i_ += kHeadTokens;
    enter(LineState::Cant);
    return true;
  }

  CantRule& current_cant() { return b_.cant[static_cast<size_t>(cant_count_ - 1)]; }

  // dec and ral come before plusur and blocage, in either order.
  bool cant_item() {
    if (at("dec")) return number_item(current_cant().dec, 28);
    if (at("ral")) return number_item(current_cant().ral, 64);
    if (keyword("plusur")) {
      enter(LineState::Plusur);
      return true;
    }
    return open_blocage();
  }

  // "word : N" with 1 <= N <= hi.
  bool number_item(int32_t& field, int32_t hi) {
    if (!token_is(*line_, i_ + 1, ":") || i_ + 2 >= line_->count ||
        !parse_digits((*line_)[i_ + 2], field, 1, hi))
      return false;
    i_ += 3;
    return true;
  }

  bool plusur_item() {
    int32_t canton = 0;
    if (!canton_token(*line_, i_, canton)) return open_blocage();
    if (entries_ == kPlusurCantons) return false;
    current_cant().plusur[static_cast<size_t>(entries_++)] = canton;
    ++i_;
    return true;
  }

  bool open_blocage() {
    if (remaining() < kBlocageTokens || !keyword("blocage")) return false;
    enter(LineState::Blocage);
    return true;
  }

  // A condition, or the OR marker between two groups: never first, never doubled, never last.
  bool blocage_item() {
    VarList<kBlocageEntries>& list = current_cant().blocage;
    if (!at("|")) return condition(list);
    if (remaining() < kOrTokens || entries_ == 0 || token_is(*line_, i_ + 1, "|") ||
        entries_ == kBlocageEntries)
      return false;
    list.var[static_cast<size_t>(entries_)] = kOrMarker;
    list.val[static_cast<size_t>(entries_++)] = 0;
    ++i_;
    return true;
  }

  template <int N>
  bool condition(VarList<N>& list) {
    int32_t var = 0;
    int32_t value = 0;
    if (entries_ == N || !condition_tokens(sys_, *line_, i_, var, value)) return false;
    list.var[static_cast<size_t>(entries_)] = var;
    list.val[static_cast<size_t>(entries_++)] = value;
    i_ += 3;
    return true;
  }

  System& sys_;
  BlockState& b_;
  int cant_count_ = 0;  // block rules read so far
  // The line being read.
  const TokenLine* line_ = nullptr;
  int i_ = 0;
  LineState state_ = LineState::None;
  int entries_ = 0;  // items in the list being filled
  bool skip_rest_ = false;
};

void reset_balauto(BlockState& b) {
  b.vitmax.fill(VitmaxRule{});
  b.halt.fill(HaltRule{});
  b.cant.fill(CantRule{});
  b.vitmax_count = 0;
  b.halt_count = 0;
  b.tempo_libe_cant = 0;
  b.halt_flag.fill(0);
  b.bal_state.fill(0);
  b.bal_dec.fill(-1);
  b.bal_ral.fill(0);
}

}  // namespace

void read_balauto(System& sys) {
  reset_balauto(sys.block);
  ConfigSection section(sys, kBalautoTexts, MinusMode::Off);
  BalautoReader reader(sys);
  TokenLine line;
  while (section.next_line(line)) {
    if (!reader.read_line(line)) section.description_error(line);
  }
  block_rules_changed(sys);
}
