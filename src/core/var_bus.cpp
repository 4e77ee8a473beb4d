#include "core/var_bus.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/system.h"
#include "core/tokens.h"

namespace {

constexpr size_t at(int k) {
  return static_cast<size_t>(k);
}

// ---- Write guards ----------------------------------------------------------------------------

VarGuard allowed_or_ignored(bool allowed) {
  return allowed ? VarGuard::Store : VarGuard::Ignore;
}

// aig_cmd_: a turnout reserved by a movement or a route refuses the command.
VarGuard turnout_free(System& sys, int k) {
  return sys.aig.aig_reserved[at(k)] != 0 ? VarGuard::Refuse : VarGuard::Store;
}

// iti_start_ / iti_stop_: only a defined route, inactive to start it, active to stop it.
VarGuard route_inactive(System& sys, int k) {
  const ItiRecord& r = sys.iti.iti_record[at(k)];
  return allowed_or_ignored(r[ITI_DEFINED] == 1 && r[ITI_STATE] == 0);
}
VarGuard route_active(System& sys, int k) {
  const ItiRecord& r = sys.iti.iti_record[at(k)];
  return allowed_or_ignored(r[ITI_DEFINED] == 1 && r[ITI_STATE] != 0);
}

// depl_start_run_ / depl_stop_: only a movement that has its start.
VarGuard movement_has_start(System& sys, int k) {
  return allowed_or_ignored(sys.depl.has_start(k));
}

// garage_lock_cmd_: not while a movement holds the siding.
VarGuard siding_not_held(System& sys, int k) {
  return allowed_or_ignored(sys.garage.res_auto[at(k)] == 0);
}

// srv_cmd_: a servo driven by a movement refuses its setpoint (index i) and its speed (i + 10).
VarGuard servo_free(System& sys, int k) {
  constexpr int kSpeedIndex = 10;
  const int card = k / kSrvCmdPerCard;
  const int index = k % kSrvCmdPerCard;
  const int servo = index < kSpeedIndex ? index : index - kSpeedIndex;
  if (servo < kServoPerCard && sys.io.srv_reserved[at(card * kServoPerCard + servo)] != 0)
    return VarGuard::Refuse;
  return VarGuard::Store;
}

constexpr int kWatchedTrains = 16;  // pb_capt_t_: trains 0..15 (16..31 are wagons)

constexpr VarAccess R = VarAccess::Read;
constexpr VarAccess RW = VarAccess::ReadWrite;
constexpr VarAccess W = VarAccess::WriteOnly;

}  // namespace

