// Everything outside the process goes through the Host: message boxes, repaint requests,
// "open" of a document, the millisecond clock, serial ports and quitting. The GTK window
// implements it in src/app; tests and zir-sim use RecordingHost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

class Surface;

enum class BoxIcon { Error, Warning, Information, Question };

// A serial port opened by COM number (1..6). All waits are bounded by the caller's limits.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  enum Setup { kSettingsApplied = 0, kSettingsUnreadable = 1, kSettingsRefused = 2 };
  // Sets 38400 baud, 8 data bits, no parity, 1 stop bit, no flow control, then purges both
  // directions. On failure `reason` says what the system said.
  virtual Setup configure(std::string& reason) = 0;
  virtual bool write_bytes(const uint8_t* data, size_t count) = 0;
  // Reads up to `count` bytes, waiting at most `timeout_ms` for the first one and for each
  // following one; returns how many bytes arrived.
  virtual size_t read_bytes(uint8_t* data, size_t count, int timeout_ms) = 0;
  // Throws away what is waiting in both directions.
  virtual void purge() = 0;
  // The device path or emulator name, for messages.
  virtual std::string name() const = 0;
};

// An external action to start: a document, a URL or a program with its arguments.
struct ExternalCommand {
  int action = 0;
  std::string file;              // UTF-8, the text between the first two quotes
  std::string arguments;         // UTF-8, the rest after the second quote, split by shell rules
  std::filesystem::path folder;  // the layout's folder: relative names start there
};

class Host {
 public:
  virtual ~Host() = default;
  // Texts and titles are UTF-8.
  virtual void message_box(const std::string& title, const std::string& text, BoxIcon icon) = 0;
  // A Yes/No box; true for Yes.
  virtual bool ask_yes_no(const std::string& title, const std::string& text, BoxIcon icon) = 0;
  virtual void request_repaint() = 0;
  // Copies a rectangle of an off-screen surface to the same place in the window.
  virtual void present(const Surface& s, int x, int y, int w, int h) = 0;
  // Closes the window: the orderly shutdown runs, then the program ends with status 0.
  virtual void request_quit() = 0;
  // The desktop's "open" of a document or program; false when it could not be started.
  virtual bool open_document(const std::string& path) = 0;
  // Starts an external action without waiting for it (never through a shell); false with the
  // system's reason when nothing could be started.
  virtual bool run_external(const ExternalCommand& command, std::string& reason) = 0;
  virtual uint32_t now_ms() = 0;
  virtual void sleep_ms(int ms) = 0;
  // Opens COMn; on failure returns null and sets `reason` to what the system said.
  virtual std::unique_ptr<SerialPort> open_serial(int com, std::string& reason) = 0;
};
