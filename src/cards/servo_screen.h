// Screen 30: the twenty servos of the four cards with setpoint, position, speed, travel time
// and reservation, and a legend on driving them from the logic. Read-only.
#pragma once

struct System;
class Surface;

void servo_screen(System& sys, Surface& s, int mode);
