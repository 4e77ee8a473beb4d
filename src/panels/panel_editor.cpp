#include "panels/panel_editor.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "core/surface.h"
#include "core/system.h"
#include "core/text.h"
#include "core/var_bus.h"
#include "panels/panel_overlay.h"
#include "panels/panel_render.h"
#include "trains/canton_table.h"
#include "turnouts/aig_table.h"

namespace {

constexpr int kCell = kCellPixels;
constexpr int kFieldsTop = 400;  // Y0: the fields area
constexpr int kPreviewX = 320;
constexpr int kPreviewY = 40;
constexpr int kHelpTop = 538;
constexpr int kHelpLine = 10;
constexpr int kHelpPitch = 89;  // tenths of a pixel: the longest help line fits its box
constexpr int kTextPitch = 90;  // the TXT box: 4 characters every 36 pixels
constexpr int kSwatchX = 340;
constexpr int kLegendX = 384;
constexpr int kLegendTop = 205;
constexpr int kLargestValue = 100000;

// ---- The fields that take typed characters ---------------------------------------------------

// A numeric field's place in the cell, by EditField (None and Txt have none).
constexpr int kFieldIndex[] = {-1,          CELL_CANT,   CELL_P1,     CELL_P2,  CELL_V1,
                               CELL_V1 + 1, CELL_V1 + 2, CELL_V1 + 3, CELL_OPT, -1};

// The box a left click selects a field in (window coordinates; dy from the fields area top).
struct FieldBox {
  EditField field;
  int left, right, top, bottom;  // inclusive
};
constexpr FieldBox kFieldBoxes[] = {
    {EditField::Cant, 41, 89, 1, 9},     {EditField::P1, 141, 189, 1, 9},
    {EditField::P2, 241, 289, 1, 9},     {EditField::V1, 41, 289, 21, 29},
    {EditField::V2, 41, 289, 41, 49},    {EditField::V3, 41, 289, 61, 69},
    {EditField::V4, 41, 289, 81, 89},    {EditField::Opt, 41, 139, 101, 109},
    {EditField::Txt, 41, 239, 121, 129},
};

bool within(int v, int low, int high) {
  return v >= low && v <= high;
}

bool in_swatch_column(int x) {
  return within(x, 341, 359);
}

// The colour swatch C1..C4 (0..3) that dy hits, its rows starting `first` pixels below the
// fields area top; -1 for none.
int swatch_hit(int dy, int first) {
  for (int k = 0; k < 4; ++k)
    if (within(dy, first + 20 * k, first + 8 + 20 * k)) return k;
  return -1;
}

// Colour steps: -1, 0..23 round again.
int32_t next_colour(int32_t c) {
  return c < -1 || c >= 23 ? -1 : c + 1;
}
int32_t previous_colour(int32_t c) {
  return c <= -1 || c > 23 ? 23 : c - 1;
}

bool text_character(int32_t ch) {
  if ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) return true;
  return ch != 0 && std::strchr(" _-*()<>[]", ch) != nullptr;
}

// ---- Placing checks ----------------------------------------------------------------------------

enum class Rule { None, CantonOrSiding, Canton, SecondaryTrack, Turnout, Variable, ServoSetpoint };

struct RuleText {
  Rule rule;
  const char* reason;
};
constexpr RuleText kReasons[] = {
    {Rule::CantonOrSiding,
     "ni un canton (0-15, 100-115, 200-215, 300-315) ni un garage (1000-1031)"},
    {Rule::Canton, "pas un canton (0-15, 100-115, 200-215, 300-315)"},
    {Rule::SecondaryTrack, "pas une voie secondaire (0-16, +100 à +800 pour un pont)"},
    {Rule::Turnout, "pas un aiguillage (0-63)"},
    {Rule::Variable, "pas une variable de ZIR"},
    {Rule::ServoSetpoint, "pas une consigne de servo (8000-8004, 8100-8104, 8200-8204, 8300-8304)"},
};

// The fields placing checks, in the order they are checked, with the names the editor shows.
struct CheckedField {
  const char* name;
  int index;
};
constexpr CheckedField kCheckedFields[] = {
    {"CANT", CELL_CANT}, {"#1", CELL_P1},     {"#2", CELL_P2},     {"V1", CELL_V1},
    {"V2", CELL_V1 + 1}, {"V3", CELL_V1 + 2}, {"V4", CELL_V1 + 3},
};
constexpr int kChecked = sizeof kCheckedFields / sizeof kCheckedFields[0];
using Rules = std::array<Rule, kChecked>;

