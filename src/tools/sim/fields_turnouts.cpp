// zir-sim fields of the turnouts: aig.N.FIELD and the sequencer's aigseq.FIELD.
#include <string_view>

#include "core/system.h"
#include "tools/sim/fields.h"

namespace {

struct AigColumn {
  const char* name;
  std::array<int32_t, kTurnouts> AigTable::*column;
};

constexpr AigColumn kAigColumns[] = {
    {"aig_cmd", &AigTable::aig_cmd},
    {"pos0_aig", &AigTable::pos0_aig},
    {"pos1_aig", &AigTable::pos1_aig},
    {"aig_reserved", &AigTable::aig_reserved},
};

struct AigSeqField {
  const char* name;
  int32_t AigTable::*field;
};

constexpr AigSeqField kAigSeqFields[] = {
    {"state", &AigTable::aig_seq_state},
    {"current", &AigTable::aig_seq_current},
    {"dir", &AigTable::aig_seq_dir},
    {"count", &AigTable::aig_seq_count},
};

}  // namespace

bool aig_field(System& sys, int index, std::string_view field, SimField& out) {
  for (const AigColumn& c : kAigColumns)
    if (field == c.name) return int_cell(sys.aig.*c.column, index, out);
  if (field == "defined" && index >= 0 && index < kTurnouts) {
    out.value = &sys.aig.AIG_DESCR_INFO[index][AIG_INFO_DEFINED];
    out.read_only = true;  // the description comes from #aig only
    return true;
  }
  return false;
}

// The sequencer's own state is shown, never set: a script that forced it could play a phase
// of a turnout that was never selected.
bool aigseq_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  for (const AigSeqField& f : kAigSeqFields) {
    if (field != f.name) continue;
    out.value = &(sys.aig.*f.field);
    out.read_only = true;
    return true;
  }
  return false;
}
