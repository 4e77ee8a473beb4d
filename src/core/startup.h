// Start-up and shutdown in their fixed order, shared by the window (zir) and zir-sim.
#pragma once

struct System;

// Before the window exists: config.txt must be present, then the screen keys of #general.
void startup_before_window(System& sys);
// Window creation, every step in its order (the readers of each section, the card search,
// the cantons, the panels file). Configuration errors throw FatalConfigError.
void startup_window_create(System& sys);
// Menu 914: the reload group and #depl; the model clock stops.
void reload_config(System& sys);
// Window destruction: switch every card output off (the panels file is saved by the quit path).
void shutdown(System& sys);
