// The sidings engine: isolates a siding (parks the manual train of its canton in it) or
// connects it again (puts the parked train back on the canton) on request, and drives every
// defined siding's relay.
#pragma once

struct System;

// Once per tick, after the vibrator and before the external actions.
void garage_tick(System& sys);
