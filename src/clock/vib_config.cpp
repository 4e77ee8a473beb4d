#include "clock/vib_config.h"

#include "clock/vib_engine.h"
#include "core/config_reader.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "trains/canton_table.h"

namespace {

constexpr int kNoMatch = -1;
constexpr int32_t kMaxSpeed = 64;

bool token_is(const TokenLine& line, int i, std::string_view text) {
  return i < line.count && same_word(line[i], text);
}

int time_entry(const TokenLine& line, int i, int32_t& time) {
  if (!token_is(line, i + 1, ":") || i + 2 >= line.count || !parse_digits(line[i + 2], time))
    return kNoMatch;
  return i + 3;
}

// out_pwm : K , V
int pwm_entry(VibState& vib, const TokenLine& line, int i) {
  int32_t canton, speed;
  if (!token_is(line, i + 1, ":") || i + 4 >= line.count || !parse_digits(line[i + 2], canton) ||
      canton_slot(canton) < 0 || !token_is(line, i + 3, ",") ||
      !parse_whole(line[i + 4], speed, -kMaxSpeed, kMaxSpeed))
    return kNoMatch;
  vib.canton = canton;
  vib.speed = speed;
  return i + 5;
}

// out : label  or  out : ! label; the vibrator writes it every tick.
int out_entry(System& sys, const TokenLine& line, int i) {
  if (!token_is(line, i + 1, ":")) return kNoMatch;
  const bool inverted = token_is(line, i + 2, "!");
  const int at = inverted ? i + 3 : i + 2;
  if (at >= line.count) return kNoMatch;
  const VarNum v = var_from_label(sys, line[at]);
  if (v < 0 || !var_writable(sys, v)) return kNoMatch;
  sys.vib.out = v;
  sys.vib.inverted = inverted ? 1 : 0;
  return at + 1;
}

int read_entry(System& sys, const TokenLine& line, int i) {
  VibState& vib = sys.vib;
  const std::string_view word = line[i];
  if (same_word(word, "time_before")) return time_entry(line, i, vib.time_before);
  if (same_word(word, "time_after")) return time_entry(line, i, vib.time_after);
  if (same_word(word, "out_pwm")) return pwm_entry(vib, line, i);
  if (same_word(word, "out")) return out_entry(sys, line, i);
  if (same_word(word, "on") || same_word(word, "off")) {
    vib.vib_on = same_word(word, "on") ? 1 : 0;
    return i + 1;
  }
  return kNoMatch;
}

}  // namespace

void read_vib_section(System& sys) {
  if (sys.vib.vib_state == 1) vib_drive(sys, sys.vib.inverted, 0);
  sys.vib = VibState{};
  ConfigSection section(sys, kVibTexts);
  TokenLine line;
  while (section.next_line(line)) {
    for (int i = 0; i < line.count;) {
      i = read_entry(sys, line, i);
      if (i == kNoMatch) section.description_error(line);
    }
  }
  // Counting starts from the configured times: at 0 a problem in the first tick would start
  // the vibrator at once.
  sys.vib.start_count = sys.vib.time_before;
  sys.vib.stop_count = sys.vib.time_after;
}
