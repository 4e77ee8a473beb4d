// The vibrator: shakes the board while a detection problem lasts.
#pragma once

struct System;

// Drives the output to `value` and the canton to `speed` (the canton's real speed as well).
void vib_drive(System& sys, int value, int speed);

void vib_tick(System& sys);
