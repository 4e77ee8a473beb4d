// zir-sim's script interpreter: start-up in a directory, the commands of a script, shutdown.
#pragma once

#include <filesystem>
#include <iosfwd>

struct SimOptions {
  std::filesystem::path dir = ".";
};

// Returns the exit status: 0, or 1 after a failed expect or a fatal configuration error.
int run_sim(const SimOptions& options, std::istream& script, std::ostream& out);
