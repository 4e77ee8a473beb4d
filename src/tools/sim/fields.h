// The field resolvers of each subsystem, registered in sim_fields.cpp.
#pragma once

#include "tools/sim/sim_fields.h"

// fields_core.cpp
bool tick_field(System& sys, int index, std::string_view field, SimField& out);
bool special_field(System& sys, int index, std::string_view field, SimField& out);
bool general_field(System& sys, int index, std::string_view field, SimField& out);
bool screen_field(System& sys, int index, std::string_view field, SimField& out);
bool clock_field(System& sys, int index, std::string_view field, SimField& out);
// fields_cards.cpp: card.C.linked, port.errors, port.com
bool card_field(System& sys, int index, std::string_view field, SimField& out);
bool port_field(System& sys, int index, std::string_view field, SimField& out);
// fields_turnouts.cpp
bool aig_field(System& sys, int index, std::string_view field, SimField& out);
bool aigseq_field(System& sys, int index, std::string_view field, SimField& out);
// fields_moves.cpp
bool iti_field(System& sys, int index, std::string_view field, SimField& out);
bool depl_field(System& sys, int index, std::string_view field, SimField& out);
bool garage_field(System& sys, int index, std::string_view field, SimField& out);
