// Start-up and shutdown in their fixed order, shared by the window (zir) and zir-sim.
#pragma once

#include <string>

struct System;

// Before the window exists: config.txt must be present, then the screen keys of #general.
void startup_before_window(System& sys);
// The first step of window creation: each subsystem's reset, from this one place (the I/O
// image, the block's stops, the turnouts, the siding locks, the user and special variables).
void reset_tables(System& sys);
// Window creation, every step in its order (the readers of each section, the card search,
// the cantons, the panels file). Configuration errors throw FatalConfigError.
void startup_window_create(System& sys);
// Menu 914: the reload group and #depl; the model clock stops.
void reload_config(System& sys);
// The box menu 914 shows first: it names exactly the sections reload_config reads.
std::string reload_box_text();
// Window destruction: save the panels file, switch every card output off.
void shutdown(System& sys);
