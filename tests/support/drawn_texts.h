// For screen tests: the texts the last drawing of the screen in view drew (zir-sim's `texts`).
#pragma once

#include <string>

#include "core/system.h"

// The text drawn at (x, y), with its colour; empty when none.
inline std::string drawn_text_at(const System& sys, int x, int y, int* colour = nullptr) {
  for (const DrawnText& t : sys.screen.drawn_texts) {
    if (t.x != x || t.y != y) continue;
    if (colour) *colour = t.colour;
    return t.text;
  }
  return "";
}

inline bool drew_text(const System& sys, const std::string& text) {
  for (const DrawnText& t : sys.screen.drawn_texts)
    if (t.text == text) return true;
  return false;
}
