#include "app/posix_serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::array<const char*, 6> kDefaultDevices = {
    "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1"};

// Waits until the descriptor is ready for `events`; false after `timeout_ms`.
bool wait_ready(int fd, short events, int timeout_ms) {
  pollfd p{fd, events, 0};
  int r;
  do {
    r = poll(&p, 1, timeout_ms);
  } while (r < 0 && errno == EINTR);
  return r > 0 && (p.revents & events);
}

class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~PosixSerialPort() override { close(fd_); }

  bool write_bytes(const uint8_t* data, size_t count) override {
    size_t done = 0;
    while (done < count) {
      const ssize_t n = write(fd_, data + done, count - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
        return false;
      } else if (!wait_ready(fd_, POLLOUT, 1000)) {
        return false;
      }
    }
    return true;
  }

  size_t read_bytes(uint8_t* data, size_t count, int timeout_ms) override {
    size_t done = 0;
    while (done < count && wait_ready(fd_, POLLIN, timeout_ms)) {
      const ssize_t n = read(fd_, data + done, count - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
      } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        break;
      }
    }
    return done;
  }

  void purge() override { tcflush(fd_, TCIOFLUSH); }
  std::string name() const override { return path_; }

 private:
  int fd_;
  std::string path_;
};

bool configure_raw_38400(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  cfsetispeed(&t, B38400);
  cfsetospeed(&t, B38400);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

std::string com_device_path(int com) {
  if (com < 1 || com > static_cast<int>(kDefaultDevices.size())) return {};
  const std::string variable = "ZIR_COM" + std::to_string(com);
  if (const char* path = std::getenv(variable.c_str()); path && *path) return path;
  return kDefaultDevices[static_cast<size_t>(com - 1)];
}

std::unique_ptr<SerialPort> open_posix_serial(int com, std::string& reason) {
  const std::string path = com_device_path(com);
  if (path.empty()) {
    reason = "COM" + std::to_string(com) + " inconnu";
    return nullptr;
  }
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = path + " : " + std::strerror(errno);
    return nullptr;
  }
  if (ioctl(fd, TIOCEXCL) != 0 || !configure_raw_38400(fd)) {
    reason = path + " : " + std::strerror(errno);
    close(fd);
    return nullptr;
  }
  tcflush(fd, TCIOFLUSH);
  return std::make_unique<PosixSerialPort>(fd, path);
}
