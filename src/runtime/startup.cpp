#include "runtime/startup.h"

#include <iterator>

#include "block/aigauto_config.h"
#include "block/balauto_config.h"
#include "cards/card_exchange.h"
#include "cards/card_search.h"
#include "clock/exe_config.h"
#include "clock/horo_config.h"
#include "clock/vib_config.h"
#include "core/config_reader.h"
#include "core/general.h"
#include "core/special_vars.h"
#include "core/system.h"
#include "logic/tdv_config.h"
#include "logic/tdv_engine.h"
#include "moves/depl_config.h"
#include "moves/depl_engine.h"
#include "moves/garage_config.h"
#include "moves/iti_config.h"
#include "panels/panel_file.h"
#include "panels/panel_interaction.h"
#include "trains/canton_engine.h"
#include "trains/selectif_config.h"
#include "trains/train_config.h"
#include "turnouts/aig_config.h"
#include "turnouts/aig_sequencer.h"

void startup_before_window(System& sys) {
  sys.general = GeneralSettings{};
  check_config_present(sys);
  read_general_screen_keys(sys);
}

namespace {

// A section that menu 914 reads again, with its line in the reload box and its place there.
struct ReloadedSection {
  void (*read)(System& sys);
  bool in_group;  // read at start-up with the reload group (#depl comes later, after #garage)
  int box_rank;
  const char* box_line;
};

// What menu 914 reads again, in its order: the reload group in its start-up order, then #depl.
// The reload box lists exactly these rows. Reading #tdv again puts every pulse back to idle;
// the variables keep their values (a pulse caught while on switches its variables off).
constexpr ReloadedSection kReloaded[] = {
    {read_tdv, true, 3, "  tdv#    Opérations logiques (table de vérité, équations, impulsions)"},
    {read_exe_section, true, 4, "  exe#    Fichiers à exécuter"},
    {read_vib_section, true, 5, "  vib#    Configuration du vibreur"},
    {read_iti_section, true, 1, "  iti#      Itinéraires"},
    {read_horo_section, true, 0, "  horo#  Paramétrage de l'horloge + horodateur "},
    {depl_reload, false, 2, "  depl#  Définition des déplacements automatique"},
};

// The reload group at start-up and on menu 914; the clock stops after it.
void read_reload_group(System& sys) {
  for (const ReloadedSection& section : kReloaded)
    if (section.in_group) section.read(sys);
  sys.clock.running = 0;
}

}  // namespace

void reset_tables(System& sys) {
  reset_io_image(sys);
  reset_block_stops(sys.block);
  reset_turnout_states(sys);
  sys.garage.reset_locks();
  reset_user_vars(sys);
  reset_special_vars(sys);
}

void startup_window_create(System& sys) {
  reset_tables(sys);
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
  load_panels(sys, kPanelFile);
}

void reload_config(System& sys) {
  read_reload_group(sys);
  for (const ReloadedSection& section : kReloaded)
    if (!section.in_group) section.read(sys);
}

std::string reload_box_text() {
  std::string text =
      "ZIR va prendre en compte les modifications dans 'config.txt' \n\nLes sections rechargées "
      "sont : \n";
  const int ranks = static_cast<int>(std::size(kReloaded));
  for (int rank = 0, listed = 0; listed < ranks; ++rank) {
    for (const ReloadedSection& section : kReloaded) {
      if (section.box_rank != rank) continue;
      text += section.box_line;
      text += '\n';
      ++listed;
    }
  }
  return text + "\nPour les autres sections, relancer ZIR";
}

// The panels are saved before this, on the way out (save_panels_before_quit): a run that ends
// at the end of a zir-sim script saves nothing.
void shutdown(System& sys) {
  panel_let_go(sys);
  switch_off_cards(sys);
  sys.error_log.close();  // writes the count of a last repeated error
}
