// Split and join: a train leaves some of its wagons on a canton or in a siding as a wagon entry
// (16..31), and picks them up again. The pairs of positions come from #iti.
#pragma once

struct System;

// Once per tick, after the routes and before the turnout sequencer: split entries 0..99, then
// join entries 0..99. A trigger of 1 is consumed whether the entry acts or not.
void split_join_tick(System& sys);

// The highest wagon entry 31..16 not in use, or -1 when all are.
int free_wagon_entry(const System& sys);
// Puts wagon entry w in use: `en` 1, the name "WGON[w]", `en_auto` 0.
void make_wagon_entry(System& sys, int w);
// Gives a joined wagon entry back: not in use, no command, the default profile, manual mode.
void clear_wagon_entry(System& sys, int w);
