// The remote-control receiver: a local datagram socket ($XDG_RUNTIME_DIR/zir-remote, mode 0600)
// on which another program of the same user sends one decimal code per datagram. The window
// polls it from its main loop; each code becomes the remote key, one per tick.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

struct System;

constexpr int kMaxRemoteCode = 0xFFFF;

// A datagram's text as a code 0..65535 (digits, then at most one line feed); false otherwise.
bool parse_remote_code(std::string_view text, int& code);

// $XDG_RUNTIME_DIR/zir-remote, or empty when the variable is not set.
std::string remote_socket_path();

class RemoteSocket {
 public:
  // Binds the socket; a stale socket left by an earlier run is replaced, one that another
  // running program still owns is left alone (then listening() is false and `error` says why).
  explicit RemoteSocket(std::string path);
  ~RemoteSocket();
  RemoteSocket(const RemoteSocket&) = delete;
  RemoteSocket& operator=(const RemoteSocket&) = delete;

  bool listening() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  const std::string& error() const { return error_; }

  // While no remote key waits to be consumed, takes the next well-formed datagram as the
  // remote key; malformed datagrams are dropped. Never blocks.
  void poll(System& sys);

 private:
  std::string path_;
  std::string error_;
  int fd_ = -1;
  // The socket file this program created, known by its device and inode.
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

// Sends one code to the socket at `path`; false with `error` set when it could not be sent.
bool send_remote_code(const std::string& path, int code, std::string& error);
