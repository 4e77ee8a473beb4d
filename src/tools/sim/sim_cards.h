// zir-sim's serial ports: none by default (every COM port absent, so that runs are the same
// on every machine), emulated cards behind COM1 with --cards, the machine's ports with
// --real-ports. With --layout the emulated cards stand in front of the virtual layout of the
// run's directory.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "tools/cards/emu/card_bank.h"
#include "tools/cards/emu/virtual_layout.h"

class RecordingHost;
struct SimOptions;

struct SimCards {
  std::shared_ptr<CardBank> bank;  // null without emulated cards
  std::unique_ptr<VirtualLayout> layout;
};

// Installs the port factory the options ask for. The layout's event lines go to `out`. False
// with `error` when the layout cannot be read.
bool install_sim_ports(RecordingHost& host, const SimOptions& options, std::ostream& out,
                       SimCards& cards, std::string& error);
