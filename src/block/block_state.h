// What the automatic block publishes per canton: a stop in force for each direction of travel.
#pragma once

#include <array>
#include <cstdint>

#include "trains/canton_table.h"

struct BlockState {
  std::array<int32_t, kCantons> bal_cant_p{};
  std::array<int32_t, kCantons> bal_cant_m{};
};
