#include "core/startup.h"

#include "block/aigauto_config.h"
#include "block/balauto_config.h"
#include "cards/card_exchange.h"
#include "cards/card_search.h"
#include "clock/exe_config.h"
#include "clock/horo_config.h"
#include "clock/vib_config.h"
#include "core/config_reader.h"
#include "core/general.h"
#include "core/system.h"
#include "logic/tdv_config.h"
#include "moves/depl_config.h"
#include "moves/depl_engine.h"
#include "moves/garage_config.h"
#include "moves/iti_config.h"
#include "trains/canton_engine.h"
#include "trains/selectif_config.h"
#include "trains/train_config.h"
#include "turnouts/aig_config.h"

void startup_before_window(System& sys) {
  sys.general = GeneralSettings{};
  check_config_present(sys);
  read_general_screen_keys(sys);
}

namespace {

// The sections that menu 914 reads again, in their start-up order; the clock stops after them.
// Reading #tdv again puts every pulse back to idle; the variables keep their values (a pulse
// caught while on switches its variables off).
void read_reload_group(System& sys) {
  read_tdv(sys);
  read_exe_section(sys);
  read_vib_section(sys);
  read_iti_section(sys);
  read_horo_section(sys);
  sys.clock.running = 0;
}

}  // namespace

void startup_window_create(System& sys) {
  reset_io_image(sys);
  read_general(sys);
  // (pens, brushes and fonts are made with each drawing surface: nothing to create here)
  read_reload_group(sys);
  read_garage_section(sys);
  read_depl_section(sys);
  read_aig_section(sys);
  open_cards(sys);
  canton_init(sys);
  read_train_section(sys);
  read_selectif(sys);
  read_aigauto(sys);
  read_balauto(sys);
  // the caller starts the 80 ms timer here
  sys.screen.screen_mode = 0;
  // config_tco.txt
}

void reload_config(System& sys) {
  read_reload_group(sys);
  depl_reload(sys);
}

void shutdown(System& sys) {
  // save config_tco.txt
  switch_off_cards(sys);
  sys.error_log.close();  // writes the count of a last repeated error
}
