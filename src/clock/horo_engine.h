// The model clock and its timetable, once per tick.
#pragma once

struct System;

// The blocked flag, the minute advance while running, then the timetable's evaluation in the
// tick where the minute has just changed (and in every tick while the clock stands there).
void horo_tick(System& sys);
