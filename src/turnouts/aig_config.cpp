#include "turnouts/aig_config.h"

#include <cstring>

#include "core/config_reader.h"
#include "core/system.h"
#include "core/var_bus.h"

namespace {

// Where the next `out` and `tic` go. The cursor carries over from token to token and from line
// to line: an `out` after `aigN:` with no phase keyword lands in the phase that was current.
struct AigCursor {
  int turnout = 0;
  std::array<int, 2> phases{};
  int phase_count = 0;  // 0: the shared rest list
  int slot = 0;
};

struct PhaseKey {
  const char* word;
  int phase_count;
  std::array<int, 2> phases;
};

constexpr PhaseKey kPhaseKeys[] = {
    {"prep0", 1, {0, 0}}, {"go0", 1, {1, 1}},      {"lib0", 1, {2, 2}},
    {"prep1", 1, {3, 3}}, {"go1", 1, {4, 4}},      {"lib1", 1, {5, 5}},
    {"repos", 0, {0, 0}}, {"preplib0", 2, {0, 2}}, {"preplib1", 2, {3, 5}},
};

constexpr int kNoMatch = -1;

bool token_is(const TokenLine& line, int i, const char* text) {
  return i < line.count && std::strcmp(line[i], text) == 0;
}

bool number_token(const TokenLine& line, int i, int32_t& value) {
  return i < line.count && parse_whole(line[i], value);
}

// `word` is `prefix` (with its case) followed by a whole number.
bool number_after(std::string_view word, std::string_view prefix, int32_t& value) {
  return word.starts_with(prefix) && parse_whole(word.substr(prefix.size()), value);
}

// Each entry reads its tokens from index `i` and returns the index after them, or kNoMatch.

int turnout_entry(System& sys, const TokenLine& line, int i, int32_t n, AigCursor& cur) {
  if (n < 0 || n >= kTurnouts || !token_is(line, i + 1, ":")) return kNoMatch;
  cur.turnout = n;
  sys.aig.AIG_DESCR_INFO[n][AIG_INFO_DEFINED] = 1;
  return i + 2;
}

int phase_entry(const TokenLine& line, int i, const PhaseKey& key, AigCursor& cur) {
  if (!token_is(line, i + 1, ":")) return kNoMatch;
  cur.phase_count = key.phase_count;
  cur.phases = key.phases;
  cur.slot = 0;
  return i + 2;
}

int out_entry(System& sys, const TokenLine& line, int i, int32_t out, AigCursor& cur) {
  int32_t value;
  if (aig_output_index(out) < 0 || !token_is(line, i + 1, "=") || !number_token(line, i + 2, value))
    return kNoMatch;
  int capacity = cur.phase_count == 0 ? kAigIdleSlots : kAigPhaseSlots;
  if (cur.slot >= capacity) return kNoMatch;
  const AigSlot slot{out, value};
  if (cur.phase_count == 0) {
    sys.aig.AIG_DESCR_IDLE[cur.slot] = slot;
  } else {
    for (int k = 0; k < cur.phase_count; ++k)
      sys.aig.AIG_DESCR[cur.turnout][cur.phases[k]].slot[cur.slot] = slot;
  }
  ++cur.slot;
  return i + 3;
}

int tic_entry(System& sys, const TokenLine& line, int i, const AigCursor& cur) {
  int32_t tic;
  if (!token_is(line, i + 1, "=") || !number_token(line, i + 2, tic)) return kNoMatch;
  for (int k = 0; k < cur.phase_count; ++k) sys.aig.AIG_DESCR[cur.turnout][cur.phases[k]].tic = tic;
  return i + 3;
}

// verif0 : label = V
int verif_entry(System& sys, const TokenLine& line, int i, int var_field, const AigCursor& cur) {
  int32_t value;
  if (!token_is(line, i + 1, ":") || i + 2 >= line.count || !token_is(line, i + 3, "=") ||
      !number_token(line, i + 4, value))
    return kNoMatch;
  VarNum var = var_from_label(sys, line[i + 2]);
  if (var < 0) return kNoMatch;
  sys.aig.AIG_DESCR_INFO[cur.turnout][var_field] = var;
  sys.aig.AIG_DESCR_INFO[cur.turnout][var_field + 1] = value;
  return i + 5;
}

// default_tic : a , b , c , d , e , f  fills every duration still unset, turnouts 0..63.
int default_tic_entry(System& sys, const TokenLine& line, int i) {
  if (!token_is(line, i + 1, ":")) return kNoMatch;
  std::array<int32_t, kAigPhases> tics;
  for (int p = 0; p < kAigPhases; ++p) {
    int at = i + 2 + 2 * p;
    if (p > 0 && !token_is(line, at - 1, ",")) return kNoMatch;
    if (!number_token(line, at, tics[p])) return kNoMatch;
  }
  for (auto& phases : sys.aig.AIG_DESCR)
    for (int p = 0; p < kAigPhases; ++p)
      if (phases[p].tic == -1) phases[p].tic = tics[p];
  return i + 2 + 2 * kAigPhases - 1;
}

// position_depart : aN . V ...  takes the rest of the line. Entries in groups of three; one
// that is not "aN . 1" with N a turnout is passed over, as is an incomplete last group.
int position_depart_entry(System& sys, const TokenLine& line, int i) {
  if (!token_is(line, i + 1, ":")) return kNoMatch;
  // Remembered positions come from config_tco.txt; without that file the line here counts.
  if (sys.general.memorisation_aig && panel_file_present(sys)) return line.count;
  int first = i + 2;
  if (line.count - first < 3) return kNoMatch;
  for (int j = first; j + 2 < line.count; j += 3) {
    int32_t n, v;
    if (number_after(line[j], "a", n) && token_is(line, j + 1, ".") &&
        number_token(line, j + 2, v) && n >= 0 && n < kTurnouts && v == 1)
      sys.aig.aig_cmd[n] = 1;
  }
  return line.count;
}

int read_entry(System& sys, const TokenLine& line, int i, AigCursor& cur) {
  const char* word = line[i];
  for (const PhaseKey& key : kPhaseKeys)
    if (std::strcmp(word, key.word) == 0) return phase_entry(line, i, key, cur);
  if (std::strcmp(word, "tic") == 0) return tic_entry(sys, line, i, cur);
  if (std::strcmp(word, "verif0") == 0) return verif_entry(sys, line, i, AIG_INFO_VERIF0_VAR, cur);
  if (std::strcmp(word, "verif1") == 0) return verif_entry(sys, line, i, AIG_INFO_VERIF1_VAR, cur);
  if (std::strcmp(word, "default_tic") == 0) return default_tic_entry(sys, line, i);
  if (std::strcmp(word, "position_depart") == 0) return position_depart_entry(sys, line, i);
  int32_t n;
  if (number_after(word, "aig", n)) return turnout_entry(sys, line, i, n, cur);
  if (number_after(word, "out", n)) return out_entry(sys, line, i, n, cur);
  return kNoMatch;
}

}  // namespace

void read_aig_section(System& sys) {
  sys.aig.reset_description();
  ConfigSection section(sys, kAigTexts);
  TokenLine line;
  AigCursor cur;
  while (section.next_line(line)) {
    for (int i = 0; i < line.count;) {
      i = read_entry(sys, line, i, cur);
      if (i == kNoMatch) section.description_error(line);
    }
  }
}

void aig_restore_saved_position(System& sys, int turnout, int value) {
  if (value == 1 && sys.aig.defined(turnout)) sys.aig.aig_cmd[turnout] = 1;
}
