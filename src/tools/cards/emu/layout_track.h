// The virtual layout's fixed description: the cantons and how they follow one another, the
// turnouts and the outputs that move them, where the trains stand at the start. It comes from
// the layout's own config.txt, read with the program's readers, and from the optional
// virtual_layout.txt beside it (lengths, speed scale, inverted detections).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cards/io_image.h"
#include "trains/canton_table.h"
#include "trains/selectif_table.h"
#include "turnouts/aig_table.h"

constexpr int kDefaultCantonCm = 100;
constexpr int kDefaultTrainCm = 20;
constexpr int kMinCantonCm = 10;
constexpr int kMaxCantonCm = 100000;
constexpr int kMaxTrainCm = 1000;
constexpr int kTurnoutSetOutputs = 2 * kAigPhaseSlots;

// A train leaving canton `from` towards `from_dir` (+1 its '+' end, -1 its '-' end) enters
// canton `to` travelling towards `to_dir`, when every turnout condition holds.
struct TrackRule {
  int from = -1;  // canton slot 0..63
  int from_dir = 0;
  int to = -1;
  int to_dir = 0;
  std::array<int, kSelectifConditions> turnout{};
  std::array<int, kSelectifConditions> position{};
  int conditions = 0;
};

// One output of the I/O image (card * 80 + index) and the value it must hold.
struct OutputValue {
  int output = -1;
  int value = 0;
};

// A turnout is in position p while every output of `set[p]` holds its value in the card frames:
// the outputs of its prepare phase, overwritten by those of its act phase.
struct TurnoutMotor {
  bool defined = false;
  std::array<std::array<OutputValue, kTurnoutSetOutputs>, 2> set{};
  std::array<int, 2> set_size{};
  // The digital input (card * 80 + index) that reports position p, and its value there; -1
  // when none is given or the variable is not a card input.
  std::array<int, 2> verif_input{-1, -1};
  std::array<int, 2> verif_value{};
  int start_position = 0;
};

struct LayoutTrack {
  std::array<int, kCantons> length_cm;
  std::array<bool, kCantons> used{};            // named by a rule, a train or virtual_layout.txt
  std::array<bool, kCantons> wired_inverted{};  // inv_canton_: the direction bit is inverted
  std::array<bool, kCantons> det_inverted{};    // the detection input reads 1 when free
  std::vector<TrackRule> rules;                 // in the order of #selectif
  std::array<TurnoutMotor, kTurnouts> turnouts{};
  std::array<int, kTrainEntries> start_slot;  // -1: the train is not on the layout
  std::array<int, kTrainEntries> train_cm;
  std::array<int, kTrainEntries> start_offset_cm;  // head from the canton's '-' end; -1 centred
  int scale_byte = 64;                             // speed byte that gives scale_cm_s
  int scale_cm_s = 50;
  std::array<bool, kCards> cards_used{};

  LayoutTrack() {
    length_cm.fill(kDefaultCantonCm);
    start_slot.fill(-1);
    train_cm.fill(kDefaultTrainCm);
    start_offset_cm.fill(-1);
  }
};

// Reads DIR/config.txt with the program's own readers (#general, #aig, #train, #selectif) and
// DIR/virtual_layout.txt when it exists. False with `error` naming the file (and line) when
// either cannot be read.
bool read_layout_track(const std::filesystem::path& dir, LayoutTrack& track, std::string& error);

// The cards the layout uses (its cantons, turnout outputs and contacts, potentiometers), card 0
// when it uses none.
std::vector<int> layout_cards(const LayoutTrack& track);

// The overrides of virtual_layout.txt, one a line ('@' starts a comment):
//   canton 3 longueur 150          a canton's length in cm
//   train 0 longueur 30 depart 40  a train's length, and its head's distance from the '-' end
//                                  of its start canton, in cm
//   echelle 64 50                  speed byte 64 moves a train 50 cm/s
//   detection 105 inversee         the canton's detection reads 1 when it is free
// `name` is the file name used in messages. False with "NAME, ligne L : ..." in `error`.
bool read_layout_overrides(const std::string& text, const std::string& name, LayoutTrack& track,
                           std::string& error);
