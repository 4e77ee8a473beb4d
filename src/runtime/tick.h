// The 80 ms tick: every engine in its fixed order.
#pragma once

struct System;

// One timer message. Returns false when a tick was already running (a box opened inside a
// tick runs a nested loop that delivers timer messages): that tick is lost, not queued.
bool tick(System& sys);

void simulation_switch(System& sys);
void emergency_stop_toggle(System& sys);