// How many of V1..V4 each variant uses.
constexpr int kEquipmentVariables[19] = {0, 1, 0, 1, 1, 0, 1, 1, 0, 4, 1, 1, 0, 0, 1, 1, 0, 4, 1};
constexpr int kControlVariables[11] = {3, 1, 4, 4, 0, 4, 2, 0, 1, 1, 0};
constexpr int kServoCommand = 8;

template <size_t N>
int variables_used(const int (&table)[N], int variant) {
  return variant >= 0 && variant < static_cast<int>(N) ? table[variant] : 0;
}

// The rule of each checked field for a kind: only the fields the kind uses are checked.
Rules rules_of(int family, int variant) {
  Rules r{};
  r.fill(Rule::None);
  auto variables = [&r](int count) {
    for (int i = 0; i < count; ++i) r[static_cast<size_t>(3 + i)] = Rule::Variable;
  };
  switch (family) {
    case FAMILY_TRACK:
      r[0] = Rule::CantonOrSiding;
      r[1] = Rule::SecondaryTrack;
      r[2] = Rule::Canton;
      break;
    case FAMILY_TURNOUT:
      r[0] = Rule::CantonOrSiding;
      r[1] = Rule::Turnout;
      if (variant == 2 || variant == 5) r[2] = Rule::Turnout;  // three-way: motor 2
      break;
    case FAMILY_EQUIPMENT:
      r[0] = Rule::CantonOrSiding;
      variables(variables_used(kEquipmentVariables, variant));
      break;
    case FAMILY_CONTROL:
      variables(variables_used(kControlVariables, variant));
      if (variant == kServoCommand) r[3] = Rule::ServoSetpoint;
      break;
    default:
      break;
  }
  return r;
}

bool is_variable(System& sys, int32_t n) {
  return var_readable(sys, n) || var_writable(sys, n);
}

bool passes(System& sys, Rule rule, int32_t v) {
  if (v == -1) return true;
  switch (rule) {
    case Rule::None:
      return true;
    case Rule::CantonOrSiding:
      return canton_slot(v) >= 0 || within(v, 1000, 1000 + kSidings - 1);
    case Rule::Canton:
      return canton_slot(v) >= 0;
    case Rule::SecondaryTrack:
      return v >= 0 && v % 100 <= 16 && v / 100 <= 8;
    case Rule::Turnout:
      return within(v, 0, kTurnouts - 1);
    case Rule::Variable:
      return is_variable(sys, v);
    case Rule::ServoSetpoint:
      return within(v / 100, 80, 83) && v % 100 <= 4;
  }
  return false;
}

const char* reason_of(Rule rule) {
  for (const RuleText& t : kReasons)
    if (t.rule == rule) return t.reason;
  return "";
}

// The box refusing the first bad field; false when there is none.
bool refuse_bad_field(System& sys, const TcoCell& block) {
  const Rules rules = rules_of(block.f[CELL_FAMILY], block.f[CELL_VARIANT]);
  for (int i = 0; i < kChecked; ++i) {
    const Rule rule = rules[static_cast<size_t>(i)];
    const int32_t v = block.f[static_cast<size_t>(kCheckedFields[i].index)];
    if (passes(sys, rule, v)) continue;
    sys.host.message_box(
        "ZIR - TCO",
        format("Bloc non placé : %s = %d n'est %s.", kCheckedFields[i].name, v, reason_of(rule)),
        BoxIcon::Warning);
    return true;
  }
  return false;
}

// ---- Where a click falls -------------------------------------------------------------------

int window_left(const System& sys) {
  return editor_left(editor_position(sys.screen.panel_mode));
}

// The window's own pixels, at every position.
bool in_window(int left, int x, int y) {
  return within(x, left, left + kEditorWidth - 1) && within(y, 0, kOverlayHeight - 1);
}

// The cell under a point of the panel; false outside the grid (negative points included).
bool grid_cell(int x, int y, int& column, int& row) {
  if (x < 0 || y < 0) return false;
  column = x / kCell;
  row = y / kCell;
  return column < kTcoColumns && row < kTcoRows;
}

void move_window(System& sys, int step) {
  const int position = editor_position(sys.screen.panel_mode) + step;
  if (position >= 1 && position <= 4)
    sys.screen.panel_mode = static_cast<char>(kOverlayEditorFirst + position - 1);
}

void title_button(System& sys, int x) {
  if (within(x, 353, 366)) move_window(sys, -1);
  if (within(x, 369, 382)) move_window(sys, 1);
  if (within(x, 385, 398)) sys.screen.panel_mode = kOverlayNone;
}

