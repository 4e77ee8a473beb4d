// The readers of config.txt: the whole start-up reading in its order (then a few ticks over
// what was read, and every table screen drawn from it), and each section with a grammar of its
// own.
#include "block/aigauto_config.h"
#include "block/balauto_config.h"
#include "clock/exe_config.h"
#include "clock/horo_config.h"
#include "clock/vib_config.h"
#include "core/fatal.h"
#include "core/screens.h"
#include "fuzz/fuzz_target.h"
#include "logic/tdv_config.h"
#include "moves/depl_config.h"
#include "moves/garage_config.h"
#include "moves/iti_config.h"
#include "runtime/startup.h"
#include "runtime/tick.h"
#include "runtime/window_events.h"
#include "trains/canton_engine.h"
#include "trains/selectif_config.h"
#include "trains/train_config.h"
#include "turnouts/aig_config.h"

namespace {

constexpr int kTicksAfterStartup = 3;
constexpr int kNoScreen = -1;

// A fatal configuration error is a normal outcome: the reader reported it and stopped.
template <typename Read>
void read_guarded(FuzzLayout& layout, Read read) {
  try {
    read(layout.sys);
  } catch (const FatalConfigError&) {
  }
}

// Starts ZIR on the layout and runs a few ticks with no screen in view.
void start_and_tick(System& sys) {
  startup_before_window(sys);
  startup_window_create(sys);
  sys.screen.screen_mode = kNoScreen;
  for (int i = 0; i < kTicksAfterStartup; ++i) tick(sys);
}

int read_section(const char* header, void (*reader)(System&), const uint8_t* data, size_t size) {
  FuzzLayout layout(section_text(header, data, size));
  read_guarded(layout, [reader](System& sys) {
    canton_init(sys);
    reader(sys);
  });
  return 0;
}

}  // namespace

FUZZ_TARGET(config) {
  FuzzLayout layout(std::string_view(reinterpret_cast<const char*>(data), size));
  read_guarded(layout, [](System& sys) {
    start_and_tick(sys);
    shutdown(sys);
  });
  return 0;
}

// Every table screen painted, then redrawn by a tick, from the tables the layout filled.
FUZZ_TARGET(screens) {
  FuzzLayout layout(std::string_view(reinterpret_cast<const char*>(data), size));
  read_guarded(layout, [](System& sys) {
    start_and_tick(sys);
    for (int screen = kPanels; screen <= kLastScreen; ++screen) {
      if (!screen_info(screen) || screen == kCardScreen)
        continue;  // the card screen talks to cards
      sys.screen.screen_mode = screen;
      window_paint(sys);
      table_screen_tick_redraw(sys);
    }
    shutdown(sys);
  });
  return 0;
}

FUZZ_TARGET(tdv) {
  return read_section("#tdv [", read_tdv, data, size);
}
FUZZ_TARGET(selectif) {
  return read_section("#selectif [", read_selectif, data, size);
}
FUZZ_TARGET(train) {
  return read_section("#train [", read_train_section, data, size);
}
FUZZ_TARGET(aig) {
  return read_section("#aig [", read_aig_section, data, size);
}
FUZZ_TARGET(horo) {
  return read_section("#horo [", read_horo_section, data, size);
}
FUZZ_TARGET(exe) {
  return read_section("#exe [", read_exe_section, data, size);
}
FUZZ_TARGET(vib) {
  return read_section("#vib [", read_vib_section, data, size);
}
FUZZ_TARGET(garage) {
  return read_section("#garage [", read_garage_section, data, size);
}
FUZZ_TARGET(depl) {
  return read_section("#depl [", read_depl_section, data, size);
}
FUZZ_TARGET(aigauto) {
  return read_section("#aigauto [", read_aigauto, data, size);
}
FUZZ_TARGET(balauto) {
  return read_section("#balauto [", read_balauto, data, size);
}
FUZZ_TARGET(iti) {
  return read_section("#iti [", read_iti_section, data, size);
}
