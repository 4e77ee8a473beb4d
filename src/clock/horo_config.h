// The #horo section: the clock's start time and speed, the timetable and its comments.
#pragma once

struct System;

// Resets the timetable, its comments and cleaning mode, then reads #horo. The clock itself
// keeps its time unless the section gives `depart`.
void read_horo_section(System& sys);