void pick_palette(EditorState& e, int x, int y) {
  for (const BlockKind* k = kBlockKinds; k->column != 0; ++k) {
    if (k->column != x / kCell || k->row != y / kCell) continue;
    e.buffer.f[CELL_FAMILY] = k->family;
    e.buffer.f[CELL_VARIANT] = k->variant;
    return;
  }
}

void flip_sens(TcoCell& b) {
  b.f[CELL_SENS] = 1 - (b.f[CELL_SENS] & 1);
}

void clear_text(TcoCell& b) {
  b.txt.fill(' ');
  b.txt[kCellText] = '\0';
}

// A left click inside the window, x from its left edge.
void window_left_click(System& sys, int x, int y) {
  EditorState& e = sys.panels.editor;
  TcoCell& b = e.buffer;
  const int dy = y - kFieldsTop;
  if (within(x, 237, 255) && within(dy, 119, 129)) {
    clear_text(b);
    e.field = EditField::Txt;
    return;
  }
  e.field = EditField::None;
  if (within(y, 1, 14)) title_button(sys, x);
  pick_palette(e, x, y);
  if (in_swatch_column(x)) {
    if (within(dy, 1, 14)) flip_sens(b);
    const int k = swatch_hit(dy, 20);
    if (k >= 0) b.f[static_cast<size_t>(CELL_C1 + k)] = next_colour(b.f[CELL_C1 + k]);
    if (within(dy, 121, 129))
      for (int i = 0; i < 4; ++i) b.f[static_cast<size_t>(CELL_C1 + i)] = -1;
  }
  for (const FieldBox& box : kFieldBoxes)
    if (within(x, box.left, box.right) && within(dy, box.top, box.bottom)) e.field = box.field;
}

void window_right_click(System& sys, int x, int y) {
  TcoCell& b = sys.panels.editor.buffer;
  const int dy = y - kFieldsTop;
  if (!in_swatch_column(x)) return;
  if (within(dy, 1, 14)) flip_sens(b);
  const int k = swatch_hit(dy, 21);
  if (k >= 0) b.f[static_cast<size_t>(CELL_C1 + k)] = previous_colour(b.f[CELL_C1 + k]);
}

// ---- Typing ------------------------------------------------------------------------------

void type_digit(int32_t& value, int digit) {
  const int64_t typed = static_cast<int64_t>(value < 0 ? 0 : value) * 10 + digit;
  value = typed > kLargestValue ? -1 : static_cast<int32_t>(typed);
}

// The text fills from the right: every character pushes the others one place to the left.
void type_text(TcoCell& b, char ch) {
  std::memmove(b.txt.data(), b.txt.data() + 1, kCellText - 1);
  b.txt[kCellText - 1] = ch;
}

void backspace(EditorState& e) {
  TcoCell& b = e.buffer;
  if (e.field == EditField::Txt) {
    std::memmove(b.txt.data() + 1, b.txt.data(), kCellText - 1);
    b.txt[0] = ' ';
    return;
  }
  int32_t& v = b.f[static_cast<size_t>(kFieldIndex[static_cast<int>(e.field)])];
  v = v < 10 ? -1 : v / 10;
}

// ---- Painting ----------------------------------------------------------------------------

// The block as the preview shows it: a variable number that names nothing is drawn as none
// (the fields are typed digit by digit), and the occupancy marker does not write its variable.
BlockArgs preview_block(System& sys, const TcoCell& buffer, int left) {
  BlockArgs b = cell_block(buffer, left + kPreviewX, kPreviewY);
  for (int& v : b.v)
    if (v != -1 && !is_variable(sys, v)) v = -1;
  if (b.family == FAMILY_EQUIPMENT && (b.variant == 4 || b.variant == 15)) b.v[0] = -1;
  return b;
}

void paint_palette(System& sys, Surface& s, int left) {
  for (const BlockKind* k = kBlockKinds; k->column != 0; ++k) {
    BlockArgs b;
    b.family = k->family;
    b.variant = k->variant;
    b.x = left + kCell * k->column;
    b.y = kCell * k->row;
    b.sens = -10;
    b.text = "    text        ";
    if (k->family == FAMILY_EQUIPMENT && (k->variant == 9 || k->variant == 17)) {
      b.text = "      123      ";
      b.opt = 1;
    }
    if (k->family == FAMILY_CONTROL && k->variant == 10) b.opt = 1;
    draw_block(sys, s, b, true);
  }
}

