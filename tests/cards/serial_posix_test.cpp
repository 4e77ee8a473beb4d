#include "cards/serial_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// The program's side of a pseudo-terminal, opened as a COM port is.
struct PtyPair {
  PtyPair() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master, 0);
    EXPECT_EQ(grantpt(master), 0);
    EXPECT_EQ(unlockpt(master), 0);
    path = ptsname(master);
  }
  ~PtyPair() { close(master); }
  int master = -1;
  std::string path;
};

TEST(SerialPosix, RawBytesBothWaysAndAWaitForLateBytes) {
  PtyPair pty;
  std::string reason;
  auto port = open_posix_serial_path(pty.path, reason);
  ASSERT_NE(port, nullptr) << reason;
  ASSERT_EQ(port->configure(reason), SerialPort::kSettingsApplied) << reason;
  EXPECT_EQ(port->name(), pty.path);

  // Bytes that a cooked terminal would translate or swallow arrive unchanged.
  const uint8_t out[] = {0x00, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0xFF};
  ASSERT_TRUE(port->write_bytes(out, sizeof out));
  uint8_t seen[sizeof out] = {};
  size_t got = 0;
  while (got < sizeof out) {
    const ssize_t n = read(pty.master, seen + got, sizeof out - got);
    ASSERT_GT(n, 0);
    got += static_cast<size_t>(n);
  }
  EXPECT_EQ(std::vector<uint8_t>(seen, seen + got), std::vector<uint8_t>(out, out + sizeof out));

  uint8_t in[3] = {};
  EXPECT_EQ(port->read_bytes(in, 3, 0), 0u);  // nothing queued: no wait
  // Bytes that come a little later are waited for.
  std::thread card([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const uint8_t answer[] = {0x83, 0x0D, 0x00};
    ASSERT_EQ(write(pty.master, answer, sizeof answer), 3);
  });
  EXPECT_EQ(port->read_bytes(in, 3, 2000), 3u);
  card.join();
  EXPECT_EQ(in[0], 0x83);
  EXPECT_EQ(in[1], 0x0D);
  EXPECT_EQ(in[2], 0x00);
}

TEST(SerialPosix, OpenedExclusively) {
  PtyPair pty;
  std::string reason;
  auto first = open_posix_serial_path(pty.path, reason);
  ASSERT_NE(first, nullptr) << reason;
  EXPECT_EQ(open_posix_serial_path(pty.path, reason), nullptr);
  EXPECT_EQ(reason.rfind(pty.path + " : ", 0), 0u);
  first.reset();
  EXPECT_NE(open_posix_serial_path(pty.path, reason), nullptr);  // released on close
}

}  // namespace
