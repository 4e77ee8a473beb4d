// Split and join: a train leaves some of its wagons on a canton or in a siding as a wagon entry
// (16..31), and picks them up again. The pairs of positions come from #iti.
#pragma once

#include <cstdint>

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

// The record changes of a split and a join, shared by the engine and the panels, which each
// check their own conditions first. Positions are canton numbers or 1000 + a siding.
//
// Train t leaves wagon entry w at the positions: canton and canton, w holds b; canton and
// siding, w is parked in the siding; siding and canton, t is parked in the siding and w takes
// t's cantons, b included. False, changing nothing, for any other pair.
bool split_train(System& sys, int32_t a, int32_t b, int t, int w);
// Wagon entry w goes back into train t, which takes its cantons. A siding among the positions
// must be fed by the other position; it is connected again and the entry parked in it (as the
// tick began) leaves it. False, changing nothing, for two sidings or a siding fed elsewhere.
bool join_train(System& sys, int32_t a, int32_t b, int t, int w);
