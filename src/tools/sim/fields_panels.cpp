// zir-sim fields of the panels: the cells (tco.P.X.Y.FIELD), the blink counter, the render
// settings (rendu.N.value) and the canton colours by canton number (cantcolor.NNN.value).
#include <charconv>
#include <string_view>

#include "core/system.h"
#include "core/text.h"
#include "panels/panel_interaction.h"
#include "tools/sim/fields.h"

namespace {

struct CellColumn {
  const char* name;
  int field;
};

constexpr CellColumn kCellColumns[] = {
    {"family", CELL_FAMILY}, {"variant", CELL_VARIANT}, {"cant", CELL_CANT}, {"p1", CELL_P1},
    {"p2", CELL_P2},         {"v1", CELL_V1},           {"v2", CELL_V1 + 1}, {"v3", CELL_V1 + 2},
    {"v4", CELL_V1 + 3},     {"c1", CELL_C1},           {"c2", CELL_C1 + 1}, {"c3", CELL_C1 + 2},
    {"c4", CELL_C1 + 3},     {"opt", CELL_OPT},         {"sens", CELL_SENS},
};

// The next number of a dotted path and what follows its dot.
bool take_number(std::string_view& rest, int& value) {
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (error != std::errc() || end == rest.data() || end == rest.data() + rest.size() || *end != '.')
    return false;
  rest.remove_prefix(static_cast<size_t>(end - rest.data()) + 1);
  return true;
}

void text_field(TcoCell& cell, SimField& out) {
  out.is_text = true;
  out.text = cp1252_to_utf8(cell_text_trimmed(cell));
  out.set_text = [&cell](const std::string& utf8) {
    std::string bytes;
    if (!utf8_to_cp1252(utf8, bytes)) bytes = utf8;
    set_cell_text(cell, bytes);
  };
}

}  // namespace

bool tco_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index == -1 && field == "blink") {
    out.value = &sys.panels.blink;
    return true;
  }
  int x = -1;
  int y = -1;
  if (index < 0 || index >= kTcoPanels || !take_number(field, x) || !take_number(field, y) ||
      x < 0 || x >= kTcoColumns || y < 0 || y >= kTcoRows)
    return false;
  TcoCell& cell = sys.panels.cell(index, x, y);
  if (field == "txt") {
    text_field(cell, out);
    return true;
  }
  for (const CellColumn& c : kCellColumns) {
    if (field != c.name) continue;
    out.value = &cell.f[static_cast<size_t>(c.field)];
    return true;
  }
  return false;
}

bool rendu_field(System& sys, int index, std::string_view field, SimField& out) {
  return field == "value" && int_cell(sys.panels.rendu, index, out);
}

bool cantcolor_field(System& sys, int index, std::string_view field, SimField& out) {
  const int slot = canton_slot(index);
  return field == "value" && slot >= 0 && int_cell(sys.panels.cant_color, slot, out);
}

// ---- Run mode: tcoact.FIELD, the panel action state ---------------------------------------

bool tcoact_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  PanelAction& a = sys.panels.action;
  struct Column {
    const char* name;
    int32_t* value;
  };
  const Column columns[] = {
      {"countdown", &sys.ticks.panel_countdown[kSelectionCountdown]},
      {"result_countdown", &sys.ticks.panel_countdown[kResultCountdown]},
      {"source", &a.source},
      {"destination", &a.destination},
      {"result", &a.result},
      {"held", &a.selection_held},
  };
  for (const Column& c : columns) {
    if (field != c.name) continue;
    out.value = c.value;
    return true;
  }
  return false;
}
