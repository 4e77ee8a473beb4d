// The rule tables of the automatic turnouts (screens 35-37) and of the automatic block: speed
// limits (38, 39), halts (40, 41) and block stops (42-44), each row showing whether its rule
// acts now. They only display.
#pragma once

struct System;
class Surface;

void aigauto_screen(System& sys, Surface& s, int mode);
void vitmax_screen(System& sys, Surface& s, int mode);
void halt_screen(System& sys, Surface& s, int mode);
void cant_screen(System& sys, Surface& s, int mode);
