// The emulated cards behind the program's serial-port interface, in the same process: what
// the program writes reaches the cards at once, and a wait for bytes that will not come costs
// its full time limit through `wait` (a simulated clock in zir-sim and the tests).
#pragma once

#include <functional>
#include <memory>

#include "core/host.h"
#include "tools/cards/emu/card_bank.h"

class EmulatedPort : public SerialPort {
 public:
  EmulatedPort(std::shared_ptr<CardBank> bank, std::function<void(int)> wait)
      : bank_(std::move(bank)), wait_(std::move(wait)) {}

  Setup configure(std::string&) override;
  bool write_bytes(const uint8_t* data, size_t count) override;
  size_t read_bytes(uint8_t* data, size_t count, int timeout_ms) override;
  void purge() override;
  std::string name() const override { return "cartes émulées"; }

 private:
  std::shared_ptr<CardBank> bank_;
  std::function<void(int)> wait_;
  std::vector<uint8_t> pending_;  // replied bytes not read yet
};
