// The turnout screen (22, 23): 30 turnouts a page with their command, position flags and
// reservation; a click throws a turnout or changes its reservation. Beside the list, the phase
// durations of turnout 63 in milliseconds and the AIGAUTO and memorisation settings.
#pragma once

struct System;
class Surface;

void aig_screen(System& sys, Surface& s, int mode);
