// A System in a temporary directory holding a config.txt written by the test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/recording_host.h"
#include "core/system.h"

class TrainsFixture : public ::testing::Test {
 protected:
  TrainsFixture()
      : dir_(std::filesystem::temp_directory_path() /
             ("zir_trains_" + std::to_string(::getpid()) + "_" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name())),
        sys(host, make_dir(dir_)) {
    sys.minus_switch = true;  // as after the screen keys of #general
  }
  ~TrainsFixture() override { std::filesystem::remove_all(dir_); }

  void write_config(const std::string& text) {
    std::ofstream(dir_ / "config.txt", std::ios::binary) << text;
  }

  // The last box shown, as "title|text".
  std::string last_box() const {
    if (host.boxes.empty()) return "";
    return host.boxes.back().title + "|" + host.boxes.back().text;
  }

 private:
  static std::filesystem::path make_dir(const std::filesystem::path& d) {
    std::filesystem::create_directories(d);
    return d;
  }
  std::filesystem::path dir_;

 protected:
  RecordingHost host;
  System sys;
};
