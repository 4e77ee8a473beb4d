#include "trains/train_config.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "core/config_reader.h"
#include "core/system.h"

namespace {

constexpr int32_t kLargestNumber = 999999;  // six digits at most

// The number right after a keyword's letters, with their case ("pot102" -> 102); -1 when the
// rest is not digits only.
int number_after(std::string_view token, std::string_view keyword) {
  int32_t n = -1;
  if (!token.starts_with(keyword) ||
      !parse_digits(token.substr(keyword.size()), n, 0, kLargestNumber))
    return -1;
  return n;
}

bool is_digit(char ch) {
  return ch >= '0' && ch <= '9';
}

// Two characters of a profile token as a number (a non-digit second character ends it).
int two_digits(const char* p) {
  return is_digit(p[1]) ? (p[0] - '0') * 10 + (p[1] - '0') : p[0] - '0';
}

bool is_profile_token(const char* token) {
  return std::strlen(token) == 14 && token[2] == '-' && token[5] == '-' && token[8] == '-' &&
         token[11] == '-';
}

// VV-XX-AA-DD-FF applied to a profile row; false when vmin does not stay below vmax.
bool apply_profile(TrainTable& t, int row, const char* token) {
  t.vmin[row] = is_digit(token[0]) ? std::clamp(two_digits(token), 1, 50) : 1;
  if (is_digit(token[3])) t.vmax[row] = std::clamp(two_digits(token + 3), 5, 64);
  std::array<int32_t*, 3> inertia{&t.acc[row], &t.dec[row], &t.frein[row]};
  for (size_t k = 0; k < inertia.size(); ++k) {
    const char* p = token + 6 + 3 * k;
    if (is_digit(p[0])) *inertia[k] = std::clamp(two_digits(p), 1, 28);
  }
  return t.vmin[row] < t.vmax[row];
}

std::string long_name_from_file(const char* token) {
  std::string s(token);
  for (char& ch : s) {
    if (ch == '_') ch = ' ';
  }
  return s;
}

bool is(const char* token, const char* word) {
  return std::strcmp(token, word) == 0;
}

// The current entry of a line: a train (0..31), a reserve row, or none.
struct Entry {
  enum Kind { None, Train, Reserve } kind = None;
  int index = -1;
  int row() const { return kind == Train ? index : kReserveRow0 + index; }
};

class TrainLineReader {
 public:
  TrainLineReader(System& sys, ConfigSection& sec, const TokenLine& line)
      : sys_(sys), t_(sys.trains), sec_(sec), line_(line) {}

  void read() {
    if (line_.count > 0 && (is(line_[0], "acc_progressif") || is(line_[0], "dec_progressif"))) {
      read_progressive();
      return;
    }
    int i = 0;
    while (i < line_.count) i = token_at(i);
  }

 private:
  [[noreturn]] void fail() const { sec_.description_error(line_); }

  bool has(int i) const { return i < line_.count; }
  bool colon_at(int i) const { return has(i) && is(line_[i], ":"); }

  // Interprets the token at i and what belongs to it; returns the index of the next token.
  int token_at(int i) {
    const char* tok = line_[i];
    if (std::strncmp(tok, "train", 5) == 0) return open_train(i);
    if (is(tok, "reserve")) return open_reserve(i);
    if (std::strncmp(tok, "clav_conf_", 10) == 0) return read_clav_conf(i);
    if (entry_.kind == Entry::None) fail();
    if (is(tok, "color")) return read_color(i);
    if (is(tok, "inv")) {
      t_.inv[entry_.row()] = 1;
      return i + 1;
    }
    if (is_profile_token(tok)) {
      if (!apply_profile(t_, entry_.row(), tok)) fail();
      return i + 1;
    }
    if (entry_.kind == Entry::Reserve) return read_reserve_option(i);
    return read_train_option(i);
  }

  int open_train(int i) {
    // Remembered trains come from config_tco.txt; without that file the lines here count.
    if (sys_.general.memorisation_train && panel_file_present(sys_)) return line_.count;
    int n = number_after(line_[i], "train");
    if (n < 0 || n >= kTrainEntries || !colon_at(i + 1) || !has(i + 2) ||
        std::strlen(line_[i + 2]) != kNameLength) {
      fail();
    }
    entry_ = {Entry::Train, n};
    t_.name[n] = train_name_from_file(line_[i + 2]);
    return i + 3;
  }

  int open_reserve(int i) {
    if (!colon_at(i + 1) || !has(i + 2)) fail();
    entry_ = {};
    if (std::strlen(line_[i + 2]) != kNameLength) return i + 3;  // no entry used
    if (t_.reserve_count >= kReserveEntries) fail();
    entry_ = {Entry::Reserve, t_.reserve_count++};
    t_.name[entry_.row()] = train_name_from_file(line_[i + 2]);
    return i + 3;
  }

