// zir-sim fields of the logic: tdv.N.start, tdv.N.on, pulse.N.state, pulse.N.count and
// program.length.
#include <string_view>

#include "core/system.h"
#include "tools/sim/fields.h"

bool tdv_field(System& sys, int index, std::string_view field, SimField& out) {
  // A start moved by hand would send the engine's walk elsewhere: read-only.
  if (field == "start") {
    out.read_only = true;
    return int_cell(sys.tdv.start, index, out);
  }
  if (field == "on") return int_cell(sys.tdv.on, index, out);
  return false;
}

bool pulse_field(System& sys, int index, std::string_view field, SimField& out) {
  out.read_only = true;
  if (field == "state") return int_cell(sys.tdv.pulse.state, index, out);
  if (field == "count") return int_cell(sys.tdv.pulse.count, index, out);
  return false;
}

bool program_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1 || field != "length") return false;
  out.value = &sys.tdv.length;
  out.read_only = true;
  return true;
}

bool tdvscreen_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1 || field != "table") return false;
  out.value = &sys.logicscreen.table;
  out.low = 0;
  out.high = kTdvTables - 1;
  return true;
}

bool varscreen_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1 || field != "internal") return false;
  out.value = &sys.logicscreen.internal;
  out.low = 0;
  out.high = 1;
  return true;
}
