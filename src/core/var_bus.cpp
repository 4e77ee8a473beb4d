#include "core/var_bus.h"

#include <cstdio>
#include <cstring>

#include "core/system.h"

const VarRow kVarTable[kVarRows + 1] = {
    {"det2p_", 4, 16, 4020},
    {"det2m_", 4, 16, 4040},
    {"det2_", 4, 16, 4000},
    {"det_", 4, 16, 0},
    {"can_", 4, 5, 800},
    {"in_", 4, 80, 400},
    {"out_", 4, 80, 1200},
    {"led_phase_", 4, 48, 2400},
    {"led_cli_", 4, 48, 2000},
    {"led_", 4, 48, 1600},
    {"srv_pos_", 4, 5, 2800},
    {"bal_cant_p_", 4, 16, 3200},
    {"bal_cant_m_", 4, 16, 3600},
    {"aig_cmd_", 1, 64, 5000},
    {"pos0_aig_", 1, 64, 5100},
    {"pos1_aig_", 1, 64, 5200},
    {"var_", 1, 600, 5400},
    {"iti_start_", 1, 50, 6000},
    {"iti_stop_", 1, 50, 6100},
    {"iti_wait_", 1, 50, 6200},
    {"iti_ok_", 1, 50, 6300},
    {"iti_step_", 1, 50, 6400},
    {"depl_start_run_", 1, 200, 6500},
    {"depl_stop_", 1, 200, 6700},
    {"garage_lock_cmd_", 1, 49, 6900},
    {"garage_lock_status_", 1, 49, 6950},
    {"vib_on", 1, 1, 7000},
    {"vib_state", 1, 1, 7002},
    {"screen_mode", 1, 1, 7003},
    {"arret_urg_on", 1, 1, 7004},
    {"arret_urg_state", 1, 1, 7005},
    {"srv_cmd_", 4, 15, 8000},
    {"exe_", 1, 100, 8400},
    {"pulse_cmd_", 1, 32, 8500},
    {"pb_capt_c_", 4, 16, 8600},
    {"pb_capt_t_", 1, 16, 9000},
    {"special_var_", 1, 100, 9100},
    {"separe_", 1, 100, 9400},
    {"regroupe_", 1, 100, 9500},
    {"EOL", 0, 0, 0},
};

