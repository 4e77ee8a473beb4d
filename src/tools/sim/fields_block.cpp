// zir-sim fields of the automatic block and automatic turnouts: the per-train results
// (train.N.vitmax_lim ...), the panel switches block.halt_inhibit and block.block_inhibit, the
// rule tables vitmax.N.*, halt.N.*, cant.N.*, aigauto.N.* and their counts. The rules come from
// config.txt and their results from the engine: they are shown, never set.
#include <string>
#include <string_view>

#include "core/system.h"
#include "tools/sim/fields.h"

namespace {

bool shown(int32_t& cell, SimField& out) {
  out.value = &cell;
  out.read_only = true;
  return true;
}

// "nameK" with K 1..size: the cell K - 1 of `list`.
template <size_t N>
bool numbered(std::array<int32_t, N>& list, std::string_view name, std::string_view field,
              SimField& out) {
  for (size_t k = 0; k < N; ++k) {
    if (field == std::string(name) + std::to_string(k + 1)) return shown(list[k], out);
  }
  return false;
}

template <int N>
bool condition_field(VarList<N>& list, std::string_view field, SimField& out) {
  return numbered(list.var, "var", field, out) || numbered(list.val, "val", field, out);
}

struct Named {
  std::string_view name;
  int32_t* cell;
};

template <size_t M>
bool named_field(const std::array<Named, M>& cells, std::string_view field, SimField& out) {
  for (const Named& c : cells) {
    if (field == c.name) return shown(*c.cell, out);
  }
  return false;
}

bool in_range(int index, int count) {
  return index >= 0 && index < count;
}

template <typename Rules>
auto* rule_at(Rules& rules, int index) {
  return in_range(index, static_cast<int>(rules.size())) ? &rules[static_cast<size_t>(index)]
                                                         : nullptr;
}

}  // namespace

bool block_train_field(System& sys, int index, std::string_view field, SimField& out) {
  BlockState& b = sys.block;
  if (!in_range(index, kTrainEntries)) return false;
  const auto t = static_cast<size_t>(index);
  const std::array<Named, 5> cells{{{"vitmax_lim", &b.vitmax_lim[t]},
                                    {"halt_flag", &b.halt_flag[t]},
                                    {"bal_state", &b.bal_state[t]},
                                    {"bal_dec", &b.bal_dec[t]},
                                    {"bal_ral", &b.bal_ral[t]}}};
  return named_field(cells, field, out);
}

// The two panel options, settable from a script.
bool block_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  if (field == "halt_inhibit") out.value = &sys.block.halt_inhibit;
  if (field == "block_inhibit") out.value = &sys.block.block_inhibit;
  return out.value != nullptr;
}

bool vitmax_field(System& sys, int index, std::string_view field, SimField& out) {
  VitmaxRule* r = rule_at(sys.block.vitmax, index);
  if (r == nullptr) return false;
  const std::array<Named, 3> cells{
      {{"canton", &r->canton}, {"limit", &r->limit}, {"active", &r->active}}};
  return named_field(cells, field, out) || condition_field(r->cond, field, out);
}

bool halt_field(System& sys, int index, std::string_view field, SimField& out) {
  HaltRule* r = rule_at(sys.block.halt, index);
  if (r == nullptr) return false;
  const std::array<Named, 3> cells{
      {{"canton", &r->canton}, {"direction", &r->direction}, {"active", &r->active}}};
  return named_field(cells, field, out) || condition_field(r->cond, field, out);
}

bool cant_field(System& sys, int index, std::string_view field, SimField& out) {
  CantRule* r = rule_at(sys.block.cant, index);
  if (r == nullptr) return false;
  const std::array<Named, 5> cells{{{"canton", &r->canton},
                                    {"direction", &r->direction},
                                    {"dec", &r->dec},
                                    {"ral", &r->ral},
                                    {"state", &r->state}}};
  return named_field(cells, field, out) || numbered(r->plusur, "plusur", field, out) ||
         condition_field(r->blocage, field, out);
}

bool balauto_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  const std::array<Named, 2> cells{
      {{"vitmax_count", &sys.block.vitmax_count}, {"halt_count", &sys.block.halt_count}}};
  return named_field(cells, field, out);
}

bool aigauto_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index == -1) return field == "count" && shown(sys.block.aigauto_count, out);
  AigautoRule* r = rule_at(sys.block.aigauto, index);
  if (r == nullptr) return false;
  const std::array<Named, 3> cells{
      {{"canton", &r->canton}, {"speed", &r->speed}, {"done", &r->done}}};
  return named_field(cells, field, out) || numbered(r->plusur, "plusur", field, out) ||
         condition_field(r->cond, field, out) || numbered(r->aig, "aig", field, out) ||
         numbered(r->pos, "pos", field, out);
}
