// zir-cards: stands in for one to four I/O cards on a pseudo-terminal, so that the program can
// be run and measured without a layout.
//
//   zir-cards [--cards 0,2] [--layout DIR] [--link PATH] [--wire-time]
//
// Prints the terminal's path, then answers there. Lines on standard input change what the
// cards report or inject faults: det|in|can C I V, reg C ADDR V, drop|corrupt C N,
// silent|resume C, frame C (prints the last command frame), quit.
//
// With --layout the cards stand in front of a virtual layout built from DIR/config.txt (and
// DIR/virtual_layout.txt): trains move under the cantons' power and the detections follow.
// Its events are printed one a line, and place T CANTON [CM], remove T and status are taken
// on standard input. Without --cards, the cards are those the layout uses.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tools/cards/emu/card_bank.h"
#include "tools/cards/emu/virtual_layout.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQuietTime = std::chrono::milliseconds(3);  // a lone command byte is a probe
constexpr double kByteMicroseconds = 10 * 1e6 / 38400;     // start, 8 data and stop bits

volatile sig_atomic_t g_stop = 0;

void on_signal(int) {
  g_stop = 1;
}

struct Options {
  std::vector<int> cards;
  std::string link;
  std::string layout;
  bool wire_time = false;
};

bool parse_options(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--wire-time") {
      options.wire_time = true;
    } else if (arg == "--cards" && i + 1 < argc) {
      if (!parse_card_list(argv[++i], options.cards)) return false;
    } else if (arg == "--link" && i + 1 < argc) {
      options.link = argv[++i];
    } else if (arg == "--layout" && i + 1 < argc) {
      options.layout = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

struct Scheduled {
  Clock::time_point due;
  std::vector<uint8_t> bytes;
};

class Emulator {
 public:
  Emulator(CardBank& bank, VirtualLayout* layout, int master, bool wire_time)
      : bank_(bank), layout_(layout), master_(master), wire_time_(wire_time) {}

  int run();

 private:
  void read_line_bytes();
  bool read_commands();  // false on quit
  bool command(const std::string& line);
  void schedule_replies(Clock::time_point now);
  void send_due(Clock::time_point now);
  // How long poll may sleep: until the next reply is due or a lone byte has become a probe.
  bool timeout(Clock::time_point now, timespec& limit) const;

  CardBank& bank_;
  VirtualLayout* layout_;  // null without --layout
  int master_;
  bool wire_time_;
  bool stdin_open_ = true;
  std::string input_;
  std::deque<Scheduled> schedule_;
  Clock::time_point last_byte_{};
};

bool Emulator::timeout(Clock::time_point now, timespec& limit) const {
  Clock::time_point until = Clock::time_point::max();
  if (!schedule_.empty()) until = schedule_.front().due;
  if (bank_.probe_pending()) until = std::min(until, last_byte_ + kQuietTime);
  if (until == Clock::time_point::max()) return false;
  const long ns =
      std::max<long>(0, std::chrono::duration_cast<std::chrono::nanoseconds>(until - now).count());
  limit.tv_sec = ns / 1000000000;
  limit.tv_nsec = ns % 1000000000;
  return true;
}

// Each reply leaves when the request and the reply would have crossed a 38400-baud line.
void Emulator::schedule_replies(Clock::time_point now) {
  for (EmuReply& reply : bank_.outbox()) {
    auto due = now;
    if (wire_time_) {
      const double us =
          kByteMicroseconds * static_cast<double>(reply.request_bytes + reply.bytes.size());
      due += std::chrono::microseconds(static_cast<long>(us));
    }
    schedule_.push_back({due, std::move(reply.bytes)});
  }
  bank_.outbox().clear();
}

void Emulator::send_due(Clock::time_point now) {
  while (!schedule_.empty() && schedule_.front().due <= now) {
    const std::vector<uint8_t>& bytes = schedule_.front().bytes;
    if (write(master_, bytes.data(), bytes.size()) < 0 && errno != EAGAIN) {
      std::perror("zir-cards: write");
    }
    schedule_.pop_front();
  }
}

void Emulator::read_line_bytes() {
  uint8_t buffer[512];
  const ssize_t n = read(master_, buffer, sizeof buffer);
  if (n <= 0) return;
  last_byte_ = Clock::now();
  bank_.receive(buffer, static_cast<size_t>(n));
  schedule_replies(last_byte_);
}

bool Emulator::command(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  if (words.empty() || words[0][0] == '#') return true;
  if (words[0] == "quit") return false;
  if (words[0] == "frame" && words.size() == 2 && words[1].size() == 1 && words[1][0] >= '0' &&
      words[1][0] <= '3') {
    std::printf("%s\n", bank_.frame_line(words[1][0] - '0').c_str());
    std::fflush(stdout);
    return true;
  }
  std::string error;
  if (layout_ == nullptr || !layout_->command(words, error)) error = bank_.apply(words);
  if (!error.empty()) std::fprintf(stderr, "zir-cards: %s\n", error.c_str());
  return true;
}

bool Emulator::read_commands() {
  char buffer[512];
  const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
  if (n <= 0) {
    stdin_open_ = false;  // keep answering the line without a console
    return true;
  }
  input_.append(buffer, static_cast<size_t>(n));
  for (size_t end; (end = input_.find('\n')) != std::string::npos;) {
    const std::string line = input_.substr(0, end);
    input_.erase(0, end + 1);
    if (!command(line)) return false;
  }
  return true;
}

int Emulator::run() {
  while (!g_stop) {
    pollfd fds[2] = {{master_, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    timespec limit{};
    const bool bounded = timeout(Clock::now(), limit);
    const int r = ppoll(fds, stdin_open_ ? 2 : 1, bounded ? &limit : nullptr, nullptr);
    if (r < 0 && errno != EINTR) {
      std::perror("zir-cards: poll");
      return 1;
    }
    if (r > 0 && (fds[0].revents & POLLIN)) read_line_bytes();
    if (r > 0 && stdin_open_ && (fds[1].revents & (POLLIN | POLLHUP))) {
      if (!read_commands()) return 0;
    }
    const auto now = Clock::now();
    if (bank_.probe_pending() && now - last_byte_ >= kQuietTime) {
      bank_.line_quiet();
      schedule_replies(now);
    }
    send_due(now);
  }
  return 0;
}

// Raw from the start: no echo of the replies before the program sets the line up itself.
bool make_raw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

void print_line(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

double now_ms() {
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse_options(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: zir-cards [--cards 0,2] [--layout DIR] [--link PATH] [--wire-time]\n");
    return 2;
  }
  LayoutTrack track;
  if (!options.layout.empty()) {
    std::string error;
    if (!read_layout_track(options.layout, track, error)) {
      std::fprintf(stderr, "zir-cards: %s\n", error.c_str());
      return 1;
    }
    if (options.cards.empty()) options.cards = layout_cards(track);
  }
  if (options.cards.empty()) options.cards = {0};
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("zir-cards: pseudo-terminal");
    return 1;
  }
  const std::string path = ptsname(master);
  // Keeping the terminal open ourselves means the program may close and reopen it while the
  // cards keep answering.
  const int keep = open(path.c_str(), O_RDWR | O_NOCTTY);
  if (keep < 0 || !make_raw(keep)) {
    std::perror("zir-cards: terminal");
    return 1;
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  if (!options.link.empty()) {
    struct stat st {};
    if (lstat(options.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) unlink(options.link.c_str());
    if (symlink(path.c_str(), options.link.c_str()) != 0) {
      std::perror("zir-cards: --link");
      return 1;
    }
  }
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);

  std::printf("%s\n", path.c_str());
  std::fflush(stdout);
  CardBank bank(options.cards);
  std::unique_ptr<VirtualLayout> layout;
  if (!options.layout.empty()) {
    layout = std::make_unique<VirtualLayout>(track, print_line);
    layout->connect(bank, now_ms);
  }
  const int status = Emulator(bank, layout.get(), master, options.wire_time).run();
  if (!options.link.empty()) unlink(options.link.c_str());
  close(keep);
  close(master);
  return status;
}
