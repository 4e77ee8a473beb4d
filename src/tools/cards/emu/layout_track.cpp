#include "tools/cards/emu/layout_track.h"

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "core/config_reader.h"
#include "core/fatal.h"
#include "core/general.h"
#include "core/system.h"
#include "core/tokens.h"
#include "runtime/startup.h"
#include "tools/sim/recording_host.h"
#include "trains/canton_engine.h"
#include "trains/selectif_config.h"
#include "trains/train_config.h"
#include "turnouts/aig_config.h"

namespace {

constexpr int kInBus = 400;  // in_ variables: card c, input i at 400 + 100 * c + i

int sign_dir(int32_t sign) {
  if (sign == 0) return 1;
  if (sign == 1) return -1;
  return 0;
}

void use_slot(LayoutTrack& track, int slot) {
  track.used[static_cast<size_t>(slot)] = true;
  track.cards_used[static_cast<size_t>(slot / kDetPerCard)] = true;
}

void take_rules(const System& sys, LayoutTrack& track) {
  for (const auto& r : sys.selectif.rule) {
    if (r[kSelTarget] == -1) break;
    TrackRule rule;
    rule.from = canton_slot(r[kSelFrom]);
    rule.to = canton_slot(r[kSelTarget]);
    rule.from_dir = sign_dir(r[kSelFromSign]);
    rule.to_dir = sign_dir(r[kSelTargetSign]);
    // Sidings (1000 + g) and rules without both signs lead nowhere on the track.
    if (rule.from < 0 || rule.to < 0 || rule.from_dir == 0 || rule.to_dir == 0) continue;
    for (int k = kSelConditions; k + 1 < kSelRuleSize; k += 2) {
      if (r[static_cast<size_t>(k)] == -1) break;
      rule.turnout[static_cast<size_t>(rule.conditions)] = r[static_cast<size_t>(k)];
      rule.position[static_cast<size_t>(rule.conditions)] = r[static_cast<size_t>(k + 1)];
      ++rule.conditions;
    }
    use_slot(track, rule.from);
    use_slot(track, rule.to);
    track.rules.push_back(rule);
  }
}

// The outputs a turnout holds while its motor acts towards position p: the prepare phase's
// values, then the act phase's (a later write of the same output wins).
void take_motor_set(const AigTable& aig, int n, int p, TurnoutMotor& motor, LayoutTrack& track) {
  std::map<int, int> held;
  for (int step : {AIG_STEP_PREPARE, AIG_STEP_ACT}) {
    for (const AigSlot& slot :
         aig.AIG_DESCR[static_cast<size_t>(n)][static_cast<size_t>(3 * p + step)].slot) {
      if (slot.out == -1) break;
      const int index = aig_output_index(slot.out);
      if (index < 0) continue;
      held[index] = slot.value;
      track.cards_used[static_cast<size_t>(index / kOutPerCard)] = true;
    }
  }
  for (const auto& [output, value] : held) {
    if (motor.set_size[static_cast<size_t>(p)] == kTurnoutSetOutputs) break;
    motor.set[static_cast<size_t>(p)]
             [static_cast<size_t>(motor.set_size[static_cast<size_t>(p)]++)] = {output, value};
  }
}

// A verif variable that is a digital input the cards carry (0..35, 40..79), as an input index.
int card_input(int32_t var) {
  if (var < kInBus || var >= kInBus + 100 * kCards) return -1;
  const int card = (var - kInBus) / 100;
  const int index = (var - kInBus) % 100;
  if (index >= kInPerCard || (index >= 36 && index < 40)) return -1;
  return card * kInPerCard + index;
}

void take_turnouts(const System& sys, LayoutTrack& track) {
  const AigTable& aig = sys.aig;
  for (int n = 0; n < kTurnouts; ++n) {
    const auto& info = aig.AIG_DESCR_INFO[static_cast<size_t>(n)];
    if (info[AIG_INFO_DEFINED] != 1) continue;
    TurnoutMotor& motor = track.turnouts[static_cast<size_t>(n)];
    motor.defined = true;
    motor.start_position = aig.aig_cmd[static_cast<size_t>(n)] == 1 ? 1 : 0;
    for (int p = 0; p < 2; ++p) {
      take_motor_set(aig, n, p, motor, track);
      const int32_t var =
          info[static_cast<size_t>(p == 0 ? AIG_INFO_VERIF0_VAR : AIG_INFO_VERIF1_VAR)];
      const int32_t value =
          info[static_cast<size_t>(p == 0 ? AIG_INFO_VERIF0_VALUE : AIG_INFO_VERIF1_VALUE)];
      const int input = card_input(var);
      if (input < 0 || (value != 0 && value != 1)) continue;
      motor.verif_input[static_cast<size_t>(p)] = input;
      motor.verif_value[static_cast<size_t>(p)] = value;
      track.cards_used[static_cast<size_t>(input / kInPerCard)] = true;
    }
  }
}

void take_trains(const System& sys, LayoutTrack& track) {
  for (int slot = 0; slot < kCantons; ++slot) {
    const int t = sys.cantons.num_train[static_cast<size_t>(slot)];
    if (t < 0 || t >= kTrainEntries) continue;
    use_slot(track, slot);
    // A train listed on several cantons stands on the first of them.
    if (track.start_slot[static_cast<size_t>(t)] == -1)
      track.start_slot[static_cast<size_t>(t)] = slot;
  }
  for (int t = 0; t < kTrainEntries; ++t) {
    const int cmd = sys.trains.cmd[static_cast<size_t>(t)];
    if (cmd >= 0 && cmd < 100 * kCards && cmd % 100 < kCanPerCard)
      track.cards_used[static_cast<size_t>(cmd / 100)] = true;
  }
}

// The boxes a reader showed before giving up, on one line.
std::string boxes_text(const RecordingHost& host) {
  std::string text;
  for (const RecordedBox& box : host.boxes) {
    if (!text.empty()) text += " / ";
    for (char c : box.text) text += c == '\n' ? ' ' : c;
  }
  return text;
}

bool read_config(const std::filesystem::path& dir, LayoutTrack& track, std::string& error) {
  RecordingHost quiet;
  auto sys = std::make_unique<System>(quiet, dir);
  try {
    check_config_present(*sys);
    read_general_screen_keys(*sys);
    reset_tables(*sys);
    read_general(*sys);
    read_aig_section(*sys);
    canton_init(*sys);
    read_train_section(*sys);
    read_selectif(*sys);
  } catch (const FatalConfigError&) {
    error = (dir / "config.txt").string() + " : " + boxes_text(quiet);
    return false;
  }
  for (int slot = 0; slot < kCantons; ++slot)
    track.wired_inverted[static_cast<size_t>(slot)] =
        sys->io.canton_inverted[static_cast<size_t>(slot)] == 1;
  take_rules(*sys, track);
  take_turnouts(*sys, track);
  take_trains(*sys, track);
  return true;
}

// A key word with its accented e (UTF-8 or Windows-1252) written plain: "échelle", "départ" and
// "inversée" are read as "echelle", "depart" and "inversee".
std::string plain_word(const std::string& word) {
  std::string out;
  for (size_t i = 0; i < word.size(); ++i) {
    const auto c = static_cast<unsigned char>(word[i]);
    const auto next = i + 1 < word.size() ? static_cast<unsigned char>(word[i + 1]) : 0;
    if (c == 0xC3 && (next == 0xA9 || next == 0x89)) {
      out += 'e';
      ++i;
    } else {
      out += c == 0xE9 || c == 0xC9 ? 'e' : word[i];
    }
  }
  return out;
}

// One line of virtual_layout.txt, word by word.
class OverrideLine {
 public:
  OverrideLine(const std::string& line, LayoutTrack& track) : track_(track) {
    std::istringstream in(line);
    for (std::string word; in >> word;) {
      if (word[0] == '@') break;
      words_.push_back(word);
    }
  }

