// zir-sim's serial ports: none by default (every COM port absent, so that runs are the same
// on every machine), emulated cards behind COM1 with --cards, the machine's ports with
// --real-ports.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/cards/emu/card_bank.h"

class RecordingHost;
struct SimOptions;

// Installs the port factory the options ask for; the emulated cards, or null.
std::shared_ptr<CardBank> install_sim_ports(RecordingHost& host, const SimOptions& options);
