// zir-remote CODE...: sends each code (0..65535) as one datagram to the remote-control socket
// of the ZIR window running for this user. The window takes one code per tick, in order.
#include <cstdio>
#include <string>

#include "trains/remote_socket.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zir-remote CODE...   (codes 0..65535)\n");
    return 2;
  }
  const std::string path = remote_socket_path();
  if (path.empty()) {
    std::fprintf(stderr, "zir-remote: XDG_RUNTIME_DIR is not set\n");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    int code = 0;
    if (!parse_remote_code(argv[i], code)) {
      std::fprintf(stderr, "zir-remote: '%s' is not a code 0..65535\n", argv[i]);
      return 2;
    }
  }
  for (int i = 1; i < argc; ++i) {
    int code = 0;
    parse_remote_code(argv[i], code);
    std::string error;
    if (!send_remote_code(path, code, error)) {
      std::fprintf(stderr, "zir-remote: %s: %s\n", path.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
