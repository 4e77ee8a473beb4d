// zir-sim fields of the clock subsystem: the model clock, the timetable, the external actions
// and the vibrator.
#include <cstdint>
#include <string_view>

#include "core/system.h"
#include "core/text.h"
#include "tools/sim/fields.h"

namespace {

constexpr int32_t kAny = INT32_MAX;

// A field a script may set within low..high, or only read.
template <typename T>
struct Member {
  const char* name;
  int32_t T::*member;
  bool settable;
  int32_t low = 0;
  int32_t high = kAny;
};

template <typename T, size_t N>
bool member_field(T& object, const Member<T> (&members)[N], std::string_view field, SimField& out) {
  for (const Member<T>& m : members) {
    if (field != m.name) continue;
    out.value = &(object.*m.member);
    out.read_only = !m.settable;
    out.low = m.low;
    out.high = m.high;
    return true;
  }
  return false;
}

// The clock as its screen sets it: running, day, time, speed and cleaning can be changed.
constexpr Member<ClockState> kClockMembers[] = {
    {"running", &ClockState::running, true, 0, 1},
    {"blocked", &ClockState::blocked, true, 0, 1},
    {"day", &ClockState::day, true, 0, 6},
    {"hour", &ClockState::hour, true, 0, 23},
    {"minute", &ClockState::minute, true, 0, 59},
    {"start_day", &ClockState::start_day, false},
    {"start_hour", &ClockState::start_hour, false},
    {"start_minute", &ClockState::start_minute, false},
    {"tic_par_min", &ClockState::tic_par_min, true, 1, 10000},
    {"countdown", &ClockState::countdown, true, 0, 10000},
    {"cleaning", &ClockState::cleaning, true, 0, 1},
};

struct HoroColumn {
  const char* name;
  int field;
};

constexpr HoroColumn kHoroColumns[] = {
    {"day", HORO_DAY},
    {"hd_h", HORO_HD_H},
    {"hd_m", HORO_HD_M},
    {"hf_h", HORO_HF_H},
    {"hf_m", HORO_HF_M},
    {"hi_h", HORO_HI_H},
    {"hi_m", HORO_HI_M},
    {"hb_h", HORO_HB_H},
    {"hb_m", HORO_HB_M},
    {"hb_mode", HORO_HB_MODE},
    {"vf_sense", HORO_VF_SENSE},
    {"vf_var", HORO_VF_VAR},
    {"kind1", HORO_ENTRIES},
    {"var1", HORO_ENTRIES + 1},
    {"kind2", HORO_ENTRIES + 2},
    {"var2", HORO_ENTRIES + 3},
    {"kind3", HORO_ENTRIES + 4},
    {"var3", HORO_ENTRIES + 5},
    {"kind4", HORO_ENTRIES + 6},
    {"var4", HORO_ENTRIES + 7},
    {"kind5", HORO_ENTRIES + 8},
    {"var5", HORO_ENTRIES + 9},
    {"kind6", HORO_ENTRIES + 10},
    {"var6", HORO_ENTRIES + 11},
    {"state", HORO_STATE},
    {"block_h", HORO_BLOCK_H},
    {"block_m", HORO_BLOCK_M},
    {"inhibited", HORO_INHIBITED},
};

// The vibrator's times can be adjusted as on its screen; the rest comes from #vib.
constexpr Member<VibState> kVibMembers[] = {
    {"time_before", &VibState::time_before, true},
    {"time_after", &VibState::time_after, true},
    {"out", &VibState::out, false},
    {"inverted", &VibState::inverted, false},
    {"canton", &VibState::canton, false},
    {"speed", &VibState::speed, false},
    {"start_count", &VibState::start_count, false},
    {"stop_count", &VibState::stop_count, false},
};

void text_field(const std::string& cp1252, SimField& out) {
  out.is_text = true;
  out.read_only = true;
  out.text = cp1252_to_utf8(cp1252);
}

}  // namespace

bool clock_field(System& sys, int index, std::string_view field, SimField& out) {
  return index == -1 && member_field(sys.clock, kClockMembers, field, out);
}

// horo.N.FIELD for the actions 0..254 (only `inhibited` is set from outside, as on the
// timetable screen); horo.K.comment for the comments 0..4.
bool horo_field(System& sys, int index, std::string_view field, SimField& out) {
  if (field == "comment") {
    if (index < 0 || index >= kHoroComments) return false;
    text_field(sys.clock.comments[static_cast<size_t>(index)], out);
    return true;
  }
  if (index < 0 || index >= kHoroActions) return false;
  for (const HoroColumn& c : kHoroColumns) {
    if (field != c.name) continue;
    out.value = &sys.clock.horo[static_cast<size_t>(index)][static_cast<size_t>(c.field)];
    out.read_only = c.field != HORO_INHIBITED;
    out.low = 0;
    out.high = 1;
    return true;
  }
  return false;
}

bool exe_field(System& sys, int index, std::string_view field, SimField& out) {
  if (index == -1 && field == "count") {
    out.value = &sys.exe.count;
    out.read_only = true;
    return true;
  }
  if (field != "text" || index < 0 || index >= kExternalActions) return false;
  text_field(sys.exe.text[static_cast<size_t>(index)], out);
  return true;
}

bool vib_field(System& sys, int index, std::string_view field, SimField& out) {
  return index == -1 && member_field(sys.vib, kVibMembers, field, out);
}
