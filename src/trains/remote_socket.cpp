#include "trains/remote_socket.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/system.h"

namespace {

bool make_address(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
  return true;
}

const sockaddr* as_sockaddr(const sockaddr_un& addr) {
  return reinterpret_cast<const sockaddr*>(&addr);
}

// A socket file that nobody receives on any more (left by a run that crashed).
bool is_stale_socket(const sockaddr_un& addr) {
  struct stat st;
  if (lstat(addr.sun_path, &st) != 0 || !S_ISSOCK(st.st_mode)) return false;
  int probe = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  const bool refused = connect(probe, as_sockaddr(addr), sizeof addr) != 0 && errno == ECONNREFUSED;
  close(probe);
  return refused;
}

std::string system_error(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

bool parse_remote_code(std::string_view text, int& code) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    value = value * 10 + (ch - '0');
  }
  if (value > kMaxRemoteCode) return false;
  code = value;
  return true;
}

std::string remote_socket_path() {
  const char* dir = std::getenv("XDG_RUNTIME_DIR");
  if (dir == nullptr || dir[0] == '\0') return {};
  return std::string(dir) + "/zir-remote";
}

RemoteSocket::RemoteSocket(std::string path) : path_(std::move(path)) {
  sockaddr_un addr;
  if (!make_address(path_, addr)) {
    error_ = "chemin de socket invalide";
    return;
  }
  fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) {
    error_ = system_error("socket");
    return;
  }
  if (is_stale_socket(addr)) unlink(addr.sun_path);
  // Only the user may write: the socket is created with mode 0600.
  const mode_t old_mask = umask(0177);
  const int bound = bind(fd_, as_sockaddr(addr), sizeof addr);
  umask(old_mask);
  struct stat st;
  if (bound != 0) {
    error_ = system_error("bind");
    close(fd_);
    fd_ = -1;
  } else if (lstat(path_.c_str(), &st) == 0) {
    device_ = st.st_dev;
    inode_ = st.st_ino;
  }
}

RemoteSocket::~RemoteSocket() {
  if (fd_ < 0) return;
  close(fd_);
  // Only the file this program bound: if it was removed and another program bound the same
  // path since, that program's socket stays.
  struct stat st;
  if (lstat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_)
    unlink(path_.c_str());
}

void RemoteSocket::poll(System& sys) {
  if (fd_ < 0) return;
  char buffer[64];
  while (sys.screen.remote_key == -1) {
    const ssize_t n = recv(fd_, buffer, sizeof buffer, MSG_TRUNC);
    if (n < 0) return;  // nothing waiting (or an error: try again next time)
    int code = 0;
    if (static_cast<size_t>(n) <= sizeof buffer &&
        parse_remote_code(std::string_view(buffer, static_cast<size_t>(n)), code)) {
      sys.screen.remote_key = code;
    }
  }
}

bool send_remote_code(const std::string& path, int code, std::string& error) {
  sockaddr_un addr;
  if (!make_address(path, addr)) {
    error = "invalid socket path";
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = system_error("socket");
    return false;
  }
  const std::string text = std::to_string(code);
  const ssize_t sent = sendto(fd, text.data(), text.size(), 0, as_sockaddr(addr), sizeof addr);
  if (sent != static_cast<ssize_t>(text.size())) error = system_error("sendto");
  close(fd);
  return sent == static_cast<ssize_t>(text.size());
}
