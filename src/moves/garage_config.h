// The #garage section: each siding's associated canton, relay output and relay polarity.
#pragma once

struct System;

// Rebuilds the siding table from config.txt (read once, at start-up). A bad line shows its box
// and throws FatalConfigError.
void read_garage_section(System& sys);
