// The three readers on damaged files: a box and FatalConfigError, or a reading, never a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "clock/exe_config.h"
#include "clock/horo_config.h"
#include "clock/vib_config.h"
#include "core/fatal.h"
#include "support/temp_dir.h"

namespace {

// Pieces of valid lines, cut and shuffled with stray bytes.
constexpr const char* kPieces[] = {
    "hd",    "hf",     "hi",      "hb",   "+",           "vf",     ":",           "!",
    "s",     "c",      "j",       "w",    "n",           "depart", "tic_par_min", "commentaire",
    "08",    "59",     "60",      "-3",   "99999999999", "var_3",  "det_14",      "exe",
    "exe7:", "exe150", "\"",      "'",    "time_before", "out",    "out_pwm",     ",",
    "on",    "off",    "out_105", "@",    "]",           "[",      ";",           "\n",
    "\r\n",  " ",      "\t",      "\xE9", "\xC9",        "\x01",
};

std::string garbage(std::mt19937& rng) {
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 400);
  std::string body;
  for (int i = length(rng); i > 0; --i) body += kPieces[piece(rng)];
  return body;
}

TEST(ClockReaders, SurviveGarbage) {
  std::mt19937 rng(15);
  TestSystem t;
  for (int round = 0; round < 300; ++round) {
    const std::string body = garbage(rng);
    for (const char* header : {"#horo", "#exe", "#vib"}) {
      t.host.boxes.clear();
      t.dir.write("config.txt", std::string(header) + "\n[\n" + body + "\n]\n");
      t.sys.minus_switch = true;
      try {
        read_horo_section(t.sys);
        read_exe_section(t.sys);
        read_vib_section(t.sys);
        EXPECT_TRUE(t.host.boxes.empty());
      } catch (const FatalConfigError&) {
        EXPECT_FALSE(t.host.boxes.empty());
      }
    }
  }
}

}  // namespace
