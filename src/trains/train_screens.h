// The train lists: characteristics with their editing dialogs and the command state (screens
// 8, 57), and trains to cantons with the placing of a lost train (9, 58).
#pragma once

struct System;
class Surface;

void train_screen(System& sys, Surface& s, int mode);
// The screen is left: its dialog closes, nothing else changes.
void close_train_dialog(System& sys);
