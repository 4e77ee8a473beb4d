#include "panels/panel_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/surface.h"
#include "panels/panel_file.h"
#include "panels/panel_overlay.h"
#include "panels/panel_render.h"
#include "runtime/window_events.h"
#include "support/temp_dir.h"

namespace {

// The fields area of the editor window starts 400 pixels down.
constexpr int kY0 = 400;

class PanelEditorTest : public ::testing::Test {
 protected:
  PanelEditorTest() {
    load_panels(sys(), kPanelFile);
    sys().general.relief = 0;
    window_menu(sys(), 941);  // the editor at its first position
  }
  System& sys() { return t_.sys; }
  TcoCell& buffer() { return sys().panels.editor.buffer; }
  TcoCell& cell(int panel, int x, int y) { return sys().panels.cell(panel, x, y); }
  void click(int x, int y) {
    window_button_press(sys(), MouseButton::Left, x, y);
    window_button_release(sys(), MouseButton::Left, x, y);
  }
  void rclick(int x, int y) {
    window_button_press(sys(), MouseButton::Right, x, y);
    window_button_release(sys(), MouseButton::Right, x, y);
  }
  void type(const std::string& keys) {
    for (const char c : keys) window_key(sys(), static_cast<unsigned char>(c));
  }
  // Selects a field by clicking its box, at the editor's first position.
  void select_cant() { click(60, kY0 + 5); }
  std::string text() const {
    return std::string(t_.sys.panels.editor.buffer.txt.data(), kCellText);
  }
  std::vector<std::string> box_texts() const {
    std::vector<std::string> texts;
    for (const RecordedBox& b : t_.host.boxes) texts.push_back(b.title + "|" + b.text);
    return texts;
  }
  TestSystem t_;
};

// Digits build the number at once (-1 counts as 0), a space clears it, a number above 100000
// falls back to -1, Backspace takes the last digit back (one digit left gives -1).
struct TypingCase {
  const char* name;
  int start;
  std::string keys;
  int expected;
};

const TypingCase kTyping[] = {
    {"three digits", -1, "125", 125},
    {"space clears", 125, " ", -1},
    {"digit into -1", -1, "7", 7},
    {"digit after zero", 0, "4", 4},
    {"largest value kept", -1, "100000", 100000},
    {"above the largest", 100000, "1", -1},
    {"backspace", 125, "\b", 12},
    {"backspace on one digit", 7, "\b", -1},
    {"backspace on -1", -1, "\b", -1},
    {"letters ignored", 12, "a", 12},
};

TEST_F(PanelEditorTest, TypingIntoANumberField) {
  for (const TypingCase& c : kTyping) {
    buffer().f[CELL_CANT] = c.start;
    select_cant();
    type(c.keys);
    EXPECT_EQ(buffer().f[CELL_CANT], c.expected) << c.name;
  }
}

TEST_F(PanelEditorTest, EachNumberFieldIsSelectedByItsBox) {
  struct Box {
    int x, dy, field;
  };
  const Box boxes[] = {{60, 5, CELL_CANT},    {160, 5, CELL_P1},      {260, 5, CELL_P2},
                       {60, 25, CELL_V1},     {280, 45, CELL_V1 + 1}, {60, 65, CELL_V1 + 2},
                       {60, 85, CELL_V1 + 3}, {130, 105, CELL_OPT}};
  for (const Box& b : boxes) {
    click(b.x, kY0 + b.dy);
    type("3");
    EXPECT_EQ(buffer().f[static_cast<size_t>(b.field)], 3) << "field " << b.field;
  }
  // The box edges are outside: a click on one selects nothing.
  click(40, kY0 + 5);
  type("9");
  EXPECT_EQ(sys().panels.editor.field, EditField::None);
  EXPECT_EQ(buffer().f[CELL_CANT], 3);
}

TEST_F(PanelEditorTest, TextFillsFromTheRightWithItsCharactersOnly) {
  click(100, kY0 + 125);
  type("ABC");
  EXPECT_EQ(text(), std::string(17, ' ') + "ABC");
  type("é.!1_-*()<>[] z");
  EXPECT_EQ(text(), "     ABC1_-*()<>[] z");
  EXPECT_EQ(text().size(), 20u);
  window_key(sys(), kKeyBackspace);
  EXPECT_EQ(text(), "      ABC1_-*()<>[] ");
  // The clear button empties the text and selects it.
  click(10, kY0 + 5);
  click(246, kY0 + 125);
  EXPECT_EQ(text(), std::string(20, ' '));
  type("Q");
  EXPECT_EQ(text(), std::string(19, ' ') + "Q");
}

TEST_F(PanelEditorTest, ColourSwatchesStepRoundMinusOneToTwentyThree) {
  for (int i = 0; i < 25; ++i) click(350, kY0 + 25);
  EXPECT_EQ(buffer().f[CELL_C1], -1);
  rclick(350, kY0 + 25);
  EXPECT_EQ(buffer().f[CELL_C1], 23);
  click(350, kY0 + 25);
  EXPECT_EQ(buffer().f[CELL_C1], -1);
  // The right click's rows start one pixel lower: dy 20 is C1 for the left button only.
  rclick(350, kY0 + 20);
  EXPECT_EQ(buffer().f[CELL_C1], -1);
  click(350, kY0 + 65);
  click(350, kY0 + 85);
  EXPECT_EQ(buffer().f[CELL_C1 + 2], 0);
  EXPECT_EQ(buffer().f[CELL_C1 + 3], 0);
  click(350, kY0 + 125);  // RAZ
  for (int k = 0; k < 4; ++k) EXPECT_EQ(buffer().f[static_cast<size_t>(CELL_C1 + k)], -1);
  // S+ flips from -1 to 0, then 1, with either button.
  click(350, kY0 + 5);
  EXPECT_EQ(buffer().f[CELL_SENS], 0);
  rclick(350, kY0 + 5);
  EXPECT_EQ(buffer().f[CELL_SENS], 1);
}

// Each region of the window at its first and last pixels and just outside them: whether a
// click there does what the region does. x from the window's left edge.
enum class Region { MoveRight, Close, Sens, C1, C4, Raz, TextClear, Opt, Txt };

struct BoundCase {
  Region region;
  bool left;
  int x, y;
  bool hit;
};

// clang-format off
const BoundCase kBounds[] = {
    {Region::MoveRight, true, 369, 1, true},        {Region::MoveRight, true, 382, 14, true},
    {Region::MoveRight, true, 368, 8, false},       {Region::MoveRight, true, 383, 8, false},
    {Region::MoveRight, true, 375, 0, false},       {Region::MoveRight, true, 375, 15, false},
    {Region::Close, true, 385, 1, true},            {Region::Close, true, 398, 14, true},
    {Region::Close, true, 384, 8, false},           {Region::Close, true, 399, 8, false},
    {Region::Sens, true, 341, kY0 + 1, true},       {Region::Sens, false, 359, kY0 + 14, true},
    {Region::Sens, true, 340, kY0 + 5, false},      {Region::Sens, false, 360, kY0 + 5, false},
    {Region::Sens, true, 350, kY0, false},          {Region::Sens, true, 350, kY0 + 15, false},
    {Region::C1, true, 341, kY0 + 20, true},        {Region::C1, true, 359, kY0 + 28, true},
    {Region::C1, true, 340, kY0 + 25, false},       {Region::C1, true, 360, kY0 + 25, false},
    {Region::C1, true, 350, kY0 + 19, false},       {Region::C1, true, 350, kY0 + 29, false},
    {Region::C1, false, 341, kY0 + 21, true},       {Region::C1, false, 359, kY0 + 29, true},
    {Region::C1, false, 350, kY0 + 20, false},      {Region::C1, false, 350, kY0 + 30, false},
    {Region::C4, true, 350, kY0 + 80, true},        {Region::C4, true, 350, kY0 + 88, true},
    {Region::C4, false, 350, kY0 + 89, true},       {Region::C4, false, 350, kY0 + 80, false},
    {Region::Raz, true, 341, kY0 + 121, true},      {Region::Raz, true, 359, kY0 + 129, true},
    {Region::Raz, true, 350, kY0 + 120, false},     {Region::Raz, true, 350, kY0 + 130, false},
    {Region::Raz, false, 350, kY0 + 125, false},
    {Region::TextClear, true, 237, kY0 + 119, true}, {Region::TextClear, true, 255, kY0 + 129, true},
    {Region::TextClear, true, 236, kY0 + 125, false}, {Region::TextClear, true, 256, kY0 + 125, false},
    {Region::TextClear, true, 246, kY0 + 118, false}, {Region::TextClear, true, 246, kY0 + 130, false},
    {Region::TextClear, false, 246, kY0 + 125, false},
    {Region::Opt, true, 41, kY0 + 101, true},       {Region::Opt, true, 139, kY0 + 109, true},
    {Region::Opt, true, 140, kY0 + 105, false},     {Region::Opt, true, 60, kY0 + 110, false},
    {Region::Txt, true, 41, kY0 + 121, true},       {Region::Txt, true, 236, kY0 + 129, true},
    {Region::Txt, true, 60, kY0 + 120, false},      {Region::Txt, true, 60, kY0 + 130, false},
};
// clang-format on

TEST_F(PanelEditorTest, EveryRegionOfTheWindowEndsAtItsBounds) {
  for (const BoundCase& c : kBounds) {
    sys().screen.panel_mode = 'B';  // left edge at 200
    buffer().f[CELL_SENS] = 0;
    for (int k = 0; k < 4; ++k) buffer().f[static_cast<size_t>(CELL_C1 + k)] = 5;
    set_cell_text(buffer(), "AB");
    sys().panels.editor.field = EditField::None;
    c.left ? click(200 + c.x, c.y) : rclick(200 + c.x, c.y);
    const EditField field = sys().panels.editor.field;
    bool done = false;
    switch (c.region) {
      case Region::MoveRight:
        done = sys().screen.panel_mode == 'C';
        break;
      case Region::Close:
        done = sys().screen.panel_mode == ' ';
        break;
      case Region::Sens:
        done = buffer().f[CELL_SENS] == 1;
        break;
      case Region::C1:
        done = buffer().f[CELL_C1] == (c.left ? 6 : 4);
        break;
      case Region::C4:
        done = buffer().f[CELL_C1 + 3] == (c.left ? 6 : 4);
        break;
      case Region::Raz:
        done = buffer().f[CELL_C1] == -1 && buffer().f[CELL_C1 + 3] == -1;
        break;
      case Region::TextClear:
        done = text() == std::string(20, ' ') && field == EditField::Txt;
        break;
      case Region::Opt:
        done = field == EditField::Opt;
        break;
      case Region::Txt:
        done = field == EditField::Txt && cell_text_trimmed(buffer()) == "AB";
        break;
    }
    EXPECT_EQ(done, c.hit) << static_cast<int>(c.region) << " at " << c.x << "," << c.y
                           << (c.left ? " left" : " right");
  }
}

TEST_F(PanelEditorTest, PaletteSetsTheKindAndKeepsTheFields) {
  select_cant();
  type("105");
  click(60, 60);  // palette (1, 1): straight track
  EXPECT_EQ(buffer().f[CELL_FAMILY], 0);
  EXPECT_EQ(buffer().f[CELL_VARIANT], 0);
  click(340, 300);  // (8, 7): uncoupler, vertical
  EXPECT_EQ(buffer().f[CELL_FAMILY], 3);
  EXPECT_EQ(buffer().f[CELL_VARIANT], 18);
  EXPECT_EQ(buffer().f[CELL_CANT], 105);
  // Where the palette has no entry (the preview's square) nothing changes.
  click(330, 50);
  EXPECT_EQ(buffer().f[CELL_VARIANT], 18);
}

TEST_F(PanelEditorTest, PlacingCopiesTheWholeBufferAndAnEmptyKindKeepsTheFields) {
  TcoCell& target = cell(0, 12, 3);
  target.f[CELL_FAMILY] = 0;
  target.f[CELL_VARIANT] = 1;
  target.f[CELL_CANT] = 4;
  buffer().f[CELL_CANT] = 7;
  set_cell_text(buffer(), "GARE");
  click(12 * 40 + 5, 3 * 40 + 5);
  EXPECT_EQ(target, buffer());
  EXPECT_EQ(target.f[CELL_FAMILY], -1);
  EXPECT_EQ(target.f[CELL_CANT], 7);
  EXPECT_EQ(cell_text_trimmed(target), "GARE");
}

// Which clicks edit and which place, at each position; the window's own pixels are inside.
struct WhereCase {
  const char* name;
  char mode;
  int x, y;
  int placed_column;  // -1: nothing placed
};

const WhereCase kWhere[] = {
    {"position 3, inside", 'C', 420, 100, -1},
    {"position 3, left of it", 'C', 380, 100, 9},
    {"position 3, right of it", 'C', 800, 100, 20},
    {"position 2, its left border", 'B', 200, 100, -1},
    {"position 2, left of it", 'B', 199, 100, 4},
    {"position 4, its left border", 'D', 760, 100, -1},
    {"position 4, its right border", 'D', 1159, 100, -1},
    {"position 1, below it", 'A', 100, 680, 2},
    {"position 1, past the grid", 'A', 1280, 100, -1},
    {"position 2, negative x", 'B', -10, 100, -1},
    {"position 1, negative y", 'A', 500, -10, -1},
};

TEST_F(PanelEditorTest, ClicksInsideTheWindowEditAndOutsideItPlace) {
  buffer().f[CELL_FAMILY] = 2;
  buffer().f[CELL_VARIANT] = 4;
  for (const WhereCase& c : kWhere) {
    for (TcoCell& cl : sys().panels.cells) cl.clear();
    sys().screen.panel_mode = c.mode;
    click(c.x, c.y);
    int placed = 0;
    int column = -1;
    for (int x = 0; x < kTcoColumns; ++x) {
      for (int y = 0; y < kTcoRows; ++y) {
        if (cell(0, x, y).f[CELL_FAMILY] == -1) continue;
        ++placed;
        column = x;
      }
    }
    EXPECT_EQ(placed, c.placed_column < 0 ? 0 : 1) << c.name;
    EXPECT_EQ(column, c.placed_column) << c.name;
  }
}

TEST_F(PanelEditorTest, TitleButtonsMoveAndCloseTheWindow) {
  click(360, 8);  // left: already at position 1
  EXPECT_EQ(sys().screen.panel_mode, 'A');
  click(375, 8);
  EXPECT_EQ(sys().screen.panel_mode, 'B');
  click(200 + 375, 8);
  click(400 + 375, 8);
  click(760 + 375, 8);  // right: already at position 4
  EXPECT_EQ(sys().screen.panel_mode, 'D');
  click(760 + 360, 8);
  EXPECT_EQ(sys().screen.panel_mode, 'C');
  click(400 + 390, 8);
  EXPECT_EQ(sys().screen.panel_mode, ' ');
}

// Placing checks the fields the kind uses, in the order CANT, #1, #2, V1..V4; -1 always passes.
struct RefusalCase {
  int family, variant;
  int field;
  int value;
  const char* box;  // nullptr: placed
};

const RefusalCase kRefusals[] = {
    {0, 0, CELL_CANT, 125,
     "Bloc non placé : CANT = 125 n'est ni un canton (0-15, 100-115, 200-215, 300-315) ni un "
     "garage (1000-1031)."},
    {0, 0, CELL_CANT, 1031, nullptr},
    {3, 0, CELL_CANT, 1032,
     "Bloc non placé : CANT = 1032 n'est ni un canton (0-15, 100-115, 200-215, 300-315) ni un "
     "garage (1000-1031)."},
    {0, 3, CELL_P2, 1005,
     "Bloc non placé : #2 = 1005 n'est pas un canton (0-15, 100-115, 200-215, 300-315)."},
    {0, 3, CELL_P1, 817,
     "Bloc non placé : #1 = 817 n'est pas une voie secondaire (0-16, +100 à +800 pour un pont)."},
    {0, 3, CELL_P1, 816, nullptr},
    {0, 3, CELL_P1, 916,
     "Bloc non placé : #1 = 916 n'est pas une voie secondaire (0-16, +100 à +800 pour un pont)."},
    {1, 0, CELL_P1, 64, "Bloc non placé : #1 = 64 n'est pas un aiguillage (0-63)."},
    {1, 2, CELL_P2, 70, "Bloc non placé : #2 = 70 n'est pas un aiguillage (0-63)."},
    {1, 0, CELL_P2, 70, nullptr},  // a plain turnout has no second motor
    {2, 0, CELL_V1 + 2, 9600, "Bloc non placé : V3 = 9600 n'est pas une variable de ZIR."},
    {2, 0, CELL_V1 + 2, 16, "Bloc non placé : V3 = 16 n'est pas une variable de ZIR."},
    {2, 0, CELL_V1 + 3, 16, nullptr},    // a push button has no V4
    {2, 2, CELL_V1 + 3, 6049, nullptr},  // write-only iti_start
    {3, 9, CELL_V1 + 3, 7001, "Bloc non placé : V4 = 7001 n'est pas une variable de ZIR."},
    {2, 8, CELL_V1, 8005,
     "Bloc non placé : V1 = 8005 n'est pas une consigne de servo (8000-8004, 8100-8104, "
     "8200-8204, 8300-8304)."},
    {2, 8, CELL_V1, 8304, nullptr},
    {2, 4, CELL_V1, 99999, nullptr},  // a text uses no variable
    {-1, -1, CELL_CANT, 99999, nullptr},
};

TEST_F(PanelEditorTest, PlacingRefusesTheFirstBadFieldInABox) {
  for (const RefusalCase& c : kRefusals) {
    t_.host.boxes.clear();
    buffer().clear();
    buffer().f[CELL_FAMILY] = c.family;
    buffer().f[CELL_VARIANT] = c.variant;
    buffer().f[static_cast<size_t>(c.field)] = c.value;
    cell(0, 20, 20).clear();
    const bool placed = place_block(sys(), 0, 20, 20);
    const std::string what =
        std::to_string(c.family) + "/" + std::to_string(c.variant) + " " + std::to_string(c.value);
    EXPECT_EQ(placed, c.box == nullptr) << what;
    EXPECT_EQ(cell(0, 20, 20) == buffer(), c.box == nullptr) << what;
    if (c.box) {
      EXPECT_EQ(box_texts(), std::vector<std::string>{std::string("ZIR - TCO|") + c.box}) << what;
    } else {
      EXPECT_TRUE(t_.host.boxes.empty()) << what;
    }
  }
  // Only the first bad field is named.
  t_.host.boxes.clear();
  buffer().f[CELL_FAMILY] = 0;
  buffer().f[CELL_CANT] = 16;
  buffer().f[CELL_P1] = 17;
  place_block(sys(), 0, 20, 20);
  ASSERT_EQ(t_.host.boxes.size(), 1u);
  EXPECT_NE(t_.host.boxes[0].text.find("CANT = 16"), std::string::npos);
}

TEST_F(PanelEditorTest, CopyToAnotherPanelKeepsTheEditorOpen) {
  TcoCell& source = cell(0, 15, 2);
  source.f[CELL_FAMILY] = 2;
  source.f[CELL_VARIANT] = 1;
  source.f[CELL_V1] = 5400;
  set_cell_text(source, "ECL");
  rclick(15 * 40 + 20, 2 * 40 + 20);
  EXPECT_EQ(buffer(), source);
  window_menu(sys(), 906);  // panel 1
  window_key(sys(), '3');   // digits do not switch panels while the editor is open
  EXPECT_EQ(sys().screen.screen_mode, 1);
  EXPECT_EQ(sys().screen.panel_mode, 'A');
  click(20 * 40 + 1, 10 * 40 + 1);
  EXPECT_EQ(cell(1, 20, 10), source);
}

TEST_F(PanelEditorTest, CtrlZTakesBackPlacementsAcrossPanels) {
  buffer().f[CELL_FAMILY] = 0;
  buffer().f[CELL_VARIANT] = 0;
  cell(0, 12, 1).f[CELL_CANT] = 3;
  const TcoCell before = cell(0, 12, 1);
  click(12 * 40, 40);
  window_menu(sys(), 907);  // panel 2
  click(13 * 40, 40);
  click(13 * 40, 40);  // twice on the same cell
  window_key(sys(), kKeyCtrlZ);
  EXPECT_EQ(cell(2, 13, 1), buffer());
  window_key(sys(), kKeyCtrlZ);
  EXPECT_EQ(cell(2, 13, 1), TcoCell());
  window_key(sys(), kKeyCtrlZ);
  EXPECT_EQ(cell(0, 12, 1), before);
  EXPECT_FALSE(undo_placement(sys()));
}

TEST_F(PanelEditorTest, UndoRemembersTheLastHundredPlacements) {
  buffer().f[CELL_FAMILY] = 0;
  for (int i = 0; i < 101; ++i) ASSERT_TRUE(place_block(sys(), 0, i % 32, 10 + i / 32));
  int undone = 0;
  while (undo_placement(sys())) ++undone;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(cell(0, 0, 10), buffer());  // the first placement is beyond the undo depth
  EXPECT_EQ(cell(0, 1, 10), TcoCell());
}

TEST_F(PanelEditorTest, PlusStepsTheOverlaysAndEmptiesTheKind) {
  window_key(sys(), kKeyEscape);
  const char expected[] = {'A', 'B', 'C', 'D', 'H', 'R', ' ', 'A'};
  for (const char mode : expected) {
    buffer().f[CELL_FAMILY] = 2;
    buffer().f[CELL_CANT] = 5;
    window_key(sys(), '+');
    EXPECT_EQ(sys().screen.panel_mode, mode);
    EXPECT_EQ(buffer().f[CELL_FAMILY], -1);
    EXPECT_EQ(buffer().f[CELL_CANT], 5);
  }
  // "+" into a selected text field steps the overlay, it is not typed.
  click(100, kY0 + 125);
  window_key(sys(), '+');
  EXPECT_EQ(text(), std::string(20, ' '));
  EXPECT_EQ(sys().screen.panel_mode, 'B');
}

TEST_F(PanelEditorTest, PlusLetsGoOfAButtonHeldOnThePanel) {
  window_key(sys(), kKeyEscape);
  TcoCell& button = cell(0, 12, 2);
  button.f[CELL_FAMILY] = 2;
  button.f[CELL_VARIANT] = 0;
  button.f[CELL_V1] = 5410;
  window_button_press(sys(), MouseButton::Left, 12 * 40 + 20, 2 * 40 + 20);
  EXPECT_EQ(sys().logic.var[10], 1);
  window_key(sys(), '+');
  EXPECT_EQ(sys().logic.var[10], 0);
  EXPECT_EQ(sys().screen.panel_mode, 'A');
}

TEST_F(PanelEditorTest, MenusOpenTheOverlaysOverTheLastPanel) {
  window_key(sys(), kKeyEscape);
  window_key(sys(), '4');
  window_menu(sys(), 945);  // the train table
  const struct {
    int menu;
    char mode;
  } menus[] = {{941, 'A'}, {942, 'R'}, {916, 'H'}};
  for (const auto& m : menus) {
    window_menu(sys(), 945);
    buffer().f[CELL_FAMILY] = 1;
    window_menu(sys(), m.menu);
    EXPECT_EQ(sys().screen.panel_mode, m.mode);
    EXPECT_EQ(sys().screen.screen_mode, 4);
    EXPECT_EQ(buffer().f[CELL_FAMILY], -1);
  }
  window_key(sys(), kKeyEscape);
  EXPECT_EQ(sys().screen.panel_mode, ' ');
  EXPECT_EQ(sys().screen.screen_mode, 4);
}

TEST_F(PanelEditorTest, TheOverlayHidesItsCellsAndIsDrawnOverThePanel) {
  // A track cell under the editor at position 2 (column 5) and one just left of it (4).
  for (const int x : {4, 5}) {
    TcoCell& c = cell(0, x, 2);
    c.f[CELL_FAMILY] = 0;
    c.f[CELL_VARIANT] = 0;
  }
  sys().screen.panel_mode = 'B';
  Surface s(1281, 1001);
  s.record_texts();
  paint_panel(sys(), s, 0);
  EXPECT_EQ(s.pixel(4 * 40 + 30, 2 * 40 + 20), palette_line(0));  // its rail is drawn
  EXPECT_EQ(s.pixel(4 * 40 + 30, 2 * 40 + 5), palette_fill(7));   // its own square is filled
  // The window's title sits at its left edge, 200.
  bool title = false;
  for (const DrawnText& t : s.drawn_texts())
    if (t.text == "ESC:QUIT") title = t.x == 520 && t.y == 17;
  EXPECT_TRUE(title);
}

// The help of every kind, line by line, as the help box shows it (x 10, one line every 10
// pixels from y 538), for each variant sharing it.
struct HelpCase {
  const char* kind;
  int family;
  std::vector<int> variants;
  std::vector<std::string> lines;
};

// clang-format off
const HelpCase kHelp[] = {
    {"track elements", 0, {0, 12, 18}, {
        "ÉLEMENTS DE VOIES :",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "#1  : 0 A 16 POUR AJOUT VOIE SECONDAIRE",
        "    : +100 A +800 AJOUT D'UN PONT",
        "#2  : NUMÉRO CANTON DE VOIE SECONDAIRE",
        "OPT : 1 A 3 VOIES EN POINTILLÉE",
        "    : 4 A 29 AJOUT D'UN PICTOGRAMME",
        "    : UNIQUEMENT POUR RAIL VERTICAL/HORIZON",
        "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
        "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
        "    : 21,22 MAISON, 23 A 26 LOCO, RE",
        "    : 27,28 RECTANGLE COULEUR C1",
        "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
    }},
    {"turnouts", 1, {0, 5, 9}, {
        "AIGUILLAGES :",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "#1  : NUMÉRO DE COMMANDE DU MOTEUR 1: 0-63",
        "#2  : SI AIG TRIPLE     CMD.MOTEUR 2: 0-63",
    }},
    {"buffer stops", 3, {6, 7, 10, 11}, {
        "ÉLEMENTS DE VOIES, BUTOIR + CAPTEUR PASSAGE",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "V1:NUMÉRO DE VARIABLE (CAPTEUR) FACULTATIF",
        "SI V1:1 ALLUME UN VOYANT FIN DE COURSE",
        "VOIR FENÊTRE RENDU (VOY DETECT -[]-)",
    }},
    {"occupancy lamps", 3, {0, 12}, {
        "AFFICHE L'ÉTAT DE L'OCCUPATION DU CANTON:",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "COULEURS:VOIR FENÊTRE RENDU(VOY DETECT-[]-)",
        "CLIC DESSUS:PERMET DE LANCER UN ITINÉRAIRE ",
    }},
    {"imposed direction", 3, {5, 16}, {
        "IMPOSE LE SENS DE PARCOURS :",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
    }},
    {"canton information", 3, {2, 13}, {
        "AFFICHE LE NUMÉRO DU CANTON, LA VITESSE ET",
        "LE NOM DU TRAIN :",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "SI PB DÉTECTION TRAIN, CLIGNOTE EN ROUGE",
    }},
    {"passage sensors", 3, {3, 14}, {
        "AFFICHE L'ÉTAT DU CAPTEUR DE PASSAGE :",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+  : ORIENTATION DU BLOC",
        "V1  : NUMERO DE VARIABLE (CAPTEUR D'ENTREE)",
        "SI V1:1 ALLUME UN VOYANT RECTANGULAIRE",
        "VOIR FENÊTRE RENDU (VOY DETECT -[]-)",
    }},
    {"signals", 3, {9, 17}, {
        "AFFICHE UN FEU AU BORD DE LA VOIE",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+   : ORIENTATION DU BLOC DE VOIE",
        "V1-V4: NUMÉRO VARIABLES DES LAMPES 1-4",
        "C1-C4: COULEUR DES LAMPES 1-4",
        "OPT  : 1 A 4 FORME DU PIED",
        "OPT  : 5 FEUX PASSAGE A NIVEAU",
        "TEXTE: 123+ESPACE : LAMPES1+2+3",
        "     : 1 : LAMPE 1, 2 : LAMPE 2, ...",
    }},
    {"clock", 3, {8}, {
        "AFFICHE UNE HORLOGE : CHOISIR LES COULEURS",
        "C1 : COULEUR A L'ÉTAT 'ON'",
        "C2 : COULEUR A L'ÉTAT 'OFF'",
        "C3 : COULEUR CLIGNOTANTE A L'ÉTAT 'BLOQUÉE'",
        "MISE EN MARCHE EN CLIQUANT SUR LE BLOC",
        "EN RELIEF, LES COULEURS SONT IMPOSÉES",
    }},
    {"uncouplers", 3, {1, 18}, {
        "AFFICHE L'ÉTAT DU RAIL DÉTELEUR",
        "CANT: NUMÉRO DU CANTON: 0-315,(GARAGE+1000)",
        "S+ : ORIENTATION DU BLOC",
        "V1 : NUMÉRO VARIABLE D'ÉTAT DU DÉTELEUR",
    }},
    {"occupancy markers", 3, {4, 15}, {
        "ÉLEMENT PAS ENCORE UTILISABLE",
    }},
    {"push button", 2, {0}, {
        "BOUTON POUSSOIR, A CHAQUE ACTION CHANGE",
        "L'ÉTAT DES VARIABLES (DE SORTIES) :",
        "V1 : MISE A 1 LE TEMPS DU CLIC ENFONCÉ",
        "V2 : MISE A 1 DE CETTE VARIABLE AU CLIC",
        "V3 : MISE A 0 DE CETTE VARIABLE AU CLIC",
        "COULEURS: VOIR FENÊTRE RENDU(VOY.INTER/BP)",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
        "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
        "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
        "    : 21,22 MAISON, 23 A 26 LOCO, RE",
        "    : 27,28 RECTANGLE COULEUR C1",
        "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
        "    : +100 AFFICHE LE VOYANT",
    }},
    {"switch", 2, {1}, {
        "INTERRUPTEUR :",
        "CHANGE L'ÉTAT DES VARIABLES (DE SORTIES)",
        "V1 : CHANGE L'ÉTAT DE CETTE VARIABLE (0-1)",
        "     A CHAQUE CLIC",
        "COULEURS: VOIR FENÊTRE RENDU(VOY.INTER/BP)",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
        "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
        "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
        "    : 21,22 MAISON, 23 A 26 LOCO, RE",
        "    : 27,28 RECTANGLE COULEUR C1",
        "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
        "    : +100 AFFICHE LE VOYANT",
    }},
    {"route button", 2, {2}, {
        "BOUTON A APPUI/TRACTION (ITINÉRAIRES):",
        "V1 : ITI_START, MISE A 1 AU CLIC-GAUCHE",
        "V2 : ITI_STOP,  MISE A 1 AU CLIC-DROIT",
        "V3 : ITI_OK, VOYANT ALLUMÉ SI VAR : 1",
        "V4 : ITI_WAIT, CLIGNOTE SI VAR : 1",
        "COULEURS: VOIR FENÊTRE RENDU(B.ITI)",
    }},
    {"one lamp", 2, {6}, {
        "VOYANT POUR AFFICHER L'ÉTAT DES VARIABLES",
        "V1  : SI VAR: 1, LE VOYANT S'ALLUME(PRIORI)",
        "V2  : SI VAR: 1, LE VOYANT CLIGNOTE",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : FORMES DU VOYANT (-1, 1 A 6)",
        "    : -1 GROS ROND,",
        "    : 1 PETIT ROND, 2 PETIT ROND HAUT",
        "    : 3 CARRÉ, 4 CARRÉ HAUT",
        "    : 5 CARRÉ SIMPLE, 6 CARRÉ SIMPLE HAUT",
        "COULEUR: PAR DÉFAUT OU C1 / C2 SI DÉFINIES",
        "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
    }},
    {"two lamps", 2, {5}, {
        "2VOYANTS POUR AFFICHER L'ÉTAT DES VARIABLES",
        "V1 : SI VAR: 1, LE VOYANT 1 S'ALLUME(PRIO)",
        "V2 : SI VAR: 1,      //     CLIGNOTE(C1/C2)",
        "V3 : SI VAR: 1, LE VOYANT 2 S'ALLUME(PRIO)",
        "V4 : SI VAR: 1,      //     CLIGNOTE(C3/C4)",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : FORMES DES VOYANTS (-1, 1,2,10,11,12)",
        "    : -1 ROND, 1 CARRÉ, 2 CARRÉ SIMPLE",
        "    : OPT > 10 AFFICHAGE QUE SI VX DÉFINIE",
        "    : 10 ROND, 11 CARRÉ, 12 CARRÉ SIMPLE",
        "COULEUR: PAR DÉFAUT OU C1 A C4 SI DÉFINIES",
        "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
    }},
    {"four lamps", 2, {3}, {
        "4VOYANTS POUR AFFICHER L'ÉTAT DES VARIABLES",
        "V1 : SI VAR: 1, LE VOYANT 1 S'ALLUME (C1)",
        "V2 : SI VAR: 1,      //   2    //    (C2)",
        "V3 : SI VAR: 1,      //   3    //    (C3)",
        "V4 : SI VAR: 1,      //   4    //    (C4)",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : FORMES DES VOYANTS (-1, 1,2,10,11,12)",
        "    : -1 CARRÉ, 1 ROND, 2 CARRÉ SIMPLE",
        "    : OPT > 10 AFFICHAGE QUE SI VX DÉFINIE",
        "    : 10 CARRÉ, 11 ROND, 12 CARRÉ SIMPLE",
        "COULEUR: PAR DÉFAUT OU C1 A C4 SI DÉFINIES",
        "       : VOIR FENÊTRE RENDU(VOYANTS 1,2,4)",
    }},
    {"text", 2, {4}, {
        "POUR AFFICHER DU TEXTE:",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "COULEUR: PAR DÉFAUT OU C1 SI DÉFINIE",
        "       : VOIR FENÊTRE RENDU(CoulTEXT)",
        "OPT : AJOUT D'UN PICTOGRAMME (1 A 29)",
        "    : 1 HP, 2 PLAY, 3,4 LAMPADAIRE",
        "    : 5 A 12 RECANGLE, 13 A 20 TOIT MAISON",
        "    : 21,22 MAISON, 23 A 26 LOCO",
        "    : 27,28 RECTANGLE COULEUR C1",
        "    : 29 RECTANGLE + COULEUR C1, C2 ,C3 C4",
    }},
    {"text and value", 2, {9}, {
        "POUR AFFICHER DU TEXTE + 1 VALEUR NUMÉRIQUE",
        "V1  : AFFICHE LA VALEUR DE V1 SUR 4 DIGITS",
        "POUR BARGRAPHE SERVO UTILISER : SRV_POS_XX",
        "TXT : 3 LIGNES DE 4 CARACTÈRES",
        "COULEUR: PAR DÉFAUT OU C1 A C3 SI DÉFINIES",
        "       : C1 : COULEUR DU TEXTE",
        "       : C2 : COULEUR DU TRAIT BARGRAPH",
        "       : C3 : COULEUR DU NOMBRE",
        "       : VOIR FENÊTRE RENDU(CoulTEXT)",
    }},
    {"screen jump", 2, {7}, {
        "POUR AFFICHER DIRECTEMENT UN AUTRE ÉCRAN",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : 0-7:TCO_0a7, 8:TRAIN, 9:TRAIN->CANTON",
        "10-16:DÉPLACEMENTS, 17:HORO, 18:VIBREUR,",
        "19-20:ITI, 21:GARAGES, 22-23:AIG, 24:RS232,",
        "25-27:VARIABLES, 28-29:CANTONS, 30:SERVOS,",
        "31:TABLES VÉRITÉ, 32-34:SÉLECTIF, 35-37:AGA",
        "#1 : FORME DU BLOC (-1, 1, 2, 3, 4)",
        "COULEUR: PAR DÉFAUT OU C1 SI DÉFINIE",
        "       : VOIR FENÊTRE RENDU(CoulTEXT)",
    }},
    {"servo command", 2, {8}, {
        "COMMANDE DÉPLACEMENT SERVO",
        "V1:VAR_SERVO (8000-8305),  TXT:TEXTE LIBRE",
        " |DEPL_BP|INCREME_BP|PLUSIEU_BP| POSIT_BP",
        "#1|   -1 |PAS 0_1023|        -1|P0  0_1023",
        "#2|   -1 |        -1|BUT 0_1023|P1  0_1023",
        "S+|  +/- |      +/- |(<-SENS DE ROTATION)",
        "TXT : 4 LIGNES DE 4 CARACTÈRES",
        "OPT : 0-255 TEMPS ROTATION MAX EN 1/10Sec",
    }},
    {"multi-function block", 2, {10}, {
        "BLOC A FONCTION MULTIPLES (OPT:1,2,3..) :",
        "OPT:1 AFFICHE/ANNULE TOUS LES DÉPLACEMENTS",
        "OPT:2 AFFICHE/ANNULE TOUS LES ITINÉRAIRES ",
        "OPT:3 AFFECTE LE TRAIN SUR LE CANTON LIBRE",
        "OPT:4 URGENCE STOP",
        "OPT:5 BAL-HALTE INHIBITION",
        "OPT:6 BLOCAGE INHIBITION",
        "OPT:7 AFFICHAGE DES COMMANDES DES TRAINS",
        "OPT:8 RAZ TOUS LES BITS INVERSE DES CANTONS",
    }},
    {"empty cell", -1, {-1}, {
        "CASE VIDE",
        "CLIC-GAUCHE + ESPACE >> RAZ VARIABLE",
        "CLIC-GAUCHE + NOMBRE + ENTRÉE >> DANS VAR.",
        "SUR UN BLOC DU TCO :",
        " - CLIC-DROIT  = COPIER LE BLOC DEPUIS TCO",
        " - CLIC-GAUCHE = PLACER LE BLOC",
        "ON PEUT COPIER/COLLER UNE CASE D'UN TCO",
        "SUR UN AUTRE TCO, AVEC UN CLIC-DROIT +",
        "CHANGEMENT DE TCO + CLIC-GAUCHE.",
    }},
};
// clang-format on

TEST_F(PanelEditorTest, EveryKindShowsItsHelpLines) {
  for (const HelpCase& c : kHelp) {
    for (const int variant : c.variants) {
      buffer().f[CELL_FAMILY] = c.family;
      buffer().f[CELL_VARIANT] = variant;
      Surface s(1281, 1001);
      s.record_texts();
      paint_panel(sys(), s, 0);
      std::vector<std::string> shown;
      for (const DrawnText& t : s.drawn_texts()) {
        if (t.x != 10 || t.y < 538) continue;
        EXPECT_EQ(t.y, 538 + 10 * static_cast<int>(shown.size())) << c.kind;
        shown.push_back(t.text);
      }
      EXPECT_EQ(shown, c.lines) << c.kind << " variant " << variant;
    }
  }
  EXPECT_TRUE(editor_help_lines(2, 11).empty());
  for (const BlockKind* k = kBlockKinds; k->column != 0; ++k)
    EXPECT_FALSE(editor_help_lines(k->family, k->variant).empty()) << k->column << "," << k->row;
}

TEST_F(PanelEditorTest, VariableLabelsAreShownWithoutLogging) {
  buffer().f[CELL_V1] = 5410;
  buffer().f[CELL_V1 + 1] = 7001;  // in no family
  buffer().f[CELL_V1 + 2] = 2050;  // beyond a card's LEDs
  Surface s(1281, 1001);
  s.record_texts();
  paint_panel(sys(), s, 0);
  std::vector<std::string> labels;
  for (const DrawnText& t : s.drawn_texts())
    if (t.x == 102 && t.y >= kY0 + 20 && t.y <= kY0 + 80) labels.push_back(t.text);
  EXPECT_EQ(labels,
            (std::vector<std::string>{"var_10", "INVALIDE N° INCONNU", "INVALIDE HORS-LIMITE"}));
  EXPECT_EQ(t_.log(), "");
}

}  // namespace
