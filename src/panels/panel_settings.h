// The render settings: a 400 x 680 page over the panel where swatches set the colours the
// panels are drawn with (rendu), the canton colour table and the colours of trains 0..15. A
// left click steps a value up, a right click down; the next paint shows the change.
#pragma once

struct System;
class Surface;

void paint_settings(System& sys, Surface& s);
void settings_press(System& sys, bool left, int x, int y);
