// The special variables (special_var_0..99), recomputed at every tick.
#pragma once

struct System;

// Tick bits, traffic lights, chasers, counters, triangle waves and the model clock's values.
void special_vars_step(System& sys);
// Every special variable back to 0 (at window creation).
void reset_special_vars(System& sys);
