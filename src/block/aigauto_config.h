// The #aigauto section: turnouts thrown ahead of a hand-driven train.
#pragma once

struct System;

// Read once at start-up, after #selectif and before #balauto. Reading stops after 100 rules;
// an error shows its box and throws FatalConfigError.
void read_aigauto(System& sys);
