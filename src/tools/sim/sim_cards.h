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

// Installs the port factory the options ask for; the emulated cards, or null.
std::shared_ptr<CardBank> install_sim_ports(RecordingHost& host, const SimOptions& options);

// --layout: reads the layout of the run's directory and puts emulated cards in front of it (the
// cards it uses unless --cards names them); its event lines go to `out`. Null with `error` when
// the layout cannot be read.
std::unique_ptr<VirtualLayout> install_sim_layout(RecordingHost& host, const SimOptions& options,
                                                  std::ostream& out,
                                                  std::shared_ptr<CardBank>& bank,
                                                  std::string& error);
