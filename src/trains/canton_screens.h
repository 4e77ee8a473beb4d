// The canton records (screens 28, 29) and the canton direction rules of #selectif (32-34).
#pragma once

struct System;
class Surface;

void cantons_screen(System& sys, Surface& s, int mode);
void selectif_screen(System& sys, Surface& s, int mode);
