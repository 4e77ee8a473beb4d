#include "core/system.h"
#include "core/tokens.h"
#include "moves/depl_engine.h"
#include "tools/sim/fields.h"

namespace {

struct RecordField {
  const char* name;
  int index;
};

template <typename Records, size_t N>
bool record_field(Records& records, int index, const RecordField (&names)[N],
                  std::string_view field, SimField& out) {
  if (index < 0 || index >= static_cast<int>(records.size())) return false;
  for (const RecordField& f : names) {
    if (field == f.name) {
      out.value = &records[static_cast<size_t>(index)][static_cast<size_t>(f.index)];
      return true;
    }
  }
  return false;
}

}  // namespace

// depl.N.cantonK, speedK, aigK, posK (K = 1..10): entry K of the movement's lists.
bool depl_list_field(DeplRecord& r, std::string_view field, SimField& out) {
  struct ListColumn {
    std::string_view prefix;
    int base;
  };
  static constexpr ListColumn kLists[] = {
      {"canton", DEPL_CANTONS},
      {"speed", DEPL_CANTONS + 1},
      {"aig", DEPL_TURNOUTS},
      {"pos", DEPL_TURNOUTS + 1},
  };
  for (const ListColumn& list : kLists) {
    int32_t k = 0;
    if (field.substr(0, list.prefix.size()) != list.prefix ||
        !parse_digits(field.substr(list.prefix.size()), k, 1, 10))
      continue;
    out.value = &r[static_cast<size_t>(list.base + 2 * (k - 1))];
    return true;
  }
  return false;
}

bool depl_field(System& sys, int index, std::string_view field, SimField& out) {
  static const RecordField kNames[] = {
      {"start_request", DEPL_START_REQUEST},
      {"stop_request", DEPL_STOP_REQUEST},
      {"state", DEPL_STATE},
      {"timer", DEPL_TIMER},
      {"train", DEPL_TRAIN},
      {"required_train", DEPL_REQUIRED_TRAIN},
      {"start", DEPL_START},
      {"start2", DEPL_START2},
      {"stop", DEPL_STOP},
      {"ended_in_siding", DEPL_ENDED_IN_SIDING},
      {"current_speed", DEPL_CURRENT_SPEED},
      {"target_speed", DEPL_TARGET_SPEED},
      {"tempo", DEPL_TEMPO},
      {"taf", DEPL_TAF},
      {"tsf", DEPL_TSF},
      {"pass", DEPL_PASS},
      {"libe", DEPL_LIBE},
      {"fin", DEPL_FIN},
      {"halt", DEPL_HALT},
      {"servo", DEPL_SERVO},
      {"servo_position", DEPL_SERVO_POSITION},
  };
  DeplTable& d = sys.depl;
  if (index == -1) {
    out.value = field == "acc" ? &d.acc : field == "dec" ? &d.dec : nullptr;
    return out.value != nullptr;
  }
  if (index >= kMovements) return false;
  DeplRecord& r = d.depl_record[static_cast<size_t>(index)];
  if (field == "name") {
    out.is_text = true;
    out.text = d.name[static_cast<size_t>(index)];
    out.text_cell = &d.name[static_cast<size_t>(index)];
    return true;
  }
  if (field == "state_text") {
    out.is_text = true;
    out.text = depl_state_text(r[DEPL_STATE]);
    out.read_only = true;
    return true;
  }
  return depl_list_field(r, field, out) || record_field(d.depl_record, index, kNames, field, out);
}

// servo.N.reserved with N = card * 100 + 0..4.
bool servo_field(System& sys, int index, std::string_view field, SimField& out) {
  if (field != "reserved" || index < 0 || index / 100 >= kCards || index % 100 >= kServoPerCard)
    return false;
  out.value = &sys.io.srv_reserved[static_cast<size_t>(index / 100 * kServoPerCard + index % 100)];
  return true;
}

bool garage_field(System& sys, int index, std::string_view field, SimField& out) {
  GarageTable& g = sys.garage;
  struct Column {
    const char* name;
    std::array<int32_t, kSidings>* column;
  };
  const Column columns[] = {
      {"ass_canton", &g.ass_canton}, {"ass_out", &g.ass_out},   {"pol", &g.pol},
      {"num_train", &g.num_train},   {"cmd_lock", &g.cmd_lock}, {"state_lock", &g.state_lock},
      {"res_auto", &g.res_auto},
  };
  for (const Column& c : columns)
    if (field == c.name) return int_cell(*c.column, index, out);
  return false;
}
