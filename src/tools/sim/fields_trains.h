// zir-sim field resolvers of the trains subsystem (rows of kFieldTables in sim_fields.cpp).
#pragma once

#include <string_view>

#include "tools/sim/sim_fields.h"

bool resolve_train_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_reserve_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_canton_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_clav_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_selectif_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_remote_field(System& sys, int index, std::string_view field, SimField& out);
bool resolve_tempo_libe_cant(System& sys, int index, std::string_view field, SimField& out);
