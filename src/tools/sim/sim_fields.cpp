#include "tools/sim/sim_fields.h"

#include "core/tokens.h"
#include "tools/sim/fields.h"

namespace {

// One row per table name, or several when subsystems share a table name (the first that knows
// the field answers); each subsystem adds its rows as it lands.
const FieldTable kFieldTables[] = {
    // clang-format off
    {"tick", tick_field},
    {"special", special_field},
    {"general", general_field},
    {"screen", screen_field},
    {"clock", clock_field},
    {"horo", horo_field},
    {"exe", exe_field},
    {"vib", vib_field},
    {"iti", iti_field},
    {"separe", separe_field},
    {"regroupe", regroupe_field},
    {"depl", depl_field},
    {"garage", garage_field},
    {"servo", servo_field},
    {"aig", aig_field},
    {"aigseq", aigseq_field},
    {"train", train_field},
    {"reserve", reserve_field},
    {"canton", canton_field},
    {"clav", clav_field},
    {"selectif", selectif_field},
    {"trainscreen", trainscreen_field},
    {"remote", remote_field},
    {"tempo_libe_cant", tempo_libe_cant_field},
    {"tdv", tdv_field},
    {"pulse", pulse_field},
    {"program", program_field},
    {"tdvscreen", tdvscreen_field},
    {"varscreen", varscreen_field},
    {"card", card_field},
    {"port", port_field},
    {"manual", manual_field},
    {"direct", direct_field},
    {"cardscreen", cardscreen_field},
    {"tco", tco_field},
    {"rendu", rendu_field},
    {"cantcolor", cantcolor_field},
    {"tcoact", tcoact_field},
    {"train", block_train_field},
    {"block", block_field},
    {"vitmax", vitmax_field},
    {"halt", halt_field},
    {"cant", cant_field},
    {"balauto", balauto_field},
    {"aigauto", aigauto_field},
    // clang-format on
};

}  // namespace

bool resolve_field(System& sys, std::string_view path, SimField& out) {
  const size_t first = path.find('.');
  const std::string_view table = path.substr(0, first);
  int32_t index = -1;
  std::string_view field;
  if (first != std::string_view::npos) {
    const std::string_view rest = path.substr(first + 1);
    const size_t second = rest.find('.');
    if (second == std::string_view::npos) {
      field = rest;
    } else {
      if (!parse_digits(rest.substr(0, second), index)) return false;
      field = rest.substr(second + 1);
    }
  }
  for (const FieldTable& t : kFieldTables)
    if (table == t.table && t.resolve(sys, index, field, out)) return true;
  return false;
}
