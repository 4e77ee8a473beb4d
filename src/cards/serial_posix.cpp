#include "cards/serial_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kDefaultPaths[] = {"/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyUSB0",
                                         "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1"};

int64_t monotonic_ms() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string system_reason() {
  return std::strerror(errno);
}

// Waits in poll() for `events` on fd; true when they came before the time limit.
bool wait_for(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int r = poll(&p, 1, timeout_ms);
    if (r < 0 && errno == EINTR) continue;
    return r > 0 && (p.revents & events) != 0;
  }
}

class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixSerialPort() override {
    ioctl(fd_, TIOCNXCL);
    close(fd_);
  }
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  Setup configure(std::string& reason) override {
    termios t{};
    if (tcgetattr(fd_, &t) != 0) {
      reason = system_reason();
      return kSettingsUnreadable;
    }
    cfmakeraw(&t);  // no echo, no line editing, no byte translation
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
    t.c_cflag |= CS8 | CLOCAL | CREAD;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, B38400) != 0 || cfsetospeed(&t, B38400) != 0 ||
        tcsetattr(fd_, TCSANOW, &t) != 0) {
      reason = system_reason();
      return kSettingsRefused;
    }
    purge();
    return kSettingsApplied;
  }

  // Written within 1 ms a byte plus 5 ms, as the port's write time-out allows.
  bool write_bytes(const uint8_t* data, size_t count) override {
    const int64_t deadline = monotonic_ms() + static_cast<int64_t>(count) + 5;
    size_t done = 0;
    while (done < count) {
      const ssize_t n = write(fd_, data + done, count - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
      const int64_t left = deadline - monotonic_ms();
      if (left <= 0 || !wait_for(fd_, POLLOUT, static_cast<int>(left))) return false;
    }
    return true;
  }

  size_t read_bytes(uint8_t* data, size_t count, int timeout_ms) override {
    size_t got = 0;
    while (got < count) {
      const ssize_t n = read(fd_, data + got, count - got);
      if (n > 0) {
        got += static_cast<size_t>(n);
        continue;
      }
      // With VMIN = 0 an empty terminal reads 0 bytes; poll() then waits for data and reports
      // a line that hung up without POLLIN, which ends the read.
      if (n < 0 && errno != EAGAIN && errno != EINTR) break;
      if (!wait_for(fd_, POLLIN, timeout_ms)) break;
    }
    return got;
  }

  void purge() override { tcflush(fd_, TCIOFLUSH); }

  std::string name() const override { return path_; }

 private:
  int fd_;
  std::string path_;
};

}  // namespace

std::string com_device_path(int com) {
  if (com < 1 || com > 6) return {};
  const std::string variable = "ZIR_COM" + std::to_string(com);
  const char* path = std::getenv(variable.c_str());
  return path && *path ? path : kDefaultPaths[com - 1];
}

std::unique_ptr<SerialPort> open_posix_serial(int com, std::string& reason) {
  const std::string path = com_device_path(com);
  if (path.empty()) {
    reason = "COM" + std::to_string(com) + " inconnu";
    return nullptr;
  }
  return open_posix_serial_path(path, reason);
}

std::unique_ptr<SerialPort> open_posix_serial_path(const std::string& path, std::string& reason) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = path + " : " + system_reason();
    return nullptr;
  }
  // Exclusive: TIOCEXCL keeps other programs from opening the device, the lock keeps a
  // second ZIR away even when it runs as root. A path that is no terminal at all opens here
  // and is refused when its settings are read.
  const bool exclusive = ioctl(fd, TIOCEXCL) == 0 || errno == ENOTTY;
  if (!exclusive || flock(fd, LOCK_EX | LOCK_NB) != 0) {
    reason = path + " : " + system_reason();
    close(fd);
    return nullptr;
  }
  return std::make_unique<PosixSerialPort>(fd, path);
}
