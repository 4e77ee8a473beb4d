// The #iti section: the routes (turnout positions set in one action) and the split and join
// pairs of positions.
#pragma once

struct System;

// Rebuilds the routes, their names and the split and join tables from config.txt; every route
// goes back to its initial values. An error shows its boxes and throws FatalConfigError.
void read_iti_section(System& sys);
