// The #vib (or #vibrator) section: the vibrator's output, canton and times.
#pragma once

struct System;

// A running vibrator's output and canton go to their idle level first, then every setting is
// reset and #vib read.
void read_vib_section(System& sys);
