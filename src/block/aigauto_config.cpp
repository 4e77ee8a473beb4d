#include "block/aigauto_config.h"

#include "block/block_engine.h"
#include "block/rule_tokens.h"
#include "core/config_reader.h"
#include "core/system.h"

namespace {

// The parts of a rule, in the order they must come.
enum class Part { Cant, Plusur, Condi, Actions };

constexpr int kCantTokens = 6;  // cant : cNNN : + V

struct PartKey {
  const char* word;
  Part part;
};
constexpr PartKey kPartKeys[] = {
    {"plusur", Part::Plusur}, {"condi", Part::Condi}, {"actions", Part::Actions}};

class AigautoLine {
 public:
  AigautoLine(System& sys, const TokenLine& line, AigautoRule& rule)
      : sys_(sys), line_(line), rule_(rule) {}

  // False on a line the grammar does not accept.
  bool read() {
    if (line_.count < kCantTokens || !rule_head(line_, 0, "cant", rule_.canton) ||
        !signed_speed(line_, 4, rule_.speed))
      return false;
    i_ = kCantTokens;
    while (i_ < line_.count) {
      if (!(next_part() || item())) return false;
    }
    return true;
  }

 private:
  // Each keyword opens the part right after the current one, even when that one was empty.
  bool next_part() {
    if (!token_is(line_, i_ + 1, ":")) return false;
    for (const PartKey& key : kPartKeys) {
      if (!token_is(line_, i_, key.word)) continue;
      if (static_cast<int>(key.part) != static_cast<int>(part_) + 1) return false;
      part_ = key.part;
      items_ = 0;
      i_ += 2;
      return true;
    }
    return false;
  }

  bool item() {
    if (items_ == kRuleConditions) return false;  // the 6 lists have the same size
    const auto k = static_cast<size_t>(items_);
    switch (part_) {
      case Part::Plusur:
        if (!canton_token(line_, i_, rule_.plusur[k])) return false;
        i_ += 1;
        break;
      case Part::Condi:
        if (!condition_tokens(sys_, line_, i_, rule_.cond.var[k], rule_.cond.val[k])) return false;
        i_ += 3;
        break;
      case Part::Actions:
        if (!turnout_position(line_, i_, rule_.aig[k], rule_.pos[k])) return false;
        i_ += 3;
        break;
      case Part::Cant:
        return false;
    }
    ++items_;
    return true;
  }

  System& sys_;
  const TokenLine& line_;
  AigautoRule& rule_;
  int i_ = 0;
  Part part_ = Part::Cant;
  int items_ = 0;
};

}  // namespace

void read_aigauto(System& sys) {
  BlockState& b = sys.block;
  b.aigauto.fill(AigautoRule{});
  b.aigauto_count = 0;
  ConfigSection section(sys, kAigautoTexts, MinusMode::Off);
  TokenLine line;
  // The rules after the 100th are not read at all.
  while (b.aigauto_count < kAigautoRules && section.next_line(line)) {
    // A rule enters the table whole.
    AigautoRule rule;
    if (!AigautoLine(sys, line, rule).read()) section.description_error(line);
    b.aigauto[static_cast<size_t>(b.aigauto_count++)] = rule;
  }
  block_rules_changed(sys);
}
