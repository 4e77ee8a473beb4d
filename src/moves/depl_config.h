// The #depl section: one line per movement (its cantons and speeds, turnouts, servo, start and
// stop, delays, passage, arrival and halt variables, start and end variables) and the global
// acceleration and deceleration levels.
#pragma once

#include <cstdint>

struct System;

// Seconds as written in #depl to tics, one tick counting 95 ms: 5 s are 52 tics.
int32_t depl_seconds_to_tics(int32_t seconds);

// Resets every movement to idle and not described, the names, the global levels and every
// turnout's reservation, then reads the section ('-' is a token of its own meanwhile). A bad
// line shows its box and throws FatalConfigError.
void read_depl_section(System& sys);