namespace {

// Entry of a per-card table for variable n of a block at `base` with `count` entries a card,
// or null when n lies outside the block or beyond the card's count.
template <typename Array>
int32_t* card_cell(Array& table, VarNum n, int base, int count) {
  if (n < base || n >= base + 100 * kCards) return nullptr;
  const int card = (n - base) / 100;
  const int index = (n - base) % 100;
  if (index >= count) return nullptr;
  return &table[static_cast<size_t>(card * count + index)];
}

// Entry of a plain table for variable n of a range starting at `base`.
template <typename Array>
int32_t* plain_cell(Array& table, VarNum n, int base) {
  if (n < base || n >= base + static_cast<int>(table.size())) return nullptr;
  return &table[static_cast<size_t>(n - base)];
}

// Field `field` of record n - base of a table of records.
template <typename Records>
int32_t* record_cell(Records& records, VarNum n, int base, int field) {
  if (n < base || n >= base + static_cast<int>(records.size())) return nullptr;
  return &records[static_cast<size_t>(n - base)][static_cast<size_t>(field)];
}

// det2_, det2p_ and det2m_ share the blocks 4000..4399: 16 numbers each at offsets 0, 20, 40.
int32_t* det2_cell(System& sys, VarNum n) {
  if (n < 4000 || n >= 4400) return nullptr;
  const int card = (n - 4000) / 100;
  const int index = (n - 4000) % 100;
  if (index < 16) return &sys.cantons.det2[static_cast<size_t>(card * 16 + index)];
  if (index >= 20 && index < 36)
    return &sys.cantons.det2p[static_cast<size_t>(card * 16 + index - 20)];
  if (index >= 40 && index < 56)
    return &sys.cantons.det2m[static_cast<size_t>(card * 16 + index - 40)];
  return nullptr;
}

int32_t* single_cell(System& sys, VarNum n) {
  switch (n) {
    case 7000:
      return &sys.vib.vib_on;
    case 7002:
      return &sys.vib.vib_state;
    case 7003:
      return &sys.screen.screen_mode;
    case 7004:
      return &sys.ticks.arret_urg_on;
    case 7005:
      return &sys.ticks.arret_urg_state;
    default:
      return nullptr;
  }
}

int32_t* readable_cell(System& sys, VarNum n) {
  IoImage& io = sys.io;
  if (n < 0) return nullptr;
  if (n < 400) return card_cell(io.det, n, 0, kDetPerCard);
  if (n < 800) return card_cell(io.in, n, 400, kInPerCard);
  if (n < 1200) return card_cell(io.can, n, 800, kCanPerCard);
  if (n < 1600) return card_cell(io.out, n, 1200, kOutPerCard);
  if (n < 2000) return card_cell(io.led, n, 1600, kLedPerCard);
  if (n < 2400) return card_cell(io.led_cli, n, 2000, kLedPerCard);
  if (n < 2800) return card_cell(io.led_phase, n, 2400, kLedPerCard);
  if (n < 3200) return card_cell(io.srv_pos, n, 2800, kServoPerCard);
  if (n < 3600) return card_cell(sys.block.bal_cant_p, n, 3200, 16);
  if (n < 4000) return card_cell(sys.block.bal_cant_m, n, 3600, 16);
  if (n < 4400) return det2_cell(sys, n);
  if (n < 5000) return nullptr;
  if (n < 5100) return plain_cell(sys.aig.aig_cmd, n, 5000);
  if (n < 5200) return plain_cell(sys.aig.pos0_aig, n, 5100);
  if (n < 5300) return plain_cell(sys.aig.pos1_aig, n, 5200);
  if (n < 5400) return nullptr;
  if (n < 6000) return plain_cell(sys.logic.var, n, 5400);
  if (n < 6200) return nullptr;  // iti_start_ and iti_stop_ are write-only
  if (n < 6300) return record_cell(sys.iti.iti_record, n, 6200, ITI_WAIT);
  if (n < 6400) return record_cell(sys.iti.iti_record, n, 6300, ITI_OK);
  if (n < 6500) return record_cell(sys.iti.iti_record, n, 6400, ITI_STATE);
  if (n < 6700) return record_cell(sys.depl.depl_record, n, 6500, DEPL_START_REQUEST);
  if (n < 6900) return nullptr;  // depl_stop_ is write-only
  if (n < 6950) return plain_cell(sys.garage.cmd_lock, n, 6900);
  if (n < 7000) return plain_cell(sys.garage.state_lock, n, 6950);
  if (n < 8000) return single_cell(sys, n);
  if (n < 8400) return card_cell(io.srv_cmd, n, 8000, kSrvCmdPerCard);
  if (n < 8500) return plain_cell(sys.exe.exe, n, 8400);
  if (n < 8600) return plain_cell(sys.logic.pulse_cmd, n, 8500);
  if (n < 9000) return card_cell(sys.cantons.pb_capt_c, n, 8600, 16);
  if (n < 9016) return plain_cell(sys.cantons.pb_capt_t, n, 9000);
  if (n < 9100) return nullptr;
  if (n < 9200) return plain_cell(sys.special.sv, n, 9100);
  if (n < 9400) return nullptr;
  if (n < 9500) return record_cell(sys.iti.separe, n, 9400, SPLIT_TRIGGER);
  if (n < 9600) return record_cell(sys.iti.regroupe, n, 9500, SPLIT_TRIGGER);
  return nullptr;
}

void log_unknown(System& sys, const char* format, VarNum n) {
  char line[128];
  std::snprintf(line, sizeof line, format, n);
  log_error(sys, line);
}

constexpr const char* kErreur4 = "\n-Erreur4 : Lecture N° variable interne : Var inconnue = %d";
constexpr const char* kErreur5 = "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = %d";

// Outcome of a write: stored, ignored by a guard that stays silent, or refused with "Erreur5".
enum class WriteResult { Stored, Ignored, Refused };

WriteResult store(int32_t* cell, int value) {
  if (cell == nullptr) return WriteResult::Refused;
  *cell = value;
  return WriteResult::Stored;
}

// Guards (b) to (e) ignore the write silently.
WriteResult store_if(bool allowed, int32_t* cell, int value) {
  if (cell == nullptr) return WriteResult::Refused;
  if (!allowed) return WriteResult::Ignored;
  *cell = value;
  return WriteResult::Stored;
}

WriteResult write_route(System& sys, VarNum n, int value) {
  const bool start = n < 6100;
  const int route = n - (start ? 6000 : 6100);
  if (route >= kRoutes) return WriteResult::Refused;
  ItiRecord& r = sys.iti.iti_record[static_cast<size_t>(route)];
  const bool active = r[ITI_STATE] != 0;
  const bool allowed = r[ITI_DEFINED] == 1 && (start ? !active : active);
  return store_if(allowed, &r[start ? ITI_START_REQUEST : ITI_STOP_REQUEST], value);
}

WriteResult write_movement(System& sys, VarNum n, int value) {
  const bool start = n < 6700;
  const int movement = n - (start ? 6500 : 6700);
  DeplRecord& r = sys.depl.depl_record[static_cast<size_t>(movement)];
  return store_if(sys.depl.has_start(movement), &r[start ? DEPL_START_REQUEST : DEPL_STOP_REQUEST],
                  value);
}

WriteResult write_siding_lock(System& sys, VarNum n, int value) {
  const int siding = n - 6900;
  if (siding >= kSidings) return WriteResult::Refused;
  return store_if(sys.garage.res_auto[static_cast<size_t>(siding)] == 0,
                  &sys.garage.cmd_lock[static_cast<size_t>(siding)], value);
}

WriteResult write_servo_command(System& sys, VarNum n, int value) {
  int32_t* cell = card_cell(sys.io.srv_cmd, n, 8000, kSrvCmdPerCard);
  if (cell == nullptr) return WriteResult::Refused;
  const int card = (n - 8000) / 100;
  const int index = (n - 8000) % 100;
  const int servo = index < 10 ? index : index - 10;
  if (servo < kServoPerCard &&
      sys.io.srv_reserved[static_cast<size_t>(card * kServoPerCard + servo)] != 0)
    return WriteResult::Refused;
  return store(cell, value);
}

WriteResult write_turnout_command(System& sys, VarNum n, int value) {
  int32_t* cell = plain_cell(sys.aig.aig_cmd, n, 5000);
  if (cell == nullptr || sys.aig.aig_reserved[static_cast<size_t>(n - 5000)] != 0)
    return WriteResult::Refused;
  return store(cell, value);
}

// The writable ranges, tested in their fixed order.
WriteResult write_cell(System& sys, VarNum n, int value) {
  IoImage& io = sys.io;
  if (n >= 1200 && n < 1600) return store(card_cell(io.out, n, 1200, kOutPerCard), value);
  if (n >= 1600 && n < 2000) return store(card_cell(io.led, n, 1600, kLedPerCard), value);
  if (n >= 2000 && n < 2400) return store(card_cell(io.led_cli, n, 2000, kLedPerCard), value);
  if (n >= 2400 && n < 2800) return store(card_cell(io.led_phase, n, 2400, kLedPerCard), value);
  if (n >= 5000 && n < 5100) return write_turnout_command(sys, n, value);
  if (n >= 5400 && n < 6000) return store(plain_cell(sys.logic.var, n, 5400), value);
  if (n >= 6000 && n < 6200) return write_route(sys, n, value);
  if (n >= 6500 && n < 6900) return write_movement(sys, n, value);
  if (n >= 6900 && n < 6950) return write_siding_lock(sys, n, value);
  if (n == 7000) return store(&sys.vib.vib_on, value);
  if (n == 7003) return store(&sys.screen.screen_mode, value);
  if (n == 7004) return store(&sys.ticks.arret_urg_on, value);
  if (n >= 8400 && n < 8500) return store(plain_cell(sys.exe.exe, n, 8400), value);
  if (n >= 8500 && n < 8600) return store(plain_cell(sys.logic.pulse_cmd, n, 8500), value);
  if (n >= 9100 && n < 9200) return store(plain_cell(sys.special.sv, n, 9100), value);
  if (n >= 8000 && n < 8400) return write_servo_command(sys, n, value);
  if (n >= 9400 && n < 9500)
    return store(record_cell(sys.iti.separe, n, 9400, SPLIT_TRIGGER), value);
  if (n >= 9500 && n < 9600)
    return store(record_cell(sys.iti.regroupe, n, 9500, SPLIT_TRIGGER), value);
  return WriteResult::Refused;
}

// A label's number: the digits right after the prefix (a value too large for any row stays
// too large instead of overflowing), or -1 when there are none.
int label_number(const char* digits) {
  constexpr int kBeyondAnyRow = 1000000;
  int value = 0;
  int count = 0;
  for (; digits[count] >= '0' && digits[count] <= '9'; ++count) {
    value = value * 10 + (digits[count] - '0');
    if (value > kBeyondAnyRow) value = kBeyondAnyRow;
  }
  return count == 0 ? -1 : value;
}

bool prefix_matches(const char* label, const char* prefix) {
  for (size_t i = 0; prefix[i] != '\0'; ++i) {
    char c = label[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The number a row gives for a label that begins with its prefix, or -1 when out of range.
VarNum row_number(const VarRow& row, const char* after_prefix) {
  if (row.count == 1 && row.cards == 1) return row.base;
  const int k = label_number(after_prefix);
  if (k < 0) return -1;
  if (row.cards == kCards) return (k / 100 < kCards && k % 100 < row.count) ? row.base + k : -1;
  return k < row.count ? row.base + k : -1;
}

int set_label(char* out, const char* text) {
  std::snprintf(out, kLabelBufferSize, "%s", text);
  return 0;
}

}  // namespace

int var_read(System& sys, VarNum n) {
  const int32_t* cell = readable_cell(sys, n);
  if (cell != nullptr) return *cell;
  log_unknown(sys, kErreur4, n);
  return -1;
}

const int32_t* var_cell(System& sys, VarNum n) {
  return readable_cell(sys, n);
}

int var_write(System& sys, VarNum n, int value) {
  if (write_cell(sys, n, value) != WriteResult::Refused) return 0;
  log_unknown(sys, kErreur5, n);
  return -1;
}

VarNum var_from_label(System& sys, const char* label) {
  constexpr size_t kLabelRoom = 232;
  const size_t length = strnlen(label, kLabelRoom);
  if (length < kLabelRoom) {
    for (int r = 0; r < kVarRows; ++r) {
      const VarRow& row = kVarTable[r];
      if (!prefix_matches(label, row.prefix)) continue;
      const VarNum n = row_number(row, label + std::strlen(row.prefix));
      if (n >= 0) return n;
    }
  }
  char line[kLabelRoom + 96];
  std::snprintf(line, sizeof line,
                "\n-Erreur3 : Conversion Libellé => N° variable interne : Var inconnue = %.*s",
                static_cast<int>(length), label);
  log_error(sys, line);
  return -1;
}

int var_to_label(System& sys, VarNum n, char* out) {
  if (n >= 4000 && n < 4400 && det2_cell(sys, n) != nullptr) {
    const int index = (n - 4000) % 100;
    const char* prefix = index < 16 ? "det2_" : index < 36 ? "det2p_" : "det2m_";
    const int offset = index < 16 ? 0 : index < 36 ? 20 : 40;
    std::snprintf(out, kLabelBufferSize, "%s%d", prefix, n - 4000 - offset);
    return 1;
  }
  for (int r = 0; r < kVarRows; ++r) {
    const VarRow& row = kVarTable[r];
    const int span = row.cards == kCards ? 300 + row.count : row.count;
    if (n < row.base || n >= row.base + span) continue;
    if (row.cards == kCards && (n - row.base) % 100 >= row.count) {
      log_unknown(sys,
                  "\n-Erreur2 : Conversion N° variable interne => Libellé : Numéro var hors "
                  "limite = %d",
                  n);
      return set_label(out, "INVALIDE HORS-LIMITE");
    }
    if (row.count == 1 && row.cards == 1)
      std::snprintf(out, kLabelBufferSize, "%s", row.prefix);
    else
      std::snprintf(out, kLabelBufferSize, "%s%d", row.prefix, n - row.base);
    return 1;
  }
  log_unknown(
      sys, "\n-Erreur1 : Conversion N° variable interne => Libellé : Numéro var inconnue    = %d",
      n);
  return set_label(out, "INVALIDE N° INCONNU");
}

std::string var_label(System& sys, VarNum n) {
  char buffer[kLabelBufferSize];
  var_to_label(sys, n, buffer);
  return buffer;
}

bool var_readable(System& sys, VarNum n) {
  return readable_cell(sys, n) != nullptr;
}

bool var_writable(System& sys, VarNum n) {
  // The writable rows; the write-only ones have no readable cell to prove that n exists.
  struct WritableRow {
    const char* prefix;
    bool write_only;
  };
  static constexpr WritableRow kWritable[] = {
      {"out_", false},
      {"led_", false},
      {"led_cli_", false},
      {"led_phase_", false},
      {"aig_cmd_", false},
      {"var_", false},
      {"iti_start_", true},
      {"iti_stop_", true},
      {"depl_start_run_", false},
      {"depl_stop_", true},
      {"garage_lock_cmd_", false},
      {"vib_on", false},
      {"screen_mode", false},
      {"arret_urg_on", false},
      {"srv_cmd_", false},
      {"exe_", false},
      {"pulse_cmd_", false},
      {"special_var_", false},
      {"separe_", false},
      {"regroupe_", false},
  };
  for (const WritableRow& w : kWritable) {
    for (int r = 0; r < kVarRows; ++r) {
      const VarRow& row = kVarTable[r];
      if (std::strcmp(row.prefix, w.prefix) != 0) continue;
      const int k = n - row.base;
      const bool in_row = row.cards == kCards ? k >= 0 && k / 100 < kCards && k % 100 < row.count
                                              : k >= 0 && k < row.count;
      if (in_row) return w.write_only || readable_cell(sys, n) != nullptr;
    }
  }
  return false;
}

void log_error(System& sys, const std::string& line) {
  sys.error_log.write(work_file(sys, "Train_ZIR_log.txt"), line);
}