// A 13 x 13 title button with an arrow pointing left (-1) or right (1), of six short lines.
void arrow_button(Surface& s, int l, int direction) {
  overlay_box(s, l, 2, l + 13, 15, 7);
  const int tip = direction < 0 ? l + 3 : l + 10;
  const int tail = direction < 0 ? l + 10 : l + 3;
  const int back = tip - 3 * direction;
  s.draw_line(tail, 8, tip, 8);
  s.draw_line(tail, 9, tip, 9);
  s.draw_line(tip, 8, back, 5);
  s.draw_line(tip, 9, back, 12);
  s.draw_line(tip + direction, 8, back + direction, 5);
  s.draw_line(tip + direction, 9, back + direction, 12);
}

void paint_title(Surface& s, int left) {
  overlay_box(s, left, 0, left + kEditorWidth - 1, kOverlayHeight - 1, 18);
  overlay_boxed_text(s, left + 40, 4, left + 350, 14, "TOUCHE '+' : FENÊTRE SUIVANTE");
  overlay_text(s, left + 320, 17, "ESC:QUIT");
  arrow_button(s, left + 353, -1);
  arrow_button(s, left + 369, 1);
  overlay_box(s, left + 385, 2, left + 398, 15, 7);
  s.draw_line(left + 388, 5, left + 396, 13);
  s.draw_line(left + 395, 5, left + 387, 13);
}

void paint_help(Surface& s, int left, const TcoCell& buffer) {
  overlay_box(s, left + 4, 537, left + 396, 675, 7);
  int y = kHelpTop;
  for (const char* line : editor_help_lines(buffer.f[CELL_FAMILY], buffer.f[CELL_VARIANT])) {
    overlay_text_pitch(s, left + 10, y, line, kHelpPitch);
    y += kHelpLine;
  }
}

// A value box; the selected field's box is lit.
void value_box(Surface& s, int l, int r, int y, int32_t value, bool selected) {
  overlay_box(s, l, y - 2, r, y + 10, selected ? 27 : 7);
  overlay_text(s, l + 2, y, format("%d", value), r - l - 3);
}

void paint_numbers(Surface& s, int left, const EditorState& e) {
  const auto& f = e.buffer.f;
  const int y0 = kFieldsTop;
  auto selected = [&e](EditField field) { return e.field == field; };
  overlay_text(s, left + 1, y0, "CANT", 38);
  value_box(s, left + 40, left + 90, y0, f[CELL_CANT], selected(EditField::Cant));
  overlay_text(s, left + 115, y0, "#1");
  value_box(s, left + 140, left + 190, y0, f[CELL_P1], selected(EditField::P1));
  overlay_text(s, left + 215, y0, "#2");
  value_box(s, left + 240, left + 290, y0, f[CELL_P2], selected(EditField::P2));
  for (int k = 0; k < 4; ++k) {
    const int y = y0 + 20 * (k + 1);
    const int32_t v = f[static_cast<size_t>(CELL_V1 + k)];
    overlay_text(s, left + 10, y, format("V%d", k + 1));
    value_box(s, left + 40, left + 90, y, v,
              selected(static_cast<EditField>(static_cast<int>(EditField::V1) + k)));
    if (v == -1) continue;
    char label[kLabelBufferSize];
    var_to_label_quiet(v, label);
    overlay_box(s, left + 100, y - 2, left + 290, y + 10, 7);
    overlay_text(s, left + 102, y, label, 187);
  }
  overlay_text(s, left + 10, y0 + 100, "OPT");
  value_box(s, left + 40, left + 140, y0 + 100, f[CELL_OPT], selected(EditField::Opt));
}

void paint_text_field(Surface& s, int left, const EditorState& e) {
  const int y = kFieldsTop + 120;
  overlay_text(s, left + 10, y, "TXT");
  overlay_box(s, left + 40, y - 2, left + 221, y + 10, e.field == EditField::Txt ? 27 : 7);
  for (int mark = 76; mark < 220; mark += 36) s.draw_line(left + mark, y - 2, left + mark, y + 11);
  const std::string_view text(e.buffer.txt.data(), kCellText);
  if (text.find_first_not_of(' ') != std::string_view::npos)
    overlay_text_pitch(s, left + 41, y, text, kTextPitch);
  overlay_box(s, left + 236, y - 1, left + 256, y + 9, 7);
  s.draw_line(left + 242, y + 1, left + 251, y + 8);
  s.draw_line(left + 250, y + 1, left + 241, y + 8);
}

// The S+ box's arrow: right for 0, left for 1, none otherwise.
void sens_arrow(Surface& s, int l, int t, int sens) {
  if (sens != 0 && sens != 1) return;
  const int tip = sens == 0 ? l + 16 : l + 4;
  const int back = sens == 0 ? l + 5 : l + 15;
  const int xy[6] = {tip, t + 7, back, t + 3, back, t + 11};
  s.select_line(0);
  s.select_fill(0);
  s.polygon(xy, 3);
}

