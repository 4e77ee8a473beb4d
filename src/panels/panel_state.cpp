#include "panels/panel_state.h"

// clang-format off
const BlockKind kBlockKinds[61] = {
    // Track elements.
    {1, 1, 0, 0},  {1, 2, 0, 1},  {2, 2, 0, 2},  {2, 1, 0, 3},  {3, 1, 0, 4},  {4, 1, 0, 5},
    {3, 2, 0, 6},  {4, 2, 0, 7},  {5, 1, 0, 8},  {6, 1, 0, 9},  {5, 2, 0, 10}, {6, 2, 0, 11},
    {8, 8, 0, 12}, {6, 4, 0, 13}, {5, 4, 0, 14}, {6, 3, 0, 15}, {5, 3, 0, 16}, {7, 6, 0, 17},
    {8, 6, 0, 18},
    // Turnouts.
    {2, 3, 1, 0},  {2, 4, 1, 1},  {8, 3, 1, 2},  {1, 3, 1, 3},  {1, 4, 1, 4},  {7, 3, 1, 5},
    {3, 3, 1, 6},  {4, 3, 1, 7},  {4, 4, 1, 8},  {3, 4, 1, 9},
    // Track equipment.
    {1, 5, 3, 0},  {1, 6, 3, 12}, {7, 7, 3, 1},  {8, 7, 3, 18}, {2, 5, 3, 2},  {2, 6, 3, 13},
    {3, 5, 3, 3},  {3, 6, 3, 14}, {4, 5, 3, 4},  {4, 6, 3, 15}, {5, 5, 3, 5},  {5, 6, 3, 16},
    {8, 4, 3, 6},  {7, 5, 3, 7},  {7, 4, 3, 10}, {8, 5, 3, 11}, {6, 5, 3, 9},  {6, 6, 3, 17},
    {4, 8, 3, 8},
    // Controls and indicators.
    {1, 7, 2, 0},  {2, 7, 2, 1},  {3, 7, 2, 2},  {6, 7, 2, 3},  {5, 7, 2, 5},  {4, 7, 2, 6},
    {2, 8, 2, 4},  {3, 8, 2, 9},  {5, 8, 2, 7},  {6, 8, 2, 8},  {7, 8, 2, 10},
    // The empty cell.
    {1, 8, -1, -1},
    {0, 0, -1, -1},
};

const std::array<int32_t, kRenduSize> kRenduDefaults = {
    0,  7,  0, 1,   // CANTON LIBRE
    0,  4,  0, 1,   // ERREUR OCCUPATION
    24, 19, 0, 1,   // CANT MANUEL PROCHAIN
    24, 7,  1, 1,   // CANT MANUEL OCCUPÉ
    24, 6,  0, 1,   // CANT AUTO PROCHAIN
    24, 6,  1, 1,   // CANT AUTO OCCUPÉ
    24, 16, 0, 0,   // GARAGE ISOLÉ (no arrows), then the unused 27
    7,  7,  19, 5,  // panel background, undefined canton, grid, text
    4,  19, 6, 19, 2, 10, 2, 17, 3, 19, 4, 7,  // lamps ON/OFF
};
// clang-format on

std::string cell_text_trimmed(const TcoCell& c) {
  const std::string text(c.txt.data(), kCellText);
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void set_cell_text(TcoCell& c, const std::string& text) {
  const std::string tail = text.size() > kCellText ? text.substr(text.size() - kCellText) : text;
  c.txt.fill(' ');
  tail.copy(c.txt.data() + (kCellText - tail.size()), tail.size());
  c.txt[kCellText] = '\0';
}
