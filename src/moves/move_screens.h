// The movement list (screens 10..16), the route list (19, 20) and the siding list (21): live
// rows, and the clicks that start and stop movements and routes and isolate or connect sidings.
#pragma once

struct System;
class Surface;

void depl_screen(System& sys, Surface& s, int mode);
void iti_screen(System& sys, Surface& s, int mode);
void garage_screen(System& sys, Surface& s, int mode);
