// The logic engine: every tick, the pulses, the truth tables 0..49, then every equation of the
// program compiled from #tdv. All reads and writes go through the variable bus.
#pragma once

struct System;

void tdv_tick(System& sys);

// The user variables var_0..var_599 back to 0 (at window creation).
void reset_user_vars(System& sys);

// The three passes of tdv_tick, in its order.
void pulses_step(System& sys);
void tables_step(System& sys);
void equations_step(System& sys);
