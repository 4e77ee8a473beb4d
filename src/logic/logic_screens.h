// The logic screens: truth tables with their live inputs and outputs (31), pulses with their
// phases (48), and the user and special variables (25-27).
#pragma once

struct System;
class Surface;

void truth_table_screen(System& sys, Surface& s, int mode);
void pulse_screen(System& sys, Surface& s, int mode);
void variables_screen(System& sys, Surface& s, int mode);
