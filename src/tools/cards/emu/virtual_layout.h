// A layout behind the emulated cards: trains move under the power of the cantons they are on,
// turnouts move under their motor outputs, and the cards report the detections and turnout
// contacts that follow. The program on the other side of the link cannot tell it from real
// track.
//
// Each canton has its own axis from its '-' end (0) to its '+' end (its length); a train is the
// chain of cantons from its head back to its tail, with the direction towards the head in each.
// The head is the end that leads: a train whose power reverses turns its tail into its head.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/cards/emu/card_bank.h"
#include "tools/cards/emu/layout_track.h"

constexpr int kTrainPath = 2 * kCantons;  // cantons one train can span

class VirtualLayout {
 public:
  using Report = std::function<void(const std::string& line)>;

  // Every event and status line goes to `report`: "train 0 entre dans le canton 1",
  // "aiguillage 2 en position 1", "train 1 arrêté en bout du canton 4",
  // "collision : train 1 arrêté contre le train 0 dans le canton 3".
  VirtualLayout(const LayoutTrack& track, Report report);

  // A command frame sent to `card`: the powers of its cantons and its outputs. Turnouts whose
  // motor outputs all hold their values move.
  void command_frame(int card, const uint8_t* frame);
  // Moves every train by the power under its head for `ms` milliseconds.
  void advance(double ms);
  // Detections and turnout contacts into the cards' inputs.
  void write_inputs(CardBank& bank) const;

  // Frames reaching `bank` drive the layout and the answers carry its state. With `now_ms`
  // (the machine's clock) each frame first moves the trains by the time since the previous
  // frame; without it the caller advances the layout itself.
  void connect(CardBank& bank, std::function<double()> now_ms = {});

  // "place T CANTON [OFFSET]", "remove T", "status". Returns false when the words are none of
  // these; otherwise `error` is empty on success.
  bool command(const std::vector<std::string>& words, std::string& error);
  // Puts train t with its head `offset_cm` from the '-' end of canton slot `slot`, facing '+'
  // (-1: the train centred). Empty on success.
  std::string place(int t, int slot, double offset_cm);
  std::string remove(int t);
  void status() const;

  // Where a train is: canton numbers (-1 off the layout) and its head's distance in cm from
  // the '-' end of its canton.
  int head_canton(int t) const;
  int tail_canton(int t) const;
  double head_offset(int t) const;
  int turnout_position(int n) const { return position_[static_cast<size_t>(n)]; }
  bool occupied(int slot) const { return occupied_mask_[static_cast<size_t>(slot)] != 0; }

 private:
  struct Segment {
    int slot = -1;
    int dir = 1;  // +1: towards the head is towards the canton's '+' end
  };
  // The stretch of a canton a train covers.
  struct Span {
    int slot = -1;
    double from = 0;
    double to = 0;
  };
  struct Train {
    bool on = false;
    double length = kDefaultTrainCm;
    std::array<Segment, kTrainPath> path{};  // path[0] holds the head
    int count = 0;
    double head = 0;  // on path[0]'s axis
    std::array<Span, kTrainPath> spans{};
    int span_count = 0;
    bool at_end = false;  // stopped at a dead end (reported once)
    int blocked_by = -1;  // stopped against this train (reported once)
  };

  double canton_cm(int slot) const { return track_.length_cm[static_cast<size_t>(slot)]; }
  // Signed speed of a canton in cm/s: positive towards its '+' end.
  double canton_speed(int slot) const;
  void update_turnouts();
  const TrackRule* next_canton(int slot, int dir) const;
  const TrackRule* previous_canton(int slot, int dir) const;
  bool conditions_hold(const TrackRule& rule) const;
  void move(int t, double distance);
  void reverse(Train& train);
  // How far train t may go from `from` towards `dir` on canton `slot`, up to `wanted`, before
  // touching another train (then named in `blocker`).
  double free_run(int t, int slot, double from, int dir, double wanted, int& blocker) const;
  // Recomputes the spans and occupancy of train t, and drops the cantons its tail has left.
  void lay(int t);
  void say(const std::string& line) const {
    if (report_) report_(line);
  }

  LayoutTrack track_;
  Report report_;
  std::array<Train, kTrainEntries> trains_{};
  std::array<uint32_t, kCantons> occupied_mask_{};     // bit t: train t covers part of the canton
  std::array<uint8_t, kCards * kDetPerCard> speed_{};  // speed bytes of the last frames
  std::array<int8_t, kCards * kDetPerCard> sign_{};    // +1 / -1 towards '+' / '-'
  std::array<uint8_t, kCards * kOutPerCard> output_{};
  std::array<int, kTurnouts> position_{};
  std::function<double()> clock_;
  double last_frame_ms_ = -1;
};
