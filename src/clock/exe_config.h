// The #exe section: the command line of each external action.
#pragma once

struct System;

// Clears every action and trigger, then reads #exe word by word and character by character,
// so that a command keeps its spaces and punctuation.
void read_exe_section(System& sys);
