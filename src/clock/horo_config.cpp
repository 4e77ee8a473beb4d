#include "clock/horo_config.h"

#include <string_view>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/var_bus.h"

namespace {

constexpr int kNoMatch = -1;
constexpr int32_t kMaxTicPerMinute = 10000;

// The action being read and the line that opened it, quoted when it turns out incomplete.
struct HoroCursor {
  int action = -1;
  int entries = 0;
  TokenLine hd_line;
};

bool token_is(const TokenLine& line, int i, std::string_view text) {
  return i < line.count && same_word(line[i], text);
}

bool number_at(const TokenLine& line, int i, int32_t& value, int32_t lo, int32_t hi) {
  return i < line.count && parse_digits(line[i], value, lo, hi);
}

// HH : MM from index i, each 0..max_hour and 0..59.
bool time_at(const TokenLine& line, int i, int32_t& h, int32_t& m, int32_t max_hour = 59) {
  return number_at(line, i, h, 0, max_hour) && token_is(line, i + 1, ":") &&
         number_at(line, i + 2, m, 0, 59);
}

HoroAction& current(System& sys, const HoroCursor& cur) {
  return sys.clock.horo[static_cast<size_t>(cur.action)];
}

// depart j : D HH : MM
int depart_entry(System& sys, const TokenLine& line, int i) {
  int32_t d, h, m;
  if (!token_is(line, i + 1, "j") || !token_is(line, i + 2, ":") ||
      !number_at(line, i + 3, d, 0, 6) || !time_at(line, i + 4, h, m, 23))
    return kNoMatch;
  ClockState& c = sys.clock;
  c.start_day = c.day = d;
  c.start_hour = c.hour = h;
  c.start_minute = c.minute = m;
  return i + 7;
}

int tic_par_min_entry(System& sys, const TokenLine& line, int i) {
  int32_t n;
  if (!token_is(line, i + 1, ":") || !number_at(line, i + 2, n, 1, kMaxTicPerMinute))
    return kNoMatch;
  sys.clock.tic_par_min = n;
  return i + 3;
}

// An action without `hi` but with `hf` has no period; `hb` without `vf` would block for good.
void close_action(const ConfigSection& section, System& sys, const HoroCursor& cur) {
  if (cur.action < 0) return;
  const HoroAction& a = current(sys, cur);
  const bool hf_without_hi = a[HORO_HF_H] != -1 && a[HORO_HI_H] == -1;
  const bool hb_without_vf = a[HORO_HB_MODE] != -1 && a[HORO_VF_SENSE] == -1;
  if (hf_without_hi || hb_without_vf) section.description_error(cur.hd_line);
}

// The day of `hd j : D :`, or kNoMatch.
int32_t action_day(const TokenLine& line, int i) {
  if (token_is(line, i, "s")) return HORO_WEEKDAYS;
  if (token_is(line, i, "w")) return HORO_WEEKEND;
  if (token_is(line, i, "n")) return HORO_CLEANING;
  int32_t d;
  return number_at(line, i, d, 0, 6) ? d : kNoMatch;
}

[[noreturn]] void too_many_actions(System& sys) {
  sys.host.message_box("Erreur", "Le fichier config.txt comporte trop d'action '#horo",
                       BoxIcon::Error);
  fatal_config_box(sys, "Erreur", "Section '#horo' (Nb de lignes > 255)");
}

// hd j : D : HH : MM  or  hd HH : MM
int hd_entry(const ConfigSection& section, System& sys, const TokenLine& line, int i,
             HoroCursor& cur) {
  int32_t day = -1, h, m;
  int next;
  if (token_is(line, i + 1, "j")) {
    day = token_is(line, i + 2, ":") ? action_day(line, i + 3) : kNoMatch;
    if (day == kNoMatch || !token_is(line, i + 4, ":") || !time_at(line, i + 5, h, m))
      return kNoMatch;
    next = i + 8;
  } else {
    if (!time_at(line, i + 1, h, m)) return kNoMatch;
    next = i + 4;
  }
  close_action(section, sys, cur);
  if (cur.action + 1 >= kHoroActions) too_many_actions(sys);
  ++cur.action;
  cur.entries = 0;
  cur.hd_line = line;
  HoroAction& a = current(sys, cur);
  a[HORO_DAY] = day;
  a[HORO_HD_H] = h;
  a[HORO_HD_M] = m;
  return next;
}

// hf, hi and hb HH : MM; hb + HH : MM.
int time_entry(System& sys, const TokenLine& line, int i, const HoroCursor& cur, int field) {
  if (cur.action < 0) return kNoMatch;
  const bool delay = field == HORO_HB_H && token_is(line, i + 1, "+");
  const int at = delay ? i + 2 : i + 1;
  int32_t h, m;
  if (!time_at(line, at, h, m)) return kNoMatch;
  if (field == HORO_HI_H && h == 0 && m == 0) return kNoMatch;  // a period of nothing
  HoroAction& a = current(sys, cur);
  a[static_cast<size_t>(field)] = h;
  a[static_cast<size_t>(field + 1)] = m;
  if (field == HORO_HB_H) a[HORO_HB_MODE] = delay ? 1 : 0;
  return at + 3;
}

// vf : label  or  vf : ! label. The variable is read while the clock waits: it must exist.
int vf_entry(System& sys, const TokenLine& line, int i, const HoroCursor& cur) {
  if (cur.action < 0 || !token_is(line, i + 1, ":")) return kNoMatch;
  const bool zero = token_is(line, i + 2, "!");
  const int at = zero ? i + 3 : i + 2;
  if (at >= line.count) return kNoMatch;
  const VarNum v = var_from_label(sys, line[at]);
  if (v < 0 || !var_readable(sys, v)) return kNoMatch;
  HoroAction& a = current(sys, cur);
  a[HORO_VF_SENSE] = zero ? 1 : 0;
  a[HORO_VF_VAR] = v;
  return at + 1;
}

// s : label (kind 1) or c : label (kind 0). An unknown label ends the action's list there.
int action_entry(System& sys, const TokenLine& line, int i, HoroCursor& cur, int32_t kind) {
  if (cur.action < 0 || cur.entries >= kHoroEntries || !token_is(line, i + 1, ":") ||
      i + 2 >= line.count)
    return kNoMatch;
  const VarNum v = var_from_label(sys, line[i + 2]);
  if (v >= 0 && !var_writable(sys, v)) return kNoMatch;
  HoroAction& a = current(sys, cur);
  const size_t slot = static_cast<size_t>(HORO_ENTRIES + 2 * cur.entries);
  a[slot] = kind;
  a[slot + 1] = v;
  ++cur.entries;
  return i + 3;
}

// Words are appended while the comment stays below 80 characters; a word that does not fit is
// passed over. A word is followed by a space unless it begins with ( ) , - or _.
int comment_entry(System& sys, const TokenLine& line, int i, int& comments) {
  if (comments >= kHoroComments || !token_is(line, i + 1, ":")) return kNoMatch;
  std::string& text = sys.clock.comments[static_cast<size_t>(comments++)];
  for (int k = i + 2; k < line.count; ++k) {
    const std::string_view word = line[k];
    if (text.size() + word.size() >= kHoroCommentRoom) continue;
    text += word;
    const bool glued = std::string_view("(),-_").find(word[0]) != std::string_view::npos;
    if (!glued && text.size() + 1 < kHoroCommentRoom) text += ' ';
  }
  return line.count;
}

struct TimeKey {
  const char* word;
  int field;
};
constexpr TimeKey kTimeKeys[] = {{"hf", HORO_HF_H}, {"hi", HORO_HI_H}, {"hb", HORO_HB_H}};

int read_entry(const ConfigSection& section, System& sys, const TokenLine& line, int i,
               HoroCursor& cur, int& comments) {
  const std::string_view word = line[i];
  if (same_word(word, "depart")) return depart_entry(sys, line, i);
  if (same_word(word, "tic_par_min")) return tic_par_min_entry(sys, line, i);
  if (same_word(word, "hd")) return hd_entry(section, sys, line, i, cur);
  for (const TimeKey& k : kTimeKeys)
    if (same_word(word, k.word)) return time_entry(sys, line, i, cur, k.field);
  if (same_word(word, "vf")) return vf_entry(sys, line, i, cur);
  if (same_word(word, "s")) return action_entry(sys, line, i, cur, 1);
  if (same_word(word, "c")) return action_entry(sys, line, i, cur, 0);
  if (same_word(word, "commentaire")) return comment_entry(sys, line, i, comments);
  return kNoMatch;
}

}  // namespace

void read_horo_section(System& sys) {
  sys.clock.reset_timetable();
  ConfigSection section(sys, kHoroTexts);
  TokenLine line;
  HoroCursor cur;
  int comments = 0;
  while (section.next_line(line)) {
    for (int i = 0; i < line.count;) {
      i = read_entry(section, sys, line, i, cur, comments);
      if (i == kNoMatch) section.description_error(line);
    }
  }
  close_action(section, sys, cur);
}
