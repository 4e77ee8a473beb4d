#include "cards/card_link.h"

#include "core/system.h"

namespace {

SerialPort* active_port(System& sys) {
  SerialLink& link = sys.cardlink.serial;
  return link.active && link.port ? link.port.get() : nullptr;
}

int elapsed_ms(System& sys, uint32_t since) {
  return static_cast<int>(sys.host.now_ms() - since);
}

}  // namespace

bool send_byte(System& sys, uint8_t byte) {
  return send_bytes(sys, &byte, 1);
}

bool send_bytes(System& sys, const uint8_t* data, size_t count) {
  SerialPort* port = active_port(sys);
  return port && port->write_bytes(data, count);
}

bool wait_byte(System& sys, uint8_t& byte) {
  SerialPort* port = active_port(sys);
  return port && port->read_bytes(&byte, 1, kWaitLimitMs) == 1;
}

void drain_input(System& sys, int step_ms) {
  SerialPort* port = active_port(sys);
  if (!port) return;
  const uint32_t start = sys.host.now_ms();
  std::array<uint8_t, 256> discard{};
  while (elapsed_ms(sys, start) < kWaitLimitMs) {
    port->read_bytes(discard.data(), discard.size(), 0);
    sys.host.sleep_ms(step_ms);
  }
}

void send_sync_zeros(System& sys) {
  for (int i = 0; i < kSyncZeros; ++i) {
    send_byte(sys, 0);
    sys.host.sleep_ms(1);
  }
}

void sync_link(System& sys) {
  send_sync_zeros(sys);
  drain_input(sys, 5);
}

void close_port(System& sys) {
  SerialLink& link = sys.cardlink.serial;
  link.port.reset();
  link.com = 0;
  link.active = 0;
  link.card_found.fill(0);
}
