// The variable bus: one numbered space of integer variables (0..9599) that windows onto the
// tables of every subsystem. Labels such as det_105 or var_12 are converted once, when the
// configuration is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct System;

using VarNum = int32_t;

// One row of the label table; `cards` is 4 for a per-card block of `count` entries.
struct VarRow {
  const char* prefix;
  int32_t cards;
  int32_t count;
  int32_t base;
};

constexpr int kVarRows = 39;
// The 39 rows, then the "EOL" row.
extern const VarRow kVarTable[kVarRows + 1];

int var_read(System& sys, VarNum n);
int var_write(System& sys, VarNum n, int value);
// The cell var_read reads for n, or null when n is not readable (nothing is logged). The cell
// lives as long as the System: an engine may look a variable up once and read it directly.
const int32_t* var_cell(System& sys, VarNum n);
VarNum var_from_label(System& sys, const char* label);
// Writes the label into `out` (at least kLabelBufferSize bytes); 1 on success, 0 otherwise.
constexpr size_t kLabelBufferSize = 32;
int var_to_label(System& sys, VarNum n, char* out);
std::string var_label(System& sys, VarNum n);

// Whether reading, or some write whatever its guard says now, can reach variable n; nothing is
// logged. For readers that must refuse a label the engine could never use.
bool var_readable(System& sys, VarNum n);
bool var_writable(System& sys, VarNum n);

// Appends a line to Train_ZIR_log.txt (see ErrorLog: the first call of a run truncates it,
// repeats are counted, the size is capped).
void log_error(System& sys, const std::string& line);
