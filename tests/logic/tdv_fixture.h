// A fresh System whose config.txt holds a #tdv section, read by the compiler.
#pragma once

#include <string>

#include "core/var_bus.h"
#include "logic/tdv_config.h"
#include "support/temp_dir.h"

struct TdvFixture : TestSystem {
  void write_config(const std::string& text) { dir.write("config.txt", text); }
  // config.txt with one #tdv section holding `body`, then the compiler.
  void compile(const std::string& body) {
    write_config("#tdv\n[\n" + body + "\n]\n");
    read_tdv(sys);
  }
  int var(const char* label) { return var_read(sys, var_from_label(sys, label)); }
  void set(const char* label, int value) { var_write(sys, var_from_label(sys, label), value); }
};
