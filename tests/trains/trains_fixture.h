// A System in its own directory, with the minus switch on as after the screen keys of #general.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

class TrainsFixture : public ::testing::Test {
 protected:
  TrainsFixture() { sys.minus_switch = true; }

  void write_config(const std::string& text) { dir.write("config.txt", text); }

  // The last box shown, as "title|text".
  std::string last_box() const {
    if (host.boxes.empty()) return "";
    return host.boxes.back().title + "|" + host.boxes.back().text;
  }

  TempDir dir;
  RecordingHost host;
  System sys{host, dir.path()};
};
