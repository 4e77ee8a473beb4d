#include "tools/sim/sim_cards.h"

#include "cards/serial_posix.h"
#include "tools/cards/emu/emulated_port.h"
#include "tools/sim/recording_host.h"
#include "tools/sim/sim_runner.h"

std::shared_ptr<CardBank> install_sim_ports(RecordingHost& host, const SimOptions& options) {
  if (options.real_ports) {
    host.port_factory = open_posix_serial;
    host.real_time = true;
    return nullptr;
  }
  if (options.cards.empty()) return nullptr;
  auto bank = std::make_shared<CardBank>(options.cards);
  // The emulated cards answer at once; a wait for an answer that does not come costs
  // simulated time only.
  host.port_factory = [bank, &host](int com, std::string& reason) -> std::unique_ptr<SerialPort> {
    (void)reason;
    if (com != 1) return nullptr;
    return std::make_unique<EmulatedPort>(bank, [&host](int ms) { host.sleep_ms(ms); });
  };
  return bank;
}
