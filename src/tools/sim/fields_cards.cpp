#include "core/system.h"
#include "tools/sim/fields.h"

bool card_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index < 0 || index >= kCards || field != "linked") return false;
  out.value = &sys.cardlink.links[static_cast<size_t>(index)].linked;
  out.read_only = true;
  return true;
}

bool port_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  SerialLink& serial = sys.cardlink.serial;
  if (field == "errors") {
    out.value = &serial.error_counter;
  } else if (field == "com") {
    out.value = &serial.com;
  } else {
    return false;
  }
  out.read_only = true;
  return true;
}
