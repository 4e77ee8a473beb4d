// Field paths of zir-sim: TABLE.INDEX.FIELD (train.5.vit), TABLE.FIELD (clock.hour) or a bare
// name (tick). Each subsystem registers one resolver for each table name it owns, in
// sim_fields.cpp's table; resolvers live in fields_<subsystem>.cpp beside it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct System;

// A resolved field: an integer cell, or a text (read-only unless `text_cell` is set).
struct SimField {
  int32_t* value = nullptr;
  std::string* text_cell = nullptr;
  std::string text;  // for computed, read-only texts
  bool is_text = false;
  bool read_only = false;
  // A value set from a script must lie here, as the engines rely on it (an index, a clock).
  int32_t low = INT32_MIN;
  int32_t high = INT32_MAX;
};

// index is -1 for TABLE.FIELD paths. Returns false when the path names nothing.
using FieldResolver = bool (*)(System& sys, int index, std::string_view field, SimField& out);

struct FieldTable {
  const char* table;
  FieldResolver resolve;
};

// Finds the field a path names; false when it names none.
bool resolve_field(System& sys, std::string_view path, SimField& out);

// For resolvers: an index into a fixed table, range-checked.
template <typename Array>
bool int_cell(Array& arr, int index, SimField& out) {
  if (index < 0 || index >= static_cast<int>(arr.size())) return false;
  out.value = &arr[static_cast<size_t>(index)];
  return true;
}
