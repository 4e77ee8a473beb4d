// The field resolvers of each subsystem, registered in sim_fields.cpp.
#pragma once

#include "tools/sim/sim_fields.h"

// fields_core.cpp
bool tick_field(System& sys, int index, std::string_view field, SimField& out);
bool special_field(System& sys, int index, std::string_view field, SimField& out);
bool general_field(System& sys, int index, std::string_view field, SimField& out);
bool screen_field(System& sys, int index, std::string_view field, SimField& out);
// fields_cards.cpp: card.C.linked, port.errors, port.com
bool card_field(System& sys, int index, std::string_view field, SimField& out);
bool port_field(System& sys, int index, std::string_view field, SimField& out);
// manual.NNN.FIELD (card * 100 + index), direct.N.state|address|data (card * 5 + slot),
// cardscreen.card|pot|target|buffer
bool manual_field(System& sys, int index, std::string_view field, SimField& out);
bool direct_field(System& sys, int index, std::string_view field, SimField& out);
bool cardscreen_field(System& sys, int index, std::string_view field, SimField& out);
// fields_turnouts.cpp
bool aig_field(System& sys, int index, std::string_view field, SimField& out);
bool aigseq_field(System& sys, int index, std::string_view field, SimField& out);
// fields_logic.cpp
bool tdv_field(System& sys, int index, std::string_view field, SimField& out);
bool pulse_field(System& sys, int index, std::string_view field, SimField& out);
bool program_field(System& sys, int index, std::string_view field, SimField& out);
// tdvscreen.table, varscreen.internal
bool tdvscreen_field(System& sys, int index, std::string_view field, SimField& out);
bool varscreen_field(System& sys, int index, std::string_view field, SimField& out);
// fields_routes.cpp: iti.N.*, separe.N.*, regroupe.N.*
bool iti_field(System& sys, int index, std::string_view field, SimField& out);
bool separe_field(System& sys, int index, std::string_view field, SimField& out);
bool regroupe_field(System& sys, int index, std::string_view field, SimField& out);
// fields_moves.cpp
bool depl_field(System& sys, int index, std::string_view field, SimField& out);
bool garage_field(System& sys, int index, std::string_view field, SimField& out);
bool servo_field(System& sys, int index, std::string_view field, SimField& out);
// fields_trains.cpp
bool train_field(System& sys, int index, std::string_view field, SimField& out);
bool reserve_field(System& sys, int index, std::string_view field, SimField& out);
bool canton_field(System& sys, int index, std::string_view field, SimField& out);
bool clav_field(System& sys, int index, std::string_view field, SimField& out);
bool selectif_field(System& sys, int index, std::string_view field, SimField& out);
// trainscreen.dialog (0 none, 1-6, 7 placing), trainscreen.train
bool trainscreen_field(System& sys, int index, std::string_view field, SimField& out);
bool remote_field(System& sys, int index, std::string_view field, SimField& out);
bool tempo_libe_cant_field(System& sys, int index, std::string_view field, SimField& out);
// fields_panels.cpp: tco.P.X.Y.FIELD, tco.blink, rendu.N.value, cantcolor.NNN.value
bool tco_field(System& sys, int index, std::string_view field, SimField& out);
bool rendu_field(System& sys, int index, std::string_view field, SimField& out);
bool cantcolor_field(System& sys, int index, std::string_view field, SimField& out);
// tcoact.countdown|result_countdown|source|destination|result|held (the selection held flag)
bool tcoact_field(System& sys, int index, std::string_view field, SimField& out);
// fields_block.cpp: the block's per-train results under train.N, then block.*, vitmax.N.*,
// halt.N.*, cant.N.*, balauto.*, aigauto.N.* and aigauto.count
bool block_train_field(System& sys, int index, std::string_view field, SimField& out);
bool block_field(System& sys, int index, std::string_view field, SimField& out);
bool vitmax_field(System& sys, int index, std::string_view field, SimField& out);
bool halt_field(System& sys, int index, std::string_view field, SimField& out);
bool cant_field(System& sys, int index, std::string_view field, SimField& out);
bool balauto_field(System& sys, int index, std::string_view field, SimField& out);
bool aigauto_field(System& sys, int index, std::string_view field, SimField& out);
// fields_clock.cpp: clock.FIELD, horo.N.FIELD, horo.K.comment, exe.N.text, exe.count, vib.FIELD
bool clock_field(System& sys, int index, std::string_view field, SimField& out);
bool horo_field(System& sys, int index, std::string_view field, SimField& out);
bool exe_field(System& sys, int index, std::string_view field, SimField& out);
bool vib_field(System& sys, int index, std::string_view field, SimField& out);
