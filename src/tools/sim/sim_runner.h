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

// Returns the exit status: 0, 1 after a failed expect or a fatal configuration error, 2 after a
// script error. The shutdown runs in every case once start-up is through.
int run_sim(const SimOptions& options, std::istream& script, std::ostream& out);
