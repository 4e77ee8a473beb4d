// A fresh directory for one test, removed at the end, with a helper to write config.txt.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "tools/sim/recording_host.h"
#include "core/system.h"

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/zir-test-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void write(const std::string& name, const std::string& content) const {
    std::ofstream(path_ / name, std::ios::binary) << content;
  }
  std::string read(const std::string& name) const {
    std::ifstream file(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
};

// A System in its own directory with a recording host: the usual test fixture.
struct TestSystem {
  TempDir dir;
  RecordingHost host;
  System sys{host, dir.path()};

  std::string log() const { return dir.read("Train_ZIR_log.txt"); }
};
