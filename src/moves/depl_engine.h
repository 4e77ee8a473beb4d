// The movement engine: each movement waits for its train, cantons, turnouts, sidings and servo,
// holds them, sets its start variables, waits its start delay, sets its turnouts, drives the
// train with inertia until it arrives, parks it if asked, sets its end variables and hands
// everything back.
#pragma once

struct System;

// Once per tick, after train tracking and before the canton update: movements 0..199 in order,
// then the speed of every movement.
void depl_tick(System& sys);

// Menu 914's part: every movement under way lets go of what it holds, as a stop request does,
// then #depl is read again.
void depl_reload(System& sys);

// The movement screen's text of a state (31 characters), empty for an unknown state.
const char* depl_state_text(int state);
