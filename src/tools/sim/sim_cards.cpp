#include "tools/sim/sim_cards.h"

#include <ostream>

#include "cards/serial_posix.h"
#include "core/recording_host.h"
#include "tools/cards/emu/emulated_port.h"
#include "tools/sim/sim_runner.h"

bool install_sim_ports(RecordingHost& host, const SimOptions& options, std::ostream& out,
                       SimCards& cards, std::string& error) {
  if (options.real_ports) {
    host.port_factory = open_posix_serial;
    host.real_time = true;
    return true;
  }
  std::vector<int> card_numbers = options.cards;
  LayoutTrack track;
  if (options.layout) {
    if (!read_layout_track(options.dir, track, error)) return false;
    if (card_numbers.empty()) card_numbers = layout_cards(track);
  }
  if (card_numbers.empty()) return true;
  auto bank = std::make_shared<CardBank>(card_numbers);
  if (options.layout) {
    // The runner moves the trains after each tick, by one tick's time.
    cards.layout = std::make_unique<VirtualLayout>(
        track, [&out](const std::string& line) { out << line << '\n'; });
    cards.layout->connect(*bank);
  }
  // The emulated cards answer at once; a wait for an answer that does not come costs
  // simulated time only.
  host.port_factory = [bank, &host](int com, std::string& reason) -> std::unique_ptr<SerialPort> {
    (void)reason;
    if (com != 1) return nullptr;
    return std::make_unique<EmulatedPort>(bank, [&host](int ms) { host.sleep_ms(ms); });
  };
  cards.bank = bank;
  return true;
}
