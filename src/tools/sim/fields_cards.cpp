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

namespace {

// A card screen item NNN = card * 100 + index, the index below `per_card`: its table slot.
bool card_item(int number, int per_card, size_t& slot) {
  const int card = number / 100;
  const int index = number % 100;
  if (number < 0 || card >= kCards || index >= per_card) return false;
  slot = static_cast<size_t>(card * per_card + index);
  return true;
}

}  // namespace

bool manual_field(System& sys, int index, std::string_view field, SimField& out) {
  struct Row {
    const char* name;
    int per_card;
    int32_t* cells;
  };
  IoImage& io = sys.io;
  const Row rows[] = {
      {"canton_flag", kDetPerCard, io.canton_man_flag.data()},
      {"canton_speed", kDetPerCard, io.canton_man_speed.data()},
      {"canton_pot", kDetPerCard, sys.cardscreen.canton_pot.data()},
      {"out_flag", kOutPerCard, io.out_man_flag.data()},
      {"out", kOutPerCard, io.out_man.data()},
      {"led_flag", kLedPerCard, io.led_man_flag.data()},
      {"servo_flag", kServoPerCard, io.srv_man_flag.data()},
      {"servo", kServoPerCard, io.srv_man.data()},
  };
  for (const Row& row : rows) {
    size_t slot = 0;
    if (field != row.name || !card_item(index, row.per_card, slot)) continue;
    out.value = row.cells + slot;
    return true;
  }
  return false;
}

bool direct_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index < 0 || index >= kCards * kDirectSlots) return false;
  DirectSlot& slot = sys.cardlink.slots[static_cast<size_t>(index)];
  if (field == "address" || field == "data") {
    out.value = field == "address" ? &slot.address : &slot.data;
    out.low = 0;
    out.high = 255;
    return true;
  }
  if (field != "state") return false;
  out.is_text = true;
  out.text = std::string(1, slot.state);
  out.set_text = [&slot](const std::string& text) {
    if (text.size() == 1 && std::string_view("wrax").find(text[0]) != std::string_view::npos) {
      slot.state = text[0];
    }
  };
  return true;
}

bool cardscreen_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  CardScreenState& st = sys.cardscreen;
  if (field == "buffer") {
    out.is_text = true;
    out.text = st.buffer;
    out.read_only = true;
    return true;
  }
  if (field == "card") {
    out.value = &st.card;
    out.low = 0;
    out.high = kCards - 1;
  } else if (field == "pot") {
    out.value = &st.pot;
  } else if (field == "target") {
    out.value = &st.target;
  } else {
    return false;
  }
  return true;
}
