#include "core/system.h"
#include "tools/sim/fields.h"

namespace {

template <typename T>
struct Named {
  const char* name;
  int32_t T::*member;
  int32_t low = INT32_MIN;  // the values a script may set
  int32_t high = INT32_MAX;
};

template <typename T, size_t N>
bool named_member(T& object, const Named<T> (&names)[N], std::string_view field, SimField& out) {
  for (const Named<T>& n : names) {
    if (field == n.name) {
      out.value = &(object.*n.member);
      out.low = n.low;
      out.high = n.high;
      return true;
    }
  }
  return false;
}

}  // namespace

bool tick_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1 || !field.empty()) return false;
  out.value = &sys.ticks.tick;
  out.read_only = true;
  return true;
}

bool special_field(System& sys, int index, std::string_view field, SimField& out) {
  return field == "sv" && int_cell(sys.special.sv, index, out);
}

bool general_field(System& sys, int index, std::string_view field, SimField& out) {
  static const Named<GeneralSettings> kNames[] = {
      {"show_cards_found", &GeneralSettings::show_cards_found},
      {"memorisation_train", &GeneralSettings::memorisation_train},
      {"memorisation_aig", &GeneralSettings::memorisation_aig},
      {"aigauto", &GeneralSettings::aigauto},
      {"ir_aig_digit", &GeneralSettings::ir_aig_digit},
      {"relief", &GeneralSettings::relief},
      {"width", &GeneralSettings::width},
      {"height", &GeneralSettings::height},
      {"maximise", &GeneralSettings::maximise},
  };
  if (index == -1) return named_member(sys.general, kNames, field, out);
  if (field == "inv_canton") return int_cell(sys.io.canton_inverted, index, out);
  if (field == "inv_pot") return int_cell(sys.io.pot_inverted, index, out);
  if (field == "leds_card") return int_cell(sys.io.leds_shown, index, out);
  return false;
}

bool screen_field(System& sys, int index, std::string_view field, SimField& out) {
  static const Named<ScreenState> kNames[] = {
      {"mode", &ScreenState::screen_mode},   {"last_panel", &ScreenState::last_panel},
      {"width", &ScreenState::client_width}, {"height", &ScreenState::client_height},
      {"last_key", &ScreenState::last_key},  {"remote_key", &ScreenState::remote_key},
  };
  return index == -1 && named_member(sys.screen, kNames, field, out);
}
