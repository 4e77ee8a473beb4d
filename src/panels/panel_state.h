// The track-diagram panels: eight grids of cells, the render settings (`rendu`), the canton
// colour table, the panel action state and the blink counter. Train colours live in the train
// table (TrainTable::color), shared with the panels.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

constexpr int kTcoPanels = 8;
constexpr int kTcoColumns = 32;
constexpr int kTcoRows = 25;
constexpr int kCellFields = 15;
constexpr int kCellText = 20;
constexpr int kCellPixels = 40;
constexpr int kRenduSize = 44;
constexpr int kCantonColours = 64;

// The fields of a cell, in their stored order.
enum CellField : int {
  CELL_FAMILY = 0,
  CELL_VARIANT = 1,
  CELL_CANT = 2,
  CELL_P1 = 3,  // #1
  CELL_P2 = 4,  // #2
  CELL_V1 = 5,  // V1..V4: 5..8
  CELL_C1 = 9,  // C1..C4: 9..12
  CELL_OPT = 13,
  CELL_SENS = 14,  // S+
};

enum BlockFamily : int {
  FAMILY_EMPTY = -1,
  FAMILY_TRACK = 0,
  FAMILY_TURNOUT = 1,
  FAMILY_CONTROL = 2,
  FAMILY_EQUIPMENT = 3,
};

struct TcoCell {
  std::array<int32_t, kCellFields> f;
  std::array<char, kCellText + 1> txt;  // right-aligned, Windows-1252, NUL-terminated

  TcoCell() { clear(); }
  void clear() {
    f.fill(-1);
    txt.fill(' ');
    txt[kCellText] = '\0';
  }
  bool operator==(const TcoCell&) const = default;
};

// One kind of block as the editor's palette offers it (column and row counted from 1).
struct BlockKind {
  int column;
  int row;
  int family;
  int variant;
};
// The 60 kinds, then a row with column 0.
extern const BlockKind kBlockKinds[61];

// The `rendu` values when config_tco.txt is missing.
extern const std::array<int32_t, kRenduSize> kRenduDefaults;

// The run-mode state that carries a gesture across events and ticks. The two countdowns (the
// pending selection, the result frame) live with the tick, which counts them down.
struct PanelAction {
  int32_t source = 0;          // canton or 1000 + siding of the selected start
  int32_t destination = 0;     // canton or siding of the last target, -1 none
  int32_t result = 0;          // 0 nothing done, 1 a movement started, 2 a split or join done
  int32_t selection_held = 0;  // from the press that started a selection to the next release
  // Multi-function blocks look pressed from their press to the next left release: functions
  // 1..8 at their number, block 56 at 0.
  std::array<int32_t, 9> held{};
};

// A push or servo button held down: the variable let go at the next left release.
struct HeldButton {
  enum Kind : int32_t { Push = 0, Servo = 1 };
  int32_t var = -1;
  int32_t kind = Push;
};

struct PanelState {
  std::vector<TcoCell> cells = std::vector<TcoCell>(kTcoPanels * kTcoColumns * kTcoRows);
  std::array<int32_t, kRenduSize> rendu{};
  std::array<int32_t, kCantonColours> cant_color{};  // card * 16 + index
  PanelAction action;
  HeldButton held_button;
  int32_t blink = 0;
  // config_tco.txt was read at start-up (or found missing): only then may it be written.
  bool loaded = false;
  // Variables the bus refused to a panel; each is logged once a run.
  std::set<int32_t> refused_read;
  std::set<int32_t> refused_write;

  TcoCell& cell(int panel, int x, int y) {
    return cells[static_cast<size_t>((panel * kTcoColumns + x) * kTcoRows + y)];
  }
  const TcoCell& cell(int panel, int x, int y) const {
    return cells[static_cast<size_t>((panel * kTcoColumns + x) * kTcoRows + y)];
  }
};

// The text of a cell without its leading and trailing blanks, and a text stored right-aligned
// (cut to its last 20 characters).
std::string cell_text_trimmed(const TcoCell& c);
void set_cell_text(TcoCell& c, const std::string& text);
