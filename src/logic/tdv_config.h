// The #tdv reader: compiles every #tdv section of config.txt into the logic program.
#pragma once

struct System;

// Empties the program, the tables and the pulses, then compiles every #tdv section in file
// order. Errors show their box and throw FatalConfigError. Variables keep their values, except
// those of a pulse caught in an "on" phase, which are switched off.
void read_tdv(System& sys);
