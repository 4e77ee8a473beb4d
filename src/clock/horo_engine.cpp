#include "clock/horo_engine.h"

#include "core/system.h"
#include "core/var_bus.h"

namespace {

constexpr int32_t kMinutesPerDay = 24 * 60;

int32_t field(const HoroAction& a, int f) {
  return a[static_cast<size_t>(f)];
}

// The actions from 0 up to the first undefined one.
template <typename Visit>
void each_defined_action(ClockState& c, Visit visit) {
  for (HoroAction& a : c.horo) {
    if (field(a, HORO_HD_H) == -1) return;
    visit(a);
  }
}

bool inhibited(const HoroAction& a) {
  return field(a, HORO_INHIBITED) != 0;
}

// An inhibited action is ignored in every state: it no longer holds the clock either, since it
// would never be evaluated again to let it go.
bool any_blocking(ClockState& c) {
  bool blocking = false;
  each_defined_action(c, [&](HoroAction& a) {
    blocking = blocking || (field(a, HORO_STATE) == 2 && !inhibited(a));
  });
  return blocking;
}

// One model minute: 60 minutes make an hour, 24 hours a day. In cleaning mode midnight stops
// the clock and takes it back to its start time.
void advance_minute(ClockState& c) {
  if (++c.minute < 60) return;
  c.minute = 0;
  if (++c.hour < 24) return;
  c.hour = 0;
  if (c.cleaning) {
    c.running = 0;
    c.day = c.start_day;
    c.hour = c.start_hour;
    c.minute = c.start_minute;
  } else {
    c.day = (c.day + 1) % 7;
  }
}

bool day_matches(const ClockState& c, int32_t day) {
  if (c.cleaning) return day == HORO_CLEANING;
  return day == -1 || day == c.day || (day == HORO_WEEKDAYS && c.day <= 4) ||
         (day == HORO_WEEKEND && c.day >= 5);
}

// Once a day at `hd`, or every `hi` from `hd` to `hf` (to 23:59 without `hf`); an end before
// the start reaches into the next day.
bool time_matches(const ClockState& c, const HoroAction& a) {
  const int32_t now = c.hour * 60 + c.minute;
  const int32_t start = field(a, HORO_HD_H) * 60 + field(a, HORO_HD_M);
  const int32_t period =
      field(a, HORO_HI_H) == -1 ? 0 : field(a, HORO_HI_H) * 60 + field(a, HORO_HI_M);
  if (period <= 0) return now == start;
  int32_t end = field(a, HORO_HF_H) == -1 ? kMinutesPerDay - 1
                                          : field(a, HORO_HF_H) * 60 + field(a, HORO_HF_M);
  if (end < start) end += kMinutesPerDay;
  return now >= start && now <= end && (now - start) % period == 0;
}

bool condition_holds(System& sys, const HoroAction& a) {
  const int32_t sense = field(a, HORO_VF_SENSE);
  if (sense == -1) return false;
  const int value = var_read(sys, field(a, HORO_VF_VAR));
  return sense == 0 ? value != 0 : value == 0;
}

// The block time: the `hb` time, or now plus the `hb` delay, taken round midnight.
void set_block_time(const ClockState& c, HoroAction& a) {
  int32_t h = field(a, HORO_HB_H);
  int32_t m = field(a, HORO_HB_M);
  if (field(a, HORO_HB_MODE) == 1) {
    const int32_t at = (c.hour * 60 + c.minute + h * 60 + m) % kMinutesPerDay;
    h = at / 60;
    m = at % 60;
  }
  a[HORO_BLOCK_H] = h;
  a[HORO_BLOCK_M] = m;
}

void write_entries(System& sys, const HoroAction& a) {
  for (int k = 0; k < kHoroEntries; ++k) {
    const int32_t var = field(a, HORO_ENTRIES + 2 * k + 1);
    if (var == -1) return;
    var_write(sys, var, field(a, HORO_ENTRIES + 2 * k) == 1 ? 1 : 0);
  }
}

void fire(System& sys, HoroAction& a) {
  if (field(a, HORO_HB_MODE) != -1) {
    set_block_time(sys.clock, a);
    a[HORO_STATE] = 1;
  }
  write_entries(sys, a);
}

// Idle -> armed -> blocking -> idle, as far as it goes within one evaluation.
void evaluate(System& sys, HoroAction& a) {
  const ClockState& c = sys.clock;
  if (a[HORO_STATE] == 0 && day_matches(c, field(a, HORO_DAY)) && time_matches(c, a)) fire(sys, a);
  if (a[HORO_STATE] == 1) {
    const bool at_block_time =
        c.hour == field(a, HORO_BLOCK_H) && c.minute == field(a, HORO_BLOCK_M);
    if (at_block_time || condition_holds(sys, a)) a[HORO_STATE] = 2;
  }
  if (a[HORO_STATE] == 2 && condition_holds(sys, a)) a[HORO_STATE] = 0;
}

}  // namespace

void horo_tick(System& sys) {
  ClockState& c = sys.clock;
  c.blocked = any_blocking(c) ? 1 : 0;
  if (c.running && !c.blocked) {
    if (c.countdown <= 0) {
      c.countdown = c.tic_par_min;
      advance_minute(c);
    }
    --c.countdown;
  }
  if (c.countdown != c.tic_par_min - 1) return;
  each_defined_action(c, [&](HoroAction& a) {
    if (!inhibited(a)) evaluate(sys, a);
  });
}
