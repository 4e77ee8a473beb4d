// The cantons and manual driving: start-of-tick snapshots, the trains engine that turns each
// driven train's command into a ramped speed, and the canton update.
#pragma once

struct System;

// Start-up, before #train: every canton free, both directions allowed.
void canton_init(System& sys);

// Start of tick: copy the reservation fields and the panel direction permissions.
void snapshot_step(System& sys);
// Start of tick: the panel name copy, the lost-train flags and the siding copies.
void lost_train_step(System& sys);

// Commanded speeds, block limits, inertia; then each train's cantons text and detection state.
void trains_engine_step(System& sys);
// Each canton's raw speed and its occupancy variables det2_, det2p_, det2m_.
void canton_update_step(System& sys);