// The order matters for labels: a longer prefix that begins like a shorter one comes first.
// clang-format off
constexpr VarRow kVarTable[kVarRows + 1] = {
    {"det2p_", 4, 16, 4020, kDetPerCard, [](System& s, int k) { return &s.cantons.det2p[at(k)]; }, R, nullptr},
    {"det2m_", 4, 16, 4040, kDetPerCard, [](System& s, int k) { return &s.cantons.det2m[at(k)]; }, R, nullptr},
    {"det2_", 4, 16, 4000, kDetPerCard, [](System& s, int k) { return &s.cantons.det2[at(k)]; }, R, nullptr},
    {"det_", 4, 16, 0, kDetPerCard, [](System& s, int k) { return &s.io.det[at(k)]; }, R, nullptr},
    {"can_", 4, 5, 800, kCanPerCard, [](System& s, int k) { return &s.io.can[at(k)]; }, R, nullptr},
    {"in_", 4, 80, 400, kInPerCard, [](System& s, int k) { return &s.io.in[at(k)]; }, R, nullptr},
    {"out_", 4, 80, 1200, kOutPerCard, [](System& s, int k) { return &s.io.out[at(k)]; }, RW, nullptr},
    {"led_phase_", 4, 48, 2400, kLedPerCard, [](System& s, int k) { return &s.io.led_phase[at(k)]; }, RW, nullptr},
    {"led_cli_", 4, 48, 2000, kLedPerCard, [](System& s, int k) { return &s.io.led_cli[at(k)]; }, RW, nullptr},
    {"led_", 4, 48, 1600, kLedPerCard, [](System& s, int k) { return &s.io.led[at(k)]; }, RW, nullptr},
    {"srv_pos_", 4, 5, 2800, kServoPerCard, [](System& s, int k) { return &s.io.srv_pos[at(k)]; }, R, nullptr},
    {"bal_cant_p_", 4, 16, 3200, kDetPerCard, [](System& s, int k) { return &s.block.bal_cant_p[at(k)]; }, R, nullptr},
    {"bal_cant_m_", 4, 16, 3600, kDetPerCard, [](System& s, int k) { return &s.block.bal_cant_m[at(k)]; }, R, nullptr},
    {"aig_cmd_", 1, 64, 5000, kTurnouts, [](System& s, int k) { return &s.aig.aig_cmd[at(k)]; }, RW, turnout_free},
    {"pos0_aig_", 1, 64, 5100, kTurnouts, [](System& s, int k) { return &s.aig.pos0_aig[at(k)]; }, R, nullptr},
    {"pos1_aig_", 1, 64, 5200, kTurnouts, [](System& s, int k) { return &s.aig.pos1_aig[at(k)]; }, R, nullptr},
    {"var_", 1, 600, 5400, kUserVars, [](System& s, int k) { return &s.logic.var[at(k)]; }, RW, nullptr},
    {"iti_start_", 1, 50, 6000, kRoutes, [](System& s, int k) { return &s.iti.iti_record[at(k)][ITI_START_REQUEST]; }, W, route_inactive},
    {"iti_stop_", 1, 50, 6100, kRoutes, [](System& s, int k) { return &s.iti.iti_record[at(k)][ITI_STOP_REQUEST]; }, W, route_active},
    {"iti_wait_", 1, 50, 6200, kRoutes, [](System& s, int k) { return &s.iti.iti_record[at(k)][ITI_WAIT]; }, R, nullptr},
    {"iti_ok_", 1, 50, 6300, kRoutes, [](System& s, int k) { return &s.iti.iti_record[at(k)][ITI_OK]; }, R, nullptr},
    {"iti_step_", 1, 50, 6400, kRoutes, [](System& s, int k) { return &s.iti.iti_record[at(k)][ITI_STATE]; }, R, nullptr},
    {"depl_start_run_", 1, 200, 6500, kMovements, [](System& s, int k) { return &s.depl.depl_record[at(k)][DEPL_START_REQUEST]; }, RW, movement_has_start},
    {"depl_stop_", 1, 200, 6700, kMovements, [](System& s, int k) { return &s.depl.depl_record[at(k)][DEPL_STOP_REQUEST]; }, W, movement_has_start},
    {"garage_lock_cmd_", 1, 49, 6900, kSidings, [](System& s, int k) { return &s.garage.cmd_lock[at(k)]; }, RW, siding_not_held},
    {"garage_lock_status_", 1, 49, 6950, kSidings, [](System& s, int k) { return &s.garage.state_lock[at(k)]; }, R, nullptr},
    {"vib_on", 1, 1, 7000, 1, [](System& s, int) { return &s.vib.vib_on; }, RW, nullptr},
    {"vib_state", 1, 1, 7002, 1, [](System& s, int) { return &s.vib.vib_state; }, R, nullptr},
    {"screen_mode", 1, 1, 7003, 1, [](System& s, int) { return &s.screen.screen_mode; }, RW, nullptr},
    {"arret_urg_on", 1, 1, 7004, 1, [](System& s, int) { return &s.ticks.arret_urg_on; }, RW, nullptr},
    {"arret_urg_state", 1, 1, 7005, 1, [](System& s, int) { return &s.ticks.arret_urg_state; }, R, nullptr},
    {"srv_cmd_", 4, 15, 8000, kSrvCmdPerCard, [](System& s, int k) { return &s.io.srv_cmd[at(k)]; }, RW, servo_free},
    {"exe_", 1, 100, 8400, kExternalActions, [](System& s, int k) { return &s.exe.exe[at(k)]; }, RW, nullptr},
    {"pulse_cmd_", 1, 32, 8500, kPulses, [](System& s, int k) { return &s.logic.pulse_cmd[at(k)]; }, RW, nullptr},
    {"pb_capt_c_", 4, 16, 8600, kDetPerCard, [](System& s, int k) { return &s.cantons.pb_capt_c[at(k)]; }, R, nullptr},
    {"pb_capt_t_", 1, 16, 9000, kWatchedTrains, [](System& s, int k) { return &s.cantons.pb_capt_t[at(k)]; }, R, nullptr},
    {"special_var_", 1, 100, 9100, kSpecialVars, [](System& s, int k) { return &s.special.sv[at(k)]; }, RW, nullptr},
    {"separe_", 1, 100, 9400, kSplitEntries, [](System& s, int k) { return &s.iti.separe[at(k)][SPLIT_TRIGGER]; }, RW, nullptr},
    {"regroupe_", 1, 100, 9500, kSplitEntries, [](System& s, int k) { return &s.iti.regroupe[at(k)][SPLIT_TRIGGER]; }, RW, nullptr},
    {"EOL", 0, 0, 0, 0, nullptr, R, nullptr},
};
// clang-format on

