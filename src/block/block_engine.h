// The automatic block: speed limits, halts and block stops of hand-driven trains, evaluated by
// the trains engine, with the automatic turnouts before them.
#pragma once

struct System;

// The three evaluations, each over all its rules and all trains.
void evaluate_speed_limits(System& sys);
void evaluate_halts(System& sys);
void evaluate_block_stops(System& sys);

// The trains engine's pass: begin once per pass, then run the automatic turnouts (while
// aigauto is on) and the three evaluations for each driven train, before its limits apply.
// The results are those of running everything in full for each train in turn.
void block_pass_begin(System& sys);
void block_run_for_train(System& sys, int train);

// After #aigauto or #balauto has been read (or the rule tables changed otherwise).
void block_rules_changed(System& sys);
