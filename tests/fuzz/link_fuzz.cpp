// What arrives from outside while running: the cards' replies (to the search's probes and to
// the command frames), remote-control datagrams, and variable labels.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "cards/card_exchange.h"
#include "cards/card_link.h"
#include "cards/card_search.h"
#include "core/var_bus.h"
#include "fuzz/fuzz_target.h"
#include "trains/driving.h"
#include "trains/remote_socket.h"

namespace {

// A serial line whose replies are the fuzz bytes: each read takes the next byte as a length,
// then up to that many bytes; an exhausted input reads nothing, as a silent line does.
class FuzzPort : public SerialPort {
 public:
  FuzzPort(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  Setup configure(std::string&) override { return kSettingsApplied; }
  bool write_bytes(const uint8_t*, size_t) override { return true; }
  size_t read_bytes(uint8_t* out, size_t count, int) override {
    if (pos_ >= size_) return 0;
    const size_t wanted = std::min<size_t>(count, data_[pos_++]);
    const size_t n = std::min(wanted, size_ - pos_);
    std::memcpy(out, data_ + pos_, n);
    pos_ += n;
    return n;
  }
  void purge() override {}
  std::string name() const override { return "fuzz"; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

void serve_fuzz_port(FuzzLayout& layout, const uint8_t* data, size_t size) {
  layout.host.port_factory = [data, size](int com, std::string&) -> std::unique_ptr<SerialPort> {
    if (com != 1) return nullptr;
    return std::make_unique<FuzzPort>(data, size);
  };
}

constexpr int kExchangeTicks = 4;

}  // namespace

FUZZ_TARGET(card_discovery) {
  FuzzLayout layout("");
  serve_fuzz_port(layout, data, size);
  open_cards(layout.sys);
  return 0;
}

// Every card linked on a line that replies with the fuzz bytes; the operator answers Yes to
// the reconnect question when the first byte is odd.
FUZZ_TARGET(card_answer) {
  if (size == 0) return 0;
  FuzzLayout layout("");
  for (int i = 0; i < 8; ++i) layout.host.answers.push_back((data[0] & 1) != 0);
  System& sys = layout.sys;
  sys.cardlink.serial.port = std::make_unique<FuzzPort>(data + 1, size - 1);
  sys.cardlink.serial.com = 1;
  sys.cardlink.serial.active = 1;
  for (CardLink& link : sys.cardlink.links) link.linked = 1;
  for (int i = 0; i < kExchangeTicks; ++i) exchange_cards(sys);
  switch_off_cards(sys);
  return 0;
}

// Datagrams separated by NUL bytes, taken one a tick as the window does.
FUZZ_TARGET(remote) {
  FuzzLayout layout("");
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const size_t end = std::min(rest.find('\0'), rest.size());
    int code = 0;
    if (parse_remote_code(rest.substr(0, end), code)) {
      layout.sys.screen.remote_key = code;
      remote_step(layout.sys);
    }
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  return 0;
}

// A label converts to a number and back to a label that names the same number.
FUZZ_TARGET(label) {
  FuzzLayout layout("");
  const std::string label(reinterpret_cast<const char*>(data), size);
  const VarNum n = var_from_label(layout.sys, label.c_str());
  if (n < 0) return 0;
  if (var_from_label(layout.sys, var_label(layout.sys, n).c_str()) != n) std::abort();
  var_write(layout.sys, n, var_read(layout.sys, n));
  return 0;
}
