// A Host without a window: boxes are collected (and optionally printed as "BOX title|text"),
// Yes/No answers come from a queue (No when empty), the clock is simulated so that waits cost
// no real time, and serial ports come from a factory that tests and zir-sim install.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/surface.h"

struct RecordedBox {
  std::string title;
  std::string text;
  BoxIcon icon;
  bool question;
};

class RecordingHost : public Host {
 public:
  using PortFactory = std::function<std::unique_ptr<SerialPort>(int com, std::string& reason)>;

  void message_box(const std::string& title, const std::string& text, BoxIcon icon) override;
  bool ask_yes_no(const std::string& title, const std::string& text, BoxIcon icon) override;
  void request_repaint() override { ++repaints; }
  bool open_document(const std::string& path) override;
  bool run_external(const ExternalCommand& command, std::string& reason) override;
  uint32_t now_ms() override;
  void sleep_ms(int ms) override;
  std::unique_ptr<SerialPort> open_serial(int com, std::string& reason) override;
  void present(const Surface& s, int x, int y, int w, int h) override {
    frame.present(s, x, y, w, h);
  }
  void request_quit() override { quit_requested = true; }

  // The box as zir-sim prints it: "BOX title|text" with line breaks written \n.
  static std::string box_line(const std::string& title, const std::string& text);

  std::vector<RecordedBox> boxes;
  std::deque<bool> answers;
  std::vector<std::string> opened;
  // Every external action asked for; `external`, when set, answers in place of starting it.
  std::vector<ExternalCommand> launched;
  std::function<bool(const ExternalCommand&, std::string& reason)> external;
  int repaints = 0;
  uint32_t clock_ms = 0;
  // The machine's clock and real sleeps instead of clock_ms: a real serial line needs its
  // pauses to last (zir-sim --real-ports).
  bool real_time = false;
  PortFactory port_factory;
  std::ostream* echo = nullptr;  // where each box is printed as its box_line, if set
  FrontBuffer frame;             // what the window would show
  bool quit_requested = false;
};
