// The canton records (screens 28, 29), the canton direction rules of #selectif (32-34) and
// the split and join entries of #iti (59, 60).
#pragma once

struct System;
class Surface;

void cantons_screen(System& sys, Surface& s, int mode);
void selectif_screen(System& sys, Surface& s, int mode);
void split_join_screen(System& sys, Surface& s, int mode);