  int read_color(int i) {
    int32_t c = -1;
    if (!colon_at(i + 1) || !has(i + 2) || !parse_digits(line_[i + 2], c, 0, 23)) fail();
    if (entry_.kind == Entry::Train) {
      t_.color[entry_.index] = c;
    } else {
      t_.reserve_color[entry_.index] = c;
    }
    return i + 3;
  }

  int read_reserve_option(int i) {
    if (!is(line_[i], "name") || !colon_at(i + 1) || !has(i + 2) ||
        std::strlen(line_[i + 2]) > kLongNameLength) {
      fail();
    }
    t_.long_name[entry_.index] = long_name_from_file(line_[i + 2]);
    return i + 3;
  }

  int read_train_option(int i) {
    const char* tok = line_[i];
    const int n = entry_.index;
    if (is(tok, "en_auto")) {
      t_.en_auto[n] = 1;
    } else if (int pot = number_after(tok, "pot"); pot >= 0) {
      if (pot >= 305 || pot % 100 >= 5) fail();
      t_.cmd[n] = pot;
    } else if (int k = number_after(tok, "clav"); k >= 0) {
      if (k >= kClavConfs) fail();
      t_.cmd[n] = kClavCmdBase + k;
    } else if (int canton = number_after(tok, "c"); canton >= 0) {
      if (canton_slot(canton) < 0) fail();
      place_train_on_canton(sys_, n, canton);
    } else if (int g = number_after(tok, "g"); g >= 0) {
      if (g >= kSidings) fail();
      park_train_in_siding(sys_, n, g);
    } else {
      fail();
    }
    return i + 1;
  }

  // clav_conf_K : + X ! Y -Z, in any order; the first token that fits none ends it.
  int read_clav_conf(int i) {
    int k = number_after(line_[i], "clav_conf_");
    if (k < 0 || k >= kClavConfs || !colon_at(i + 1) || line_.count - (i + 2) < 4) fail();
    int j = i + 2;
    while (has(j)) {
      const char* tok = line_[j];
      if ((is(tok, "+") || is(tok, "!")) && has(j + 1)) {
        auto& keys = tok[0] == '+' ? t_.plus_key : t_.stop_key;
        keys[k] = static_cast<unsigned char>(line_[j + 1][0]);
        j += 2;
      } else if (tok[0] == '-' && tok[1] != '\0') {
        t_.minus_key[k] = static_cast<unsigned char>(tok[1]);
        j += 1;
      } else {
        return j + 1;
      }
    }
    return j;
  }

  void read_progressive() {
    auto& table = is(line_[0], "acc_progressif") ? t_.acc_progressif : t_.dec_progressif;
    if (!colon_at(1) || line_.count - 2 > kProgressiveSlots) fail();
    std::array<int32_t, kProgressiveSlots> steps;
    steps.fill(-1);
    int32_t previous = 1;
    for (int j = 2; j < line_.count; ++j) {
      int32_t& v = steps[static_cast<size_t>(j - 2)];
      if (!parse_digits(line_[j], v, previous, 64)) fail();
      previous = v;
    }
    table = steps;
  }

  System& sys_;
  TrainTable& t_;
  ConfigSection& sec_;
  const TokenLine& line_;
  Entry entry_;
};

}  // namespace

std::string train_name_from_file(const std::string& token) {
  std::string s = token.substr(0, kNameLength);
  for (char& ch : s) {
    const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (ch == '_') {
      ch = ' ';
    } else if (!(letter || is_digit(ch) || ch == ' ' || ch == '-' || ch == '[' || ch == ']')) {
      ch = '-';
    }
  }
  return s;
}

void place_train_on_canton(System& sys, int train, int canton) {
  const int slot = canton_slot(canton);
  if (slot < 0 || train < 0 || train >= kTrainEntries) return;
  CantonTable& c = sys.cantons;
  c.num_train[slot] = train;
  c.ResvMANU[slot] = 1;
  c.Inverse[slot] = 0;
  c.Res2MANU[slot] = 0;
  sys.trains.en[train] = 1;
}

void park_train_in_siding(System& sys, int train, int siding) {
  if (siding < 0 || siding >= kSidings || train < 0 || train >= kTrainEntries) return;
  sys.trains.train_garage[train] = siding;
  sys.trains.en[train] = 1;
  sys.garage.cmd_lock[siding] = 1;
  sys.garage.state_lock[siding] = 1;
  sys.garage.num_train[siding] = train;
}

void read_train_section(System& sys) {
  for (int n = 0; n < 16; ++n) sys.trains.color[n] = -1;
  sys.trains.acc_progressif.fill(-1);
  sys.trains.dec_progressif.fill(-1);
  ConfigSection sec(sys, kTrainTexts);
  TokenLine line;
  while (sec.next_line(line)) TrainLineReader(sys, sec, line).read();
}
