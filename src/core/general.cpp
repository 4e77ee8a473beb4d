#include "core/general.h"

#include <cstring>

#include "core/config_reader.h"
#include "core/system.h"

namespace {

// "plein" "ecran" / "écran" are compared on their first five characters, with regard to case.
bool is_full_screen(const char* first, const char* second) {
  return std::strncmp(first, "plein", 5) == 0 &&
         (std::strncmp(second, "ecran", 5) == 0 || std::strncmp(second,
                                                                "\xE9"
                                                                "cran",
                                                                5) == 0);
}

void read_resolution(System& sys, const TokenLine& line) {
  if (is_full_screen(line[1], line[2])) {
    sys.general.maximise = 1;
    sys.general.width = 800;
    sys.general.height = 700;
    return;
  }
  const int width = token_number(line[1]);
  const int height = token_number(line[2]);
  sys.general.width = width < 800 ? 800 : width;
  sys.general.height = height < 700 ? 700 : height;
}

// inv_canton_N / inv_pot_N: card * 100 + index; numbers that name nothing are ignored.
void set_inversion(int32_t* table, int per_card, const char* digits) {
  if (*digits < '0' || *digits > '9') return;
  const int n = token_number(digits);
  const int card = n / 100;
  const int index = n % 100;
  if (card >= kCards || index >= per_card) return;
  table[card * per_card + index] = 1;
}

bool is_on(const char* value) {
  return same_word(value, "on");
}
bool is_off(const char* value) {
  return same_word(value, "off");
}

void read_general_key(System& sys, const TokenLine& line) {
  const char* key = line[0];
  const char* value = line[1];
  GeneralSettings& g = sys.general;
  static const char* const kLedKeys[kCards] = {"leds_card_0", "leds_card_1", "leds_card_2",
                                               "leds_card_3"};
  for (int card = 0; card < kCards; ++card) {
    if (same_word(key, kLedKeys[card])) {
      if (is_off(value)) sys.io.leds_shown[static_cast<size_t>(card)] = 0;
      return;
    }
  }
  struct OnKey {
    const char* key;
    int32_t GeneralSettings::*flag;
  };
  static const OnKey kOnKeys[] = {{"show_cards_found", &GeneralSettings::show_cards_found},
                                  {"memorisation_train", &GeneralSettings::memorisation_train},
                                  {"memorisation_aig", &GeneralSettings::memorisation_aig}};
  for (const OnKey& k : kOnKeys) {
    if (same_word(key, k.key)) {
      if (is_on(value)) g.*k.flag = 1;
      return;
    }
  }
  if (same_word(key, "train_aigauto") || same_word(key, "aigauto")) {
    if (is_off(value)) g.aigauto = 0;
  } else if (starts_with_nocase(key, "inv_canton_")) {
    if (is_on(value)) set_inversion(sys.io.canton_inverted.data(), kDetPerCard, key + 11);
  } else if (starts_with_nocase(key, "inv_pot")) {
    if (is_on(value) && key[7] == '_')
      set_inversion(sys.io.pot_inverted.data(), kCanPerCard, key + 8);
  } else if (starts_with_nocase(key, "ir_aig_digit")) {
    g.ir_aig_digit = token_number(value);
  }
}

}  // namespace

void read_general_screen_keys(System& sys) {
  ConfigSection section(sys, kGeneralTexts);
  TokenLine line;
  while (section.next_line(line)) {
    if (same_word(line[0], "resolution_ecran") && line.count >= 3) {
      read_resolution(sys, line);
    } else if (same_word(line[0], "relief") && line.count >= 2 && is_off(line[1])) {
      sys.general.relief = 0;
    }
  }
  sys.minus_switch = true;
}

void read_general(System& sys) {
  ConfigSection section(sys, kGeneralTexts);
  TokenLine line;
  while (section.next_line(line)) {
    if (line.count >= 2) read_general_key(sys, line);
  }
}
