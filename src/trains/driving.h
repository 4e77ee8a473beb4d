// Keyboard and remote-control driving.
#pragma once

struct System;

constexpr int kRemoteForget = 20;  // ticks without a code before typed digits are forgotten
constexpr int kRemoteNumberCeiling = 1000000;

// A typed character: the keyboard configurations whose keys match change their level.
// Called first by the window's global key handling.
void keyboard_driving(System& sys, int ch);

// Start of tick: consumes the remote-control code left in sys.screen.remote_key (-1 = none):
// turnout numbers typed as digits, keyboard configuration selection and levels.
void remote_step(System& sys);
