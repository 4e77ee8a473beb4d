// zir-sim [--dir DIR] [--cards 0,2 | --real-ports] [--layout] [SCRIPT]: the whole start-up without
// a window, the script, the shutdown.
#include <cstring>
#include <fstream>
#include <iostream>

#include "tools/sim/sim_cards.h"
#include "tools/sim/sim_runner.h"

namespace {

int usage() {
  std::cerr << "usage: zir-sim [--dir DIR] [--cards 0,2 | --real-ports] [--layout] [SCRIPT]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  const char* script_path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      options.dir = argv[++i];
    } else if (std::strcmp(argv[i], "--cards") == 0 && i + 1 < argc) {
      if (!parse_card_list(argv[++i], options.cards)) return usage();
    } else if (std::strcmp(argv[i], "--real-ports") == 0) {
      options.real_ports = true;
    } else if (std::strcmp(argv[i], "--layout") == 0) {
      options.layout = true;
    } else if (argv[i][0] == '-' && argv[i][1] != '\0') {
      return usage();
    } else if (script_path == nullptr) {
      script_path = argv[i];
    } else {
      return usage();
    }
  }
  if (options.layout && options.real_ports) return usage();
  if (script_path == nullptr || std::strcmp(script_path, "-") == 0)
    return run_sim(options, std::cin, std::cout);
  std::ifstream script(script_path);
  if (!script) {
    std::cerr << "zir-sim: cannot read " << script_path << '\n';
    return 2;
  }
  return run_sim(options, script, std::cout);
}
