#include "tools/sim/sim_cards.h"

#include <ostream>

#include "cards/serial_posix.h"
#include "tools/cards/emu/emulated_port.h"
#include "tools/sim/recording_host.h"
#include "tools/sim/sim_runner.h"

namespace {

std::shared_ptr<CardBank> install_emulated_cards(RecordingHost& host,
                                                 const std::vector<int>& cards) {
  auto bank = std::make_shared<CardBank>(cards);
  // The emulated cards answer at once; a wait for an answer that does not come costs
  // simulated time only.
  host.port_factory = [bank, &host](int com, std::string& reason) -> std::unique_ptr<SerialPort> {
    (void)reason;
    if (com != 1) return nullptr;
    return std::make_unique<EmulatedPort>(bank, [&host](int ms) { host.sleep_ms(ms); });
  };
  return bank;
}

}  // namespace

std::shared_ptr<CardBank> install_sim_ports(RecordingHost& host, const SimOptions& options) {
  if (options.real_ports) {
    host.port_factory = open_posix_serial;
    host.real_time = true;
    return nullptr;
  }
  if (options.cards.empty()) return nullptr;
  return install_emulated_cards(host, options.cards);
}

std::unique_ptr<VirtualLayout> install_sim_layout(RecordingHost& host, const SimOptions& options,
                                                  std::ostream& out,
                                                  std::shared_ptr<CardBank>& bank,
                                                  std::string& error) {
  LayoutTrack track;
  if (!read_layout_track(options.dir, track, error)) return nullptr;
  bank = install_emulated_cards(host, options.cards.empty() ? layout_cards(track) : options.cards);
  // The runner moves the trains after each tick, by one tick's time.
  auto layout = std::make_unique<VirtualLayout>(
      track, [&out](const std::string& line) { out << line << '\n'; });
  layout->connect(*bank);
  return layout;
}
