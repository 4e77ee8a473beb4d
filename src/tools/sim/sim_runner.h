// zir-sim's script interpreter: start-up in a directory, the commands of a script, shutdown.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <vector>

struct SimOptions {
  std::filesystem::path dir = ".";
  std::vector<int> cards;   // emulated cards behind COM1
  bool real_ports = false;  // the machine's COM ports instead of none
  bool layout = false;      // the virtual layout of `dir` behind the emulated cards
};

// Returns the exit status: 0, or 1 after a failed expect or a fatal configuration error.
int run_sim(const SimOptions& options, std::istream& script, std::ostream& out);
