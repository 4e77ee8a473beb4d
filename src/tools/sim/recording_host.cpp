#include "tools/sim/recording_host.h"

#include <chrono>
#include <ostream>
#include <thread>

std::string RecordingHost::box_line(const std::string& title, const std::string& text) {
  std::string line = "BOX " + title + "|";
  for (char c : text) {
    if (c == '\n')
      line += "\\n";
    else
      line += c;
  }
  return line;
}

void RecordingHost::message_box(const std::string& title, const std::string& text, BoxIcon icon) {
  boxes.push_back({title, text, icon, false});
  if (echo != nullptr) *echo << box_line(title, text) << '\n';
}

uint32_t RecordingHost::now_ms() {
  if (!real_time) return clock_ms;
  using namespace std::chrono;
  return static_cast<uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void RecordingHost::sleep_ms(int ms) {
  if (ms <= 0) return;
  if (real_time) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  } else {
    clock_ms += static_cast<uint32_t>(ms);
  }
}

bool RecordingHost::ask_yes_no(const std::string& title, const std::string& text, BoxIcon icon) {
  boxes.push_back({title, text, icon, true});
  if (echo != nullptr) *echo << box_line(title, text) << '\n';
  if (answers.empty()) return false;
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

bool RecordingHost::open_document(const std::string& path) {
  opened.push_back(path);
  return true;
}

bool RecordingHost::run_external(const ExternalCommand& command, std::string& reason) {
  launched.push_back(command);
  return external ? external(command, reason) : true;
}

std::unique_ptr<SerialPort> RecordingHost::open_serial(int com, std::string& reason) {
  // Without a factory every port is absent, with nothing more to say about it.
  if (port_factory) return port_factory(com, reason);
  return nullptr;
}