  int offset_train = -1;  // the train whose start offset this line gave

  // Empty when the line is good, else what is wrong with it.
  std::string read() {
    if (words_.empty()) return {};
    const std::string key = plain_word(words_[0]);
    if (same_word(key, "canton")) return read_canton();
    if (same_word(key, "train")) return read_train();
    if (same_word(key, "echelle")) return read_scale();
    if (same_word(key, "detection")) return read_detection();
    return "mot inconnu '" + words_[0] + "'";
  }

 private:
  std::string word(size_t i) const { return i < words_.size() ? words_[i] : std::string(); }
  bool key_at(size_t i, std::string_view key) const { return same_word(plain_word(word(i)), key); }

  std::string canton_slot_at(size_t i, int& slot) const {
    int32_t number = -1;
    slot = parse_digits(word(i), number, 0, 315) ? canton_slot(number) : -1;
    if (slot < 0) return "numéro de canton attendu au lieu de '" + word(i) + "'";
    return {};
  }

  // The number after word i - 1, within lo..hi.
  std::string number_at(size_t i, int lo, int hi, int& value) const {
    int32_t v = 0;
    const std::string after = "après '" + word(i - 1) + "'";
    if (i >= words_.size()) return "nombre manquant " + after;
    if (!parse_digits(word(i), v, lo, hi))
      return "nombre de " + std::to_string(lo) + " à " + std::to_string(hi) + " attendu " + after +
             " au lieu de '" + word(i) + "'";
    value = v;
    return {};
  }

