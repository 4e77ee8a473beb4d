// The one object that owns every table of the controller. A test builds a fresh System; the
// engines are free functions taking System&.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "block/block_screen_state.h"
#include "block/block_state.h"
#include "cards/card_link.h"
#include "cards/card_screen_state.h"
#include "cards/io_image.h"
#include "clock/clock_state.h"
#include "core/error_log.h"
#include "core/host.h"
#include "core/surface.h"
#include "logic/logic_state.h"
#include "logic/tdv_program.h"
#include "moves/depl_table.h"
#include "moves/garage_table.h"
#include "moves/iti_table.h"
#include "panels/panel_state.h"
#include "trains/canton_table.h"
#include "trains/selectif_table.h"
#include "trains/train_screen_state.h"
#include "trains/train_table.h"
#include "turnouts/aig_table.h"

constexpr int kTic = 80;            // timer period, ms
constexpr int kTickMs = kTic + 15;  // one tick as counted wherever ticks become time
constexpr int kSpecialVars = 100;

// The #general settings, with their defaults.
struct GeneralSettings {
  int32_t show_cards_found = 0;
  int32_t memorisation_train = 0;
  int32_t memorisation_aig = 0;
  int32_t aigauto = 1;  // train_aigauto and aigauto clear the same flag
  int32_t ir_aig_digit = 1;
  int32_t relief = 1;
  int32_t width = 800;
  int32_t height = 700;
  int32_t maximise = 0;
};

// The tick scheduler's own state.
struct TickState {
  int32_t tick = 0;
  bool busy = false;
  std::array<int32_t, 2> panel_countdown{};
  int32_t arret_urg_on = 0;
  int32_t arret_urg_prev = 0;
  int32_t arret_urg_state = 0;
};

// The special variables and the generator's private state.
struct SpecialVars {
  std::array<int32_t, kSpecialVars> sv{};
  int32_t light_step = 0;
  std::array<int32_t, 6> chaser_phase{};
  std::array<int32_t, 4> triangle_dir{1, 1, 1, 1};  // sv79, sv80, sv82, sv83
  std::array<int32_t, 4> step_dir{};                // sv85, sv86, sv88, sv89
};

// Window-wide state shared by the screens.
struct ScreenState {
  int32_t screen_mode = 0;
  int32_t last_panel = 0;
  char panel_mode = ' ';
  int32_t client_width = 801;
  int32_t client_height = 701;
  int32_t mouse_x = 0;
  int32_t mouse_y = 0;
  int32_t press_x = 0;
  int32_t press_y = 0;
  int32_t last_key = 0;
  int32_t remote_key = -1;
  // A train-characteristics field is taking the typed characters (its name dialog).
  bool field_editing = false;
  // zir-sim keeps the texts of the last drawing of the screen in view; the window does not.
  bool record_texts = false;
  std::vector<DrawnText> drawn_texts;
};

struct System {
  explicit System(Host& h, std::filesystem::path directory = ".")
      : host(h), dir(std::move(directory)) {}
  System(const System&) = delete;
  System& operator=(const System&) = delete;

  Host& host;
  std::filesystem::path dir;  // where config.txt, config_tco.txt and the log live

  // Configuration reader: '-' is a word character once the screen keys have been read.
  bool minus_switch = false;
  ErrorLog error_log;

  GeneralSettings general;
  TickState ticks;
  SpecialVars special;
  ScreenState screen;

  IoImage io;
  CardLinkState cardlink;
  CardScreenState cardscreen;
  CantonTable cantons;
  TrainTable trains;
  TrainScreenState trainscreen;
  SelectifTable selectif;
  RemoteState remote;
  BlockState block;
  BlockScreenState blockscreen;
  AigTable aig;
  ItiTable iti;
  DeplTable depl;
  GarageTable garage;
  ClockState clock;
  ExeState exe;
  VibState vib;
  LogicVars logic;
  LogicScreenState logicscreen;
  TdvLogic tdv;
  PanelState panels;
};

// Path of a file in the system's working directory.
inline std::filesystem::path work_file(const System& sys, const char* name) {
  return sys.dir / name;
}
