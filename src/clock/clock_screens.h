// The clock screens: the model clock with its settings (17), the timetable list (49-56), the
// external actions (45-47) and the vibrator (18). They are the operator's controls of the
// clock, of the timetable actions, of the external actions and of the vibrator.
#pragma once

struct System;
class Surface;

void clock_screen(System& sys, Surface& s, int mode);
void horo_screen(System& sys, Surface& s, int mode);
void exe_screen(System& sys, Surface& s, int mode);
void vib_screen(System& sys, Surface& s, int mode);

// The clock's speed as the "tic/mn" buttons set it (kept within 1..10000). The minute in
// progress is never evaluated twice: a countdown that would meet the evaluation point of the
// new speed again is moved just past it.
void set_tic_par_min(System& sys, int value);
// "Départ" of a timetable action: the clock runs from one minute before the action, on a day
// where it fires, so that it fires at the next minute change.
void jump_to_action(System& sys, int action);
