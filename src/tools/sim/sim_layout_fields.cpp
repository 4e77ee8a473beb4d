#include "tools/sim/sim_layout_fields.h"

#include <cmath>

#include "core/tokens.h"
#include "tools/cards/emu/virtual_layout.h"

namespace {

// "TABLE.N.FIELD" after "layout.", with N within 0..hi.
bool split_path(std::string_view path, std::string_view table, int hi, int& index,
                std::string_view& field) {
  if (path.substr(0, table.size() + 1) != std::string(table) + ".") return false;
  const std::string_view rest = path.substr(table.size() + 1);
  const size_t dot = rest.find('.');
  if (dot == std::string_view::npos) return false;
  int32_t n = -1;
  if (!parse_digits(rest.substr(0, dot), n, 0, hi)) return false;
  index = n;
  field = rest.substr(dot + 1);
  return true;
}

}  // namespace

bool layout_field(const VirtualLayout& layout, std::string_view path, SimField& out) {
  constexpr std::string_view kPrefix = "layout.";
  if (path.substr(0, kPrefix.size()) != kPrefix) return false;
  path.remove_prefix(kPrefix.size());
  int n = -1;
  std::string_view field;
  int value = 0;
  if (split_path(path, "train", kTrainEntries - 1, n, field)) {
    if (field == "canton") {
      value = layout.head_canton(n);
    } else if (field == "tail_canton") {
      value = layout.tail_canton(n);
    } else if (field == "offset") {
      value = static_cast<int>(std::floor(layout.head_offset(n)));
    } else {
      return false;
    }
  } else if (split_path(path, "aig", kTurnouts - 1, n, field) && field == "position") {
    value = layout.turnout_position(n);
  } else {
    return false;
  }
  out.is_text = true;
  out.read_only = true;
  out.text = std::to_string(value);
  return true;
}
