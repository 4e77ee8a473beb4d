// The variable bus: one numbered space of integer variables (0..9599) that windows onto the
// tables of every subsystem. Labels such as det_105 or var_12 are converted once, when the
// configuration is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct System;

using VarNum = int32_t;

constexpr VarNum kVarNumbers = 9600;

// What the bus may do with the variables of a row.
enum class VarAccess : uint8_t { Read, ReadWrite, WriteOnly };

// A write guard's answer: store, ignore silently (the write still returns 0), or refuse
// ("Erreur5", the write returns -1).
enum class VarGuard : uint8_t { Store, Ignore, Refuse };

// Entry `k` of a row: card * live + index for a per-card row, the index otherwise.
using VarCell = int32_t* (*)(System& sys, int k);
using VarGuardCheck = VarGuard (*)(System& sys, int k);

// One row of the bus: a family of variables, its label, where its values live and how a write
// is treated. Adding a family is adding a row.
struct VarRow {
  const char* prefix;
  int32_t cards;  // 4 for a per-card block of 100 numbers a card, 1 otherwise
  int32_t count;  // labels accepted, per card for a per-card row
  int32_t base;
  int32_t live;  // variables that exist, per card: the labels beyond them name nothing
  VarCell cell;
  VarAccess access;
  VarGuardCheck guard;  // null: every write is stored
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
// The same without a line in the log, for a display that shows the label at every paint.
int var_to_label_quiet(VarNum n, char* out);
std::string var_label(System& sys, VarNum n);

// Whether reading, or some write whatever its guard says now, can reach variable n; nothing is
// logged. For readers that must refuse a label the engine could never use.
bool var_readable(System& sys, VarNum n);
bool var_writable(System& sys, VarNum n);

// Appends a line to Train_ZIR_log.txt (see ErrorLog: the first call of a run truncates it,
// repeats are counted, the size is capped).
void log_error(System& sys, const std::string& line);