void paint_colours(Surface& s, int left, const TcoCell& b) {
  const int y0 = kFieldsTop;
  overlay_text(s, left + 292, y0 - 28, "CLIC-DROIT", 90);
  overlay_text(s, left + 292, y0 - 16, "ou GAUCHE", 90);
  overlay_text(s, left + 312, y0 + 4, "S+");
  overlay_box(s, left + kSwatchX, y0, left + 360, y0 + 15, 7);
  sens_arrow(s, left + kSwatchX, y0, b.f[CELL_SENS]);
  // C1..C4 sit one pixel below the V rows, between the rows the two buttons hit.
  for (int k = 0; k < 4; ++k) {
    const int y = y0 + 21 + 20 * k;
    overlay_text(s, left + 312, y, format("C%d", k + 1));
    overlay_swatch(s, left + kSwatchX, y, 20, 10, b.f[static_cast<size_t>(CELL_C1 + k)]);
  }
  overlay_text(s, left + 287, y0 + 120, "RAZ");
  overlay_swatch(s, left + kSwatchX, y0 + 120, 20, 10, -1);
  for (int c = 0; c < 24; ++c) overlay_swatch(s, left + kLegendX, kLegendTop + 10 * c, 12, 8, c);
  overlay_swatch(s, left + kLegendX, kLegendTop + 240, 12, 8, -1);
}

}  // namespace

void paint_editor(System& sys, Surface& s, int left) {
  const EditorState& e = sys.panels.editor;
  paint_title(s, left);
  paint_palette(sys, s, left);
  draw_block(sys, s, preview_block(sys, e.buffer, left), true);
  paint_help(s, left, e.buffer);
  paint_numbers(s, left, e);
  paint_text_field(s, left, e);
  paint_colours(s, left, e.buffer);
}

void editor_left_press(System& sys, int panel, int x, int y) {
  const int left = window_left(sys);
  if (in_window(left, x, y)) {
    window_left_click(sys, x - left, y);
    return;
  }
  int column = 0;
  int row = 0;
  if (grid_cell(x, y, column, row)) place_block(sys, panel, column, row);
}

void editor_right_press(System& sys, int panel, int x, int y) {
  const int left = window_left(sys);
  if (in_window(left, x, y)) {
    window_right_click(sys, x - left, y);
    return;
  }
  int column = 0;
  int row = 0;
  if (panel >= 0 && panel < kTcoPanels && grid_cell(x, y, column, row))
    sys.panels.editor.buffer = sys.panels.cell(panel, column, row);
}

void editor_key(System& sys, int32_t ch) {
  EditorState& e = sys.panels.editor;
  if (ch == kKeyCtrlZ) {
    undo_placement(sys);
    return;
  }
  if (e.field == EditField::None) return;
  if (ch == kKeyBackspace) {
    backspace(e);
    return;
  }
  if (e.field == EditField::Txt) {
    if (text_character(ch)) type_text(e.buffer, static_cast<char>(ch));
    return;
  }
  int32_t& value = e.buffer.f[static_cast<size_t>(kFieldIndex[static_cast<int>(e.field)])];
  if (ch >= '0' && ch <= '9') type_digit(value, ch - '0');
  if (ch == ' ') value = -1;
}

bool place_block(System& sys, int panel, int x, int y) {
  if (panel < 0 || panel >= kTcoPanels || x < 0 || x >= kTcoColumns || y < 0 || y >= kTcoRows)
    return false;
  EditorState& e = sys.panels.editor;
  if (refuse_bad_field(sys, e.buffer)) return false;
  TcoCell& cell = sys.panels.cell(panel, x, y);
  e.undo[static_cast<size_t>(e.undo_top)] = {panel, x, y, cell};
  e.undo_top = (e.undo_top + 1) % kEditUndoDepth;
  if (e.undo_count < kEditUndoDepth) ++e.undo_count;
  cell = e.buffer;
  return true;
}

bool undo_placement(System& sys) {
  EditorState& e = sys.panels.editor;
  if (e.undo_count == 0) return false;
  e.undo_top = (e.undo_top + kEditUndoDepth - 1) % kEditUndoDepth;
  --e.undo_count;
  const EditUndo& u = e.undo[static_cast<size_t>(e.undo_top)];
  sys.panels.cell(u.panel, u.x, u.y) = u.before;
  return true;
}
