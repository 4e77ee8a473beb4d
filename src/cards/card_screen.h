// Screen 24, the test bench of one card: everything the card reports and is sent, manual
// control of its cantons, outputs, LEDs and servos, potentiometers driving cantons, and direct
// register access. Its per-tick work runs whatever screen is in view.
#pragma once

struct System;
class Surface;

// The screen's entry point (paint, tick redraw, presses, keys).
void card_screen(System& sys, Surface& s, int mode);

// Every tick: notices that the screen was left, and maps each potentiometer onto the manual
// speed of the cantons it drives.
void card_screen_tick(System& sys);

// The screen is no longer in view: manual cantons that no potentiometer drives go back to the
// bus and the keyboard target is cleared, so that no fixed speed powers a train unseen.
void leave_card_screen(System& sys);
