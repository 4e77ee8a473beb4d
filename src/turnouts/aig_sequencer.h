// The turnout sequencer: one turnout at a time, through timed prepare, act and release phases
// on card outputs, with the shared rest outputs held while nothing moves.
#pragma once

struct System;

// The turnout's known position matches its command.
bool aig_in_position(const System& sys, int turnout);

// How many tics a phase lasts, from its configured duration (-1 when not given). The act
// step always lasts at least one tic; prepare and release may last none.
int aig_effective_duration(int step, int tic);

// Once per tick.
void aig_tick(System& sys);

// Every command, position flag and reservation back to 0 (at window creation).
void reset_turnout_states(System& sys);
