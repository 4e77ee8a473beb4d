#include "tools/sim/sim_exec.h"

#include <ostream>
#include <string>
#include <vector>

#include "app/exe_launcher.h"
#include "tools/sim/recording_host.h"

void install_sim_exec(RecordingHost& host, std::ostream& out) {
  host.external = [&out](const ExternalCommand& command, std::string& reason) {
    std::vector<std::string> args;
    if (!split_arguments(command.arguments, args, reason)) return false;
    out << "EXEC " << command.action << '|' << command.file;
    for (const std::string& a : args) out << '|' << a;
    out << '\n';
    return true;
  };
}
