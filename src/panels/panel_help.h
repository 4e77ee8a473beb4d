// The variable help: an 800 x 680 page over the panel listing the families of variables with
// their numbers and meaning, for filling the V1..V4 fields of blocks.
#pragma once

struct System;
class Surface;

constexpr int kHelpLines = 39;
extern const char* const kVariableHelp[kHelpLines];

void paint_help(Surface& s);
// A left press: only the close button does something.
void help_press(System& sys, int x, int y);
