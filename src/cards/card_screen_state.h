// What the card screen remembers between its calls: the card in view, the potentiometer and
// canton chosen by the operator, the register cell or servo taking typed numbers, and which
// potentiometer drives each canton's manual speed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "cards/io_image.h"

// The direct-access cells that take typed numbers.
enum class CardCell : int32_t { None = -1, AddressDec, AddressHex, DataDec, DataHex };

struct CardScreenState {
  int32_t card = 0;                // the card in view, 0..3
  int32_t pot = -1;                // selected potentiometer, card * 100 + index, or -1
  int32_t target = -1;             // canton adjusted by the keys, card * 100 + index, or -1
  CardCell cell = CardCell::None;  // selected direct-access cell ...
  int32_t cell_row = 0;            // ... in rows 0..3
  int32_t servo = -1;              // servo 0..4 of the card in view taking typed values, or -1
  std::string buffer = "000";      // the last three characters typed (Windows-1252 bytes)
  bool shown = false;              // screen 24 was in view at the last per-tick work
  // Potentiometer (card * 100 + index) driving each canton's manual speed, or -1.
  std::array<int32_t, kCards* kDetPerCard> canton_pot = filled_minus_one();

 private:
  static std::array<int32_t, kCards * kDetPerCard> filled_minus_one() {
    std::array<int32_t, kCards * kDetPerCard> a{};
    a.fill(-1);
    return a;
  }
};
