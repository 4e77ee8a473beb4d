// #depl and #garage on damaged files: a box and FatalConfigError, or a reading whose movements
// and sidings then run, never a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/fatal.h"
#include "moves/depl_config.h"
#include "moves/depl_engine.h"
#include "moves/garage_config.h"
#include "moves/garage_engine.h"
#include "support/temp_dir.h"

namespace {

// Pieces of valid lines, cut and shuffled with stray bytes.
constexpr const char* kPieces[] = {
    "d1 ",  "d199 ", "d200 ",  "c12",  "c315",  "c16",    "g0",   "g31",   "g32",         "a5",
    "a63",  ".",     "+",      "-",    ":",     "0",      "1",    "64",    "65",          "999",
    "1000", "start", "start2", "stop", "train", " fin:",  "pass", "libe",  "halt",        "tempo",
    "name", "srv4",  "srv304", "taf3", "tsf",   "sdeb",   "sc",   "det_3", "var_1",       "in_7",
    "!",    "acc",   "dec",    "xx",   "28",    "out105", "pol1", "pol0",  "@",           "]",
    "[",    ";",     "\n",     "\r\n", " ",     "\t",     "\xE9", "\x01",  "99999999999",
};

std::string garbage(std::mt19937& rng) {
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 300);
  std::string body;
  for (int i = length(rng); i > 0; --i) body += kPieces[piece(rng)];
  return body;
}

// Valid entries of each section, so that some files read through and the engines run on them.
constexpr const char* kDeplEntries[] = {
    "start:c1",   "start:c2",   "start:g1",   "start2:c3",  "stop:c3",      "stop:g2",
    "c1+20",      "c2-64",      "c3+1",       "g1",         "g2",           "a1.1",
    "a2.0",       "srv1:600",   "train:0",    "tempo:1",    "taf1",         "tsf1",
    "pass:var_1", "libe:var_2", "halt:var_3", "sdeb:var_4", "sc:unknown_1", "name:x",
};
constexpr const char* kGarageLines[] = {"g1: c2 out5 pol1", "g2: pol0 c3 out105",
                                        "g3: out1 out2 pol1"};

std::string mostly_valid(std::mt19937& rng, bool depl) {
  std::uniform_int_distribution<int> lines(1, 6);
  std::uniform_int_distribution<int> entries(0, 12);
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<size_t> depl_entry(0, std::size(kDeplEntries) - 1);
  std::uniform_int_distribution<size_t> garage_line(0, std::size(kGarageLines) - 1);
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::string body;
  for (int n = lines(rng); n > 0; --n) {
    if (!depl) {
      body += kGarageLines[garage_line(rng)];
    } else {
      body +=
          "d" + std::to_string(percent(rng) % 4) + " fin:det_" + std::to_string(percent(rng) % 16);
      for (int k = entries(rng); k > 0; --k)
        body += std::string(" ") + kDeplEntries[depl_entry(rng)];
    }
    if (percent(rng) < 10) body += kPieces[piece(rng)];
    body += "\n";
  }
  return body;
}

// Train 0 seen on canton 1 as a manual train, train 1 parked in siding 1: the movements read
// find a train to run.
void place_trains(System& sys) {
  for (int train : {0, 1}) {
    sys.trains.en[train] = 1;
    sys.trains.en_auto[train] = 1;
  }
  sys.cantons.num_train[1] = 0;
  sys.cantons.ResvMANU[1] = 1;
  sys.io.det[1] = 1;
  sys.garage.state_lock[1] = 1;
  sys.garage.cmd_lock[1] = 1;
  sys.garage.num_train[1] = 1;
  sys.trains.train_garage[1] = 1;
}

TEST(MovesReaders, SurviveGarbage) {
  std::mt19937 rng(12);
  for (int round = 0; round < 300; ++round) {
    for (const char* header : {"#garage", "#depl"}) {
      const bool depl = header[1] == 'd';
      const std::string body = round % 2 == 0 ? garbage(rng) : mostly_valid(rng, depl);
      TestSystem t;
      t.dir.write("config.txt", std::string(header) + "\n[\n" + body + "\n]\n");
      t.sys.minus_switch = true;
      try {
        if (depl) {
          read_depl_section(t.sys);
        } else {
          read_garage_section(t.sys);
        }
      } catch (const FatalConfigError&) {
        ASSERT_FALSE(t.host.boxes.empty());
        continue;
      }
      EXPECT_TRUE(t.host.boxes.empty());
      place_trains(t.sys);
      for (DeplRecord& r : t.sys.depl.depl_record) r[DEPL_START_REQUEST] = 1;
      for (int tick = 0; tick < 10; ++tick) {
        depl_tick(t.sys);
        garage_tick(t.sys);
      }
    }
  }
}

}  // namespace
