// The logic engine: every tick, the pulses, the truth tables 0..49, then every equation of the
// program compiled from #tdv. All reads and writes go through the variable bus.
#pragma once

struct System;

void tdv_tick(System& sys);

// The three passes of tdv_tick, in its order.
void pulses_step(System& sys);
void tables_step(System& sys);
void equations_step(System& sys);
