// The #general section, read twice: the screen keys before the window, the rest at creation.
#pragma once

struct System;

void read_general_screen_keys(System& sys);
void read_general(System& sys);
