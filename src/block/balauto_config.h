// The #balauto section: speed limits, halts and block stops for hand-driven trains, and the
// release delay of the cantons a train has left.
#pragma once

struct System;

// Read once at start-up, after #aigauto. Rebuilds the rule tables and resets the per-train
// results; an error shows its box and throws FatalConfigError.
void read_balauto(System& sys);
