#include "tools/cards/emu/emulated_port.h"

#include <algorithm>

SerialPort::Setup EmulatedPort::configure(std::string&) {
  purge();
  return kSettingsApplied;
}

void EmulatedPort::purge() {
  bank_->reset_line();
  pending_.clear();
}

bool EmulatedPort::write_bytes(const uint8_t* data, size_t count) {
  bank_->receive(data, count);
  return true;
}

size_t EmulatedPort::read_bytes(uint8_t* data, size_t count, int timeout_ms) {
  bank_->line_quiet();
  for (EmuReply& reply : bank_->outbox()) {
    pending_.insert(pending_.end(), reply.bytes.begin(), reply.bytes.end());
  }
  bank_->outbox().clear();
  const size_t got = std::min(count, pending_.size());
  std::copy_n(pending_.begin(), got, data);
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(got));
  // Nothing more arrives while the program waits: the wait runs to its limit.
  if (got < count && timeout_ms > 0) wait_(timeout_ms);
  return got;
}
