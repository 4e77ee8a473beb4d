// A fresh System in a temporary directory whose config.txt holds the given text.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/recording_host.h"
#include "core/system.h"
#include "core/var_bus.h"
#include "logic/tdv_config.h"

class TdvFixture {
 public:
  TdvFixture() : dir_(make_dir()), sys(host, dir_) {}
  ~TdvFixture() { std::filesystem::remove_all(dir_); }

  void write_config(const std::string& text) {
    std::ofstream(dir_ / "config.txt", std::ios::binary) << text;
  }
  // config.txt with one #tdv section holding `body`, then the compiler.
  void compile(const std::string& body) {
    write_config("#tdv\n[\n" + body + "\n]\n");
    read_tdv(sys);
  }
  std::string log() const {
    std::ifstream in(dir_ / "Train_ZIR_log.txt");
    return {std::istreambuf_iterator<char>(in), {}};
  }
  int var(const char* label) { return var_read(sys, var_from_label(sys, label)); }
  void set(const char* label, int value) { var_write(sys, var_from_label(sys, label), value); }

 private:
  static std::filesystem::path make_dir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zir-tdv-XXXXXX").string();
    return mkdtemp(pattern.data());
  }
  std::filesystem::path dir_;

 public:
  RecordingHost host;
  System sys;
};