namespace {

// The row of every number that has a label, or -1, built from the table when compiling; two
// rows that claim one number stop the build.
using RowIndex = std::array<int8_t, kVarNumbers>;

constexpr RowIndex index_rows() {
  RowIndex rows;
  rows.fill(-1);
  for (int r = 0; r < kVarRows; ++r) {
    const VarRow& row = kVarTable[r];
    for (int card = 0; card < row.cards; ++card) {
      for (int i = 0; i < row.count; ++i) {
        int8_t& slot = rows[at(row.base + 100 * card + i)];
        if (slot != -1) throw "two rows of the bus claim one number";
        slot = static_cast<int8_t>(r);
      }
    }
  }
  return rows;
}

constexpr RowIndex kRowOf = index_rows();

const VarRow* row_of(VarNum n) {
  if (n < 0 || n >= kVarNumbers) return nullptr;
  const int r = kRowOf[at(n)];
  return r < 0 ? nullptr : &kVarTable[r];
}

bool single(const VarRow& row) {
  return row.cards == 1 && row.count == 1;
}

// Entry k of number n in its row, or -1 beyond the variables that exist.
int entry_of(const VarRow& row, VarNum n) {
  const int offset = n - row.base;
  if (row.cards == 1) return offset < row.live ? offset : -1;
  const int index = offset % 100;
  return index < row.live ? offset / 100 * row.live + index : -1;
}

void log_number(System& sys, const char* format, VarNum n) {
  char line[128];
  std::snprintf(line, sizeof line, format, n);
  log_error(sys, line);
}

constexpr const char* kErreur4 = "\n-Erreur4 : Lecture N° variable interne : Var inconnue = %d";
constexpr const char* kErreur5 = "\n-Erreur5 : Ecriture N° variable interne : Var inconnue = %d";

// The number a row gives for a label that begins with its prefix, or -1 when out of range.
VarNum row_number(const VarRow& row, std::string_view after_prefix) {
  if (single(row)) return row.base;  // anything after the prefix is ignored
  int32_t k = 0;
  if (!parse_digits(after_prefix, k)) return -1;
  if (row.cards == kCards) return (k / 100 < kCards && k % 100 < row.count) ? row.base + k : -1;
  return k < row.count ? row.base + k : -1;
}

// A number in no row lies beyond a card's count when it falls within the span of a per-card row
// ("HORS-LIMITE"); otherwise it is unknown.
bool beyond_card_count(VarNum n) {
  for (int r = 0; r < kVarRows; ++r) {
    const VarRow& row = kVarTable[r];
    if (row.cards == kCards && n >= row.base && n < row.base + 300 + row.count) return true;
  }
  return false;
}

// The label of n, or the text that says why there is none (0 then).
int label_of(VarNum n, char* out) {
  const VarRow* row = row_of(n);
  if (row == nullptr) {
    std::snprintf(out, kLabelBufferSize, "%s",
                  beyond_card_count(n) ? "INVALIDE HORS-LIMITE" : "INVALIDE N° INCONNU");
    return 0;
  }
  if (single(*row))
    std::snprintf(out, kLabelBufferSize, "%s", row->prefix);
  else
    std::snprintf(out, kLabelBufferSize, "%s%d", row->prefix, n - row->base);
  return 1;
}

}  // namespace

const int32_t* var_cell(System& sys, VarNum n) {
  const VarRow* row = row_of(n);
  const int k = row != nullptr && row->access != VarAccess::WriteOnly ? entry_of(*row, n) : -1;
  return k >= 0 ? row->cell(sys, k) : nullptr;
}

int var_read(System& sys, VarNum n) {
  if (const int32_t* cell = var_cell(sys, n)) return *cell;
  log_number(sys, kErreur4, n);
  return -1;
}

int var_write(System& sys, VarNum n, int value) {
  const VarRow* row = row_of(n);
  const int k = row != nullptr && row->access != VarAccess::Read ? entry_of(*row, n) : -1;
  const VarGuard guard = k < 0                   ? VarGuard::Refuse
                         : row->guard == nullptr ? VarGuard::Store
                                                 : row->guard(sys, k);
  if (guard == VarGuard::Store) *row->cell(sys, k) = value;
  if (guard != VarGuard::Refuse) return 0;
  log_number(sys, kErreur5, n);
  return -1;
}

VarNum var_from_label(System& sys, const char* label) {
  constexpr size_t kLabelRoom = 232;
  const size_t length = strnlen(label, kLabelRoom);
  if (length < kLabelRoom) {
    const std::string_view text(label, length);
    for (int r = 0; r < kVarRows; ++r) {
      const VarRow& row = kVarTable[r];
      const std::string_view prefix = row.prefix;
      if (!starts_with_nocase(text, prefix)) continue;
      const VarNum n = row_number(row, text.substr(prefix.size()));
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
  if (label_of(n, out)) return 1;
  if (beyond_card_count(n)) {
    log_number(
        sys, "\n-Erreur2 : Conversion N° variable interne => Libellé : Numéro var hors limite = %d",
        n);
  } else {
    log_number(
        sys, "\n-Erreur1 : Conversion N° variable interne => Libellé : Numéro var inconnue    = %d",
        n);
  }
  return 0;
}

int var_to_label_quiet(VarNum n, char* out) {
  return label_of(n, out);
}

std::string var_label(System& sys, VarNum n) {
  char buffer[kLabelBufferSize];
  var_to_label(sys, n, buffer);
  return buffer;
}

bool var_readable(System& sys, VarNum n) {
  return var_cell(sys, n) != nullptr;
}

bool var_writable(System&, VarNum n) {
  const VarRow* row = row_of(n);
  return row != nullptr && row->access != VarAccess::Read && entry_of(*row, n) >= 0;
}

void log_error(System& sys, const std::string& line) {
  sys.error_log.write(work_file(sys, "Train_ZIR_log.txt"), line);
}
