#include "trains/remote_socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "support/temp_dir.h"

namespace {

TEST(RemoteCode, Parsing) {
  struct Case {
    const char* text;
    bool ok;
    int code;
  };
  const Case cases[] = {{"0", true, 0},       {"42", true, 42},    {"65535", true, 65535},
                        {"12\n", true, 12},   {"65536", false, 0}, {"", false, 0},
                        {"-1", false, 0},     {"1 2", false, 0},   {"4x", false, 0},
                        {"000001", false, 0}, {"\n", false, 0}};
  for (const Case& c : cases) {
    int code = -7;
    EXPECT_EQ(parse_remote_code(c.text, code), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(code, c.code) << c.text;
    }
  }
}

struct RemoteSocketTest : ::testing::Test {
  TestSystem t;
  std::string path = (t.dir.path() / "zir-remote").string();

  void send_raw(const std::string& bytes) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_GE(fd, 0);
    sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    close(fd);
  }
};

TEST_F(RemoteSocketTest, OneCodePerTickInOrderMalformedDropped) {
  RemoteSocket receiver(path);
  ASSERT_TRUE(receiver.listening()) << receiver.error();
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  std::string error;
  ASSERT_TRUE(send_remote_code(path, 20, error)) << error;
  send_raw("garbage");
  send_raw(std::string(200, '7'));
  ASSERT_TRUE(send_remote_code(path, 1, error)) << error;

  receiver.poll(t.sys);
  EXPECT_EQ(t.sys.screen.remote_key, 20);
  receiver.poll(t.sys);  // the key has not been consumed yet: nothing more is taken
  EXPECT_EQ(t.sys.screen.remote_key, 20);
  t.sys.screen.remote_key = -1;
  receiver.poll(t.sys);
  EXPECT_EQ(t.sys.screen.remote_key, 1);
  t.sys.screen.remote_key = -1;
  receiver.poll(t.sys);
  EXPECT_EQ(t.sys.screen.remote_key, -1);
}

TEST_F(RemoteSocketTest, StaleSocketReplacedLiveOneLeftAlone) {
  {
    RemoteSocket first(path);
    ASSERT_TRUE(first.listening());
    RemoteSocket second(path);  // another program already listens there
    EXPECT_FALSE(second.listening());
  }
  // A socket file left behind by a crash (bound, never unlinked).
  int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  close(fd);
  RemoteSocket third(path);
  EXPECT_TRUE(third.listening()) << third.error();
  // A file that is not a socket is never removed.
  t.dir.write("plain", "x");
  RemoteSocket fourth((t.dir.path() / "plain").string());
  EXPECT_FALSE(fourth.listening());
  EXPECT_EQ(t.dir.read("plain"), "x");
}

TEST_F(RemoteSocketTest, ClosingRemovesOnlyItsOwnSocketFile) {
  auto first = std::make_unique<RemoteSocket>(path);
  ASSERT_TRUE(first->listening());
  std::filesystem::remove(path);  // someone removed the file; another program binds the path
  RemoteSocket second(path);
  ASSERT_TRUE(second.listening()) << second.error();
  first.reset();
  std::string error;
  EXPECT_TRUE(send_remote_code(path, 7, error)) << error;
  second.poll(t.sys);
  EXPECT_EQ(t.sys.screen.remote_key, 7);
}

}  // namespace
