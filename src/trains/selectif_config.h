// The #selectif section, read character by character with its own syntax:
//   c12:+ c11+ a3.0 + c20- a3.1
// enters canton 12 forward from canton 11 left forward when turnout 3 is in position 0, or
// from canton 20 left backward when it is in position 1.
#pragma once

struct System;

// Reads the first #selectif section once at start-up; errors throw FatalConfigError.
void read_selectif(System& sys);
