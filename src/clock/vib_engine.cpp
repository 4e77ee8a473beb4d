#include "clock/vib_engine.h"

#include <algorithm>

#include "core/system.h"
#include "core/var_bus.h"
#include "trains/canton_table.h"

namespace {

void reload(VibState& vib) {
  vib.start_count = vib.time_before;
  vib.stop_count = vib.time_after;
}

bool detection_problem(const System& sys) {
  const auto& flags = sys.cantons.pb_capt_c;
  return std::any_of(flags.begin(), flags.end(), [](int32_t f) { return f == 1; });
}

// Waiting for a problem that has lasted `time_before` ticks, or for `time_after` ticks without
// one.
void count(VibState& vib, bool problem) {
  if (vib.vib_state != 1) {
    if (!problem) {
      reload(vib);
      return;
    }
    if (vib.start_count == 0) vib.vib_state = 1;
    if (vib.start_count > 0) --vib.start_count;
    return;
  }
  if (problem) {
    vib.stop_count = vib.time_after;
    return;
  }
  if (vib.stop_count > 0) --vib.stop_count;
  if (vib.stop_count == 0) vib.vib_state = 0;
}

}  // namespace

void vib_drive(System& sys, int value, int speed) {
  const VibState& vib = sys.vib;
  if (vib.out >= 0) var_write(sys, vib.out, value);
  const int slot = canton_slot(vib.canton);
  if (slot < 0) return;
  // The real-speed step leaves a canton without train as it is: set both.
  sys.cantons.Vitesse[static_cast<size_t>(slot)] = speed;
  sys.cantons.Vit_reel[static_cast<size_t>(slot)] = speed;
}

void vib_tick(System& sys) {
  VibState& vib = sys.vib;
  if (vib.vib_on != 1) {
    vib.vib_state = 0;
    vib_drive(sys, vib.inverted, 0);
    reload(vib);
    return;
  }
  count(vib, detection_problem(sys));
  if (vib.vib_state == 1)
    vib_drive(sys, 1 - vib.inverted, vib.speed);
  else
    vib_drive(sys, vib.inverted, 0);
}
