// The #aig section: which outputs each turnout's motor phases set, for how long, the shared
// rest outputs and the start positions.
#pragma once

struct System;

// Rebuilds the turnout description from config.txt; an error shows its box and throws
// FatalConfigError.
void read_aig_section(System& sys);

// One saved turnout position of config_tco.txt (entry "aNN.V"), read when memorisation_aig is
// on: a saved 1 throws turnout NN to 1 if #aig defines it; anything else changes nothing.
void aig_restore_saved_position(System& sys, int turnout, int value);
