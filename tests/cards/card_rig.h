// A System on a recording host whose COM port `com` holds emulated cards: the card code runs
// its real byte-level protocol and every wait costs simulated time only.
#pragma once

#include <memory>
#include <vector>

#include "tools/sim/recording_host.h"
#include "core/system.h"
#include "tools/cards/emu/card_bank.h"
#include "tools/cards/emu/emulated_port.h"

struct CardRig {
  explicit CardRig(const std::vector<int>& cards, int com = 1)
      : bank(std::make_shared<CardBank>(cards)) {
    host.port_factory = [this, com](int n, std::string&) -> std::unique_ptr<SerialPort> {
      if (n != com) return nullptr;
      return std::make_unique<EmulatedPort>(bank, [this](int ms) { host.sleep_ms(ms); });
    };
  }
  void apply(const std::vector<std::string>& words) { ASSERT_EQ(bank->apply(words), ""); }

  RecordingHost host;
  System sys{host};
  std::shared_ptr<CardBank> bank;
};
