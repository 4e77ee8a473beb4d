// zir-sim fields of the routes and of the split and join pairs: iti.N.FIELD (aig1..aig10 and
// pos1..pos10 for the turnout list, name), separe.N.FIELD and regroupe.N.FIELD.
#include <string>
#include <string_view>

#include "core/system.h"
#include "tools/sim/fields.h"

namespace {

struct RecordField {
  const char* name;
  int index;
};

constexpr RecordField kRouteFieldNames[] = {
    {"defined", ITI_DEFINED},
    {"mode", ITI_MODE},
    {"start", ITI_START_REQUEST},
    {"stop", ITI_STOP_REQUEST},
    {"state", ITI_STATE},
    {"timer", ITI_TIMER},
    {"wait", ITI_WAIT},
    {"ok", ITI_OK},
    {"start_canton", ITI_START_CANTON},
    {"stop_canton", ITI_STOP_CANTON},
};

constexpr RecordField kSplitFieldNames[] = {
    {"trigger", SPLIT_TRIGGER},
    {"pos_a", SPLIT_POS_A},
    {"pos_b", SPLIT_POS_B},
};

// The field of `record` named in `names`.
template <typename Record, size_t N>
bool named_cell(Record& record, const RecordField (&names)[N], std::string_view field,
                SimField& out) {
  for (const RecordField& f : names)
    if (field == f.name) return int_cell(record, f.index, out);
  return false;
}

// aigK and posK, K = 1..10: entry K of the route's turnout list.
bool turnout_cell(ItiRecord& r, std::string_view field, SimField& out) {
  for (int k = 1; k <= kRouteTurnouts; ++k) {
    const std::string number = std::to_string(k);
    if (field == "aig" + number) return int_cell(r, ITI_TURNOUTS + 2 * (k - 1), out);
    if (field == "pos" + number) return int_cell(r, ITI_TURNOUTS + 2 * (k - 1) + 1, out);
  }
  return false;
}

bool split_entry_field(std::array<SplitEntry, kSplitEntries>& entries, int index,
                       std::string_view field, SimField& out) {
  if (index < 0 || index >= kSplitEntries) return false;
  return named_cell(entries[static_cast<size_t>(index)], kSplitFieldNames, field, out);
}

}  // namespace

bool iti_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index < 0 || index >= kRoutes) return false;
  ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(index)];
  if (field == "name") {
    out.is_text = true;
    out.text = sys.iti.name[static_cast<size_t>(index)];
    out.text_cell = &sys.iti.name[static_cast<size_t>(index)];
    return true;
  }
  return named_cell(r, kRouteFieldNames, field, out) || turnout_cell(r, field, out);
}

bool separe_field(System& sys, int index, std::string_view field, SimField& out) {
  return split_entry_field(sys.iti.separe, index, field, out);
}

bool regroupe_field(System& sys, int index, std::string_view field, SimField& out) {
  return split_entry_field(sys.iti.regroupe, index, field, out);
}
