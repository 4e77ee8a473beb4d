// The external actions, once per tick.
#pragma once

#include <string>

struct System;
struct ExternalCommand;

// Splits an action's text (UTF-8) into the file between its first two quotes and, with more
// quotes, the arguments after the second one. False when the text names nothing to start.
bool exe_command(const std::string& text, ExternalCommand& command);

// Each action whose trigger reads 1 is started once and its trigger goes back to 0; one that
// cannot be started leaves a line in the log.
void exe_tick(System& sys);
