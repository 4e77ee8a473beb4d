// Speeds: potentiometer and keyboard conversions, the inertia ramp and the per-canton output
// through each train's profile. Speeds are -64..64, the sign is the direction.
#pragma once

#include <cstdint>

struct System;

constexpr int kBrakeRequest = -99;  // a potentiometer at its end stop asks to brake
constexpr int kStepRows = 28;
constexpr int kPhases = 12;

// Increment of step-table row 1..28 at tick phase 0..11.
int step_increment(int row, int phase);

// A reading 0..255 to a speed; with brake detection an end stop gives kBrakeRequest.
int pot_to_speed(int reading, bool brake_detection);
// A keyboard level -3..3 to a speed.
int level_to_speed(int level);
// One tick of inertia from `current` towards `target` (or braking when target is -99).
int ramp_step(const System& sys, int target, int current, int acc, int dec, int frein);
// Vit_reel of every canton from its Vitesse and its train's vmin/vmax.
void real_speed_update(System& sys);
