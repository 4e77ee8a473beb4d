// zir-sim starts no external action: it prints what would start.
#pragma once

#include <iosfwd>

class RecordingHost;

// Each external action prints "EXEC n|file" and "|argument" for each argument; arguments that
// cannot be split fail as they would on the desktop.
void install_sim_exec(RecordingHost& host, std::ostream& out);
