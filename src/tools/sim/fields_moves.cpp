#include "core/system.h"
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

bool depl_field(System& sys, int index, std::string_view field, SimField& out) {
  static const RecordField kNames[] = {
      {"start_request", DEPL_START_REQUEST},
      {"stop_request", DEPL_STOP_REQUEST},
      {"state", DEPL_STATE},
      {"timer", DEPL_TIMER},
      {"train", DEPL_TRAIN},
      {"start", DEPL_START},
      {"start2", DEPL_START2},
      {"stop", DEPL_STOP},
      {"current_speed", DEPL_CURRENT_SPEED},
      {"target_speed", DEPL_TARGET_SPEED},
  };
  return record_field(sys.depl.depl_record, index, kNames, field, out);
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
