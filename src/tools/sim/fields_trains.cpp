// zir-sim fields of the trains subsystem: train.N.*, reserve.R.*, canton.NNN.* (by canton
// number), clav.K.*, selectif.N.*, remote.FIELD and tempo_libe_cant.
#include <array>
#include <string>
#include <string_view>

#include "core/system.h"
#include "tools/sim/fields.h"
#include "trains/driving.h"
#include "trains/remote_socket.h"

namespace {

template <typename Table, size_t N>
struct IntColumn {
  const char* name;
  std::array<int32_t, N> Table::*column;
};

// The column named `field` of `table`, at `index`.
template <typename Table, size_t N, size_t M>
bool column_cell(Table& table, const std::array<IntColumn<Table, N>, M>& columns, int index,
                 std::string_view field, SimField& out) {
  for (const auto& c : columns) {
    if (field == c.name) return int_cell(table.*(c.column), index, out);
  }
  return false;
}

constexpr std::array<IntColumn<TrainTable, kTrainEntries>, 9> kTrainColumns{{
    {"en", &TrainTable::en},
    {"cmd", &TrainTable::cmd},
    {"en_auto", &TrainTable::en_auto},
    {"cons", &TrainTable::cons},
    {"cmd_speed", &TrainTable::cmd_speed},
    {"vit", &TrainTable::vit},
    {"train_garage", &TrainTable::train_garage},
    {"capt", &TrainTable::capt},
    {"color", &TrainTable::color},
}};

constexpr std::array<IntColumn<TrainTable, kProfileRows>, 6> kProfileColumns{{
    {"inv", &TrainTable::inv},
    {"vmin", &TrainTable::vmin},
    {"vmax", &TrainTable::vmax},
    {"acc", &TrainTable::acc},
    {"dec", &TrainTable::dec},
    {"frein", &TrainTable::frein},
}};

constexpr std::array<IntColumn<TrainTable, kReserveEntries>, 1> kReserveColumns{{
    {"color", &TrainTable::reserve_color},
}};

constexpr std::array<IntColumn<CantonTable, kCantons>, 20> kCantonColumns{{
    {"num_train", &CantonTable::num_train},
    {"ResvAUTO", &CantonTable::ResvAUTO},
    {"ResvMANU", &CantonTable::ResvMANU},
    {"libe_count", &CantonTable::libe_count},
    {"Inverse", &CantonTable::Inverse},
    {"Res2MANU", &CantonTable::Res2MANU},
    {"Vit_AUTO", &CantonTable::Vit_AUTO},
    {"Vit_MANU", &CantonTable::Vit_MANU},
    {"sens_ok", &CantonTable::sens_ok},
    {"Vitesse", &CantonTable::Vitesse},
    {"Vit_reel", &CantonTable::Vit_reel},
    {"det2", &CantonTable::det2},
    {"det2p", &CantonTable::det2p},
    {"det2m", &CantonTable::det2m},
    {"pb_capt_c", &CantonTable::pb_capt_c},
    {"sens_perm", &CantonTable::sens_perm},
    {"prev_num_train", &CantonTable::prev_num_train},
    {"prev_ResvAUTO", &CantonTable::prev_ResvAUTO},
    {"prev_ResvMANU", &CantonTable::prev_ResvMANU},
    {"prev_Res2MANU", &CantonTable::prev_Res2MANU},
}};

constexpr std::array<IntColumn<TrainTable, kClavConfs>, 4> kClavColumns{{
    {"level", &TrainTable::clav_level},
    {"plus_key", &TrainTable::plus_key},
    {"stop_key", &TrainTable::stop_key},
    {"minus_key", &TrainTable::minus_key},
}};

bool text_cell(std::string& s, bool writable, SimField& out) {
  out.is_text = true;
  out.text = s;
  if (writable) {
    out.text_cell = &s;
  } else {
    out.read_only = true;
  }
  return true;
}

bool in_range(int index, int count) {
  return index >= 0 && index < count;
}

}  // namespace

bool train_field(System& sys, int index, std::string_view field, SimField& out) {
  TrainTable& t = sys.trains;
  if (!in_range(index, kTrainEntries)) return false;
  if (field == "name") return text_cell(t.name[index], true, out);
  if (field == "mode") return text_cell(t.mode[index], true, out);
  if (field == "cantons_txt") return text_cell(t.cantons_txt[index], false, out);
  if (field == "pb_capt_t") return int_cell(sys.cantons.pb_capt_t, index, out);
  return column_cell(t, kTrainColumns, index, field, out) ||
         column_cell(t, kProfileColumns, index, field, out);
}

bool reserve_field(System& sys, int index, std::string_view field, SimField& out) {
  TrainTable& t = sys.trains;
  if (!in_range(index, kReserveEntries)) return false;
  if (field == "name") return text_cell(t.name[kReserveRow0 + index], true, out);
  if (field == "long_name") return text_cell(t.long_name[index], true, out);
  return column_cell(t, kReserveColumns, index, field, out) ||
         column_cell(t, kProfileColumns, kReserveRow0 + index, field, out);
}

bool canton_field(System& sys, int index, std::string_view field, SimField& out) {
  const int slot = canton_slot(index);
  if (slot < 0) return false;
  return column_cell(sys.cantons, kCantonColumns, slot, field, out);
}

bool clav_field(System& sys, int index, std::string_view field, SimField& out) {
  return column_cell(sys.trains, kClavColumns, index, field, out);
}

// selectif.N.target, .target_sign, .from, .from_sign, .aig1...aig6, .pos1...pos6.
bool selectif_field(System& sys, int index, std::string_view field, SimField& out) {
  if (!in_range(index, kSelectifRules)) return false;
  auto& rule = sys.selectif.rule[static_cast<size_t>(index)];
  static constexpr std::array<std::string_view, 4> kHead{"target", "target_sign", "from",
                                                         "from_sign"};
  for (size_t k = 0; k < kHead.size(); ++k) {
    if (field == kHead[k]) return int_cell(rule, static_cast<int>(k), out);
  }
  for (int k = 0; k < kSelectifConditions; ++k) {
    const std::string n = std::to_string(k + 1);
    if (field == "aig" + n) return int_cell(rule, kSelConditions + 2 * k, out);
    if (field == "pos" + n) return int_cell(rule, kSelConditions + 2 * k + 1, out);
  }
  return false;
}

bool remote_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1) return false;
  RemoteState& r = sys.remote;
  struct Cell {
    std::string_view name;
    int32_t* value;
    int32_t low, high;
  };
  const Cell cells[] = {
      {"key", &sys.screen.remote_key, -1, kMaxRemoteCode},
      {"idle", &r.remote_idle, 0, kRemoteForget},
      {"digits", &r.remote_digits, 0, kRemoteNumberCeiling},
      {"number", &r.remote_number, 0, kRemoteNumberCeiling},
      {"aig_mode", &r.remote_aig_mode, -1, 1},
      {"clav", &r.remote_clav, 0, kClavConfs - 1},
  };
  for (const Cell& c : cells) {
    if (field == c.name) {
      out.value = c.value;
      out.low = c.low;
      out.high = c.high;
      return true;
    }
  }
  return false;
}

bool tempo_libe_cant_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index != -1 || !field.empty()) return false;
  out.value = &sys.block.tempo_libe_cant;
  return true;
}