  std::string read_canton() {
    int slot = -1;
    if (std::string e = canton_slot_at(1, slot); !e.empty()) return e;
    if (!key_at(2, "longueur")) return "'longueur' attendu après le canton";
    int cm = 0;
    if (std::string e = number_at(3, kMinCantonCm, kMaxCantonCm, cm); !e.empty()) return e;
    if (words_.size() > 4) return "mot en trop : '" + word(4) + "'";
    track_.length_cm[static_cast<size_t>(slot)] = cm;
    use_slot(track_, slot);
    return {};
  }

  std::string read_train() {
    int t = 0;
    if (std::string e = number_at(1, 0, kTrainEntries - 1, t); !e.empty()) return e;
    if (words_.size() == 2) return "'longueur' ou 'depart' attendu après le train";
    for (size_t i = 2; i < words_.size(); i += 2) {
      int value = 0;
      if (key_at(i, "longueur")) {
        if (std::string e = number_at(i + 1, 1, kMaxTrainCm, value); !e.empty()) return e;
        track_.train_cm[static_cast<size_t>(t)] = value;
      } else if (key_at(i, "depart")) {
        if (std::string e = number_at(i + 1, 0, kMaxCantonCm, value); !e.empty()) return e;
        track_.start_offset_cm[static_cast<size_t>(t)] = value;
        offset_train = t;
      } else {
        return "mot inconnu '" + word(i) + "'";
      }
    }
    return {};
  }

  std::string read_scale() {
    int byte = 0;
    int cm = 0;
    if (std::string e = number_at(1, 1, 255, byte); !e.empty()) return e;
    if (std::string e = number_at(2, 1, 1000, cm); !e.empty()) return e;
    if (words_.size() > 3) return "mot en trop : '" + word(3) + "'";
    track_.scale_byte = byte;
    track_.scale_cm_s = cm;
    return {};
  }

  std::string read_detection() {
    int slot = -1;
    if (std::string e = canton_slot_at(1, slot); !e.empty()) return e;
    if (!key_at(2, "inversee") || words_.size() > 3) return "'inversee' attendu après le canton";
    track_.det_inverted[static_cast<size_t>(slot)] = true;
    use_slot(track_, slot);
    return {};
  }

  LayoutTrack& track_;
  std::vector<std::string> words_;
};

}  // namespace

bool read_layout_overrides(const std::string& text, const std::string& name, LayoutTrack& track,
                           std::string& error) {
  std::istringstream in(text);
  std::array<int, kTrainEntries> offset_line{};
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    OverrideLine reader(line, track);
    if (std::string e = reader.read(); !e.empty()) {
      error = name + ", ligne " + std::to_string(number) + " : " + e;
      return false;
    }
    if (reader.offset_train >= 0) offset_line[static_cast<size_t>(reader.offset_train)] = number;
  }
  // A start offset is checked once every canton length is known.
  for (int t = 0; t < kTrainEntries; ++t) {
    const int offset = track.start_offset_cm[static_cast<size_t>(t)];
    const int slot = track.start_slot[static_cast<size_t>(t)];
    if (offset < 0 || slot < 0 || offset <= track.length_cm[static_cast<size_t>(slot)]) continue;
    error = name + ", ligne " + std::to_string(offset_line[static_cast<size_t>(t)]) +
            " : le départ du train " + std::to_string(t) + " dépasse la longueur du canton " +
            std::to_string(canton_number(slot)) + " (" +
            std::to_string(track.length_cm[static_cast<size_t>(slot)]) + " cm)";
    return false;
  }
  return true;
}

bool read_layout_track(const std::filesystem::path& dir, LayoutTrack& track, std::string& error) {
  track = LayoutTrack{};
  if (!read_config(dir, track, error)) return false;
  const std::filesystem::path file = dir / "virtual_layout.txt";
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (!std::filesystem::exists(file)) return true;
    error = file.string() + " : lecture impossible";
    return false;
  }
  std::stringstream content;
  content << in.rdbuf();
  return read_layout_overrides(content.str(), file.string(), track, error);
}

std::vector<int> layout_cards(const LayoutTrack& track) {
  std::vector<int> cards;
  for (int c = 0; c < kCards; ++c)
    if (track.cards_used[static_cast<size_t>(c)]) cards.push_back(c);
  if (cards.empty()) cards.push_back(0);
  return cards;
}
