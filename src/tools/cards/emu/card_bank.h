// Up to four emulated I/O cards sharing one serial line, at the byte level: they answer the
// probe bytes, 55-byte command frames and direct register accesses exactly as the program
// expects the real cards to, and faults can be injected to exercise the recovery.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "cards/card_link.h"

// "0,2" to the card numbers; false when the list names anything else.
bool parse_card_list(const std::string& list, std::vector<int>& cards);

struct EmulatedCard {
  bool present = false;
  std::array<uint8_t, 16> det{};
  std::array<uint8_t, 80> in{};
  std::array<uint8_t, 5> can{};
  std::array<uint8_t, 256> reg{};
  std::array<uint8_t, kCommandBytes> last_frame{};
  int frames = 0;       // command frames received
  int drop = 0;         // the next N frames get no answer
  int corrupt = 0;      // the next N frames are answered with 0x82 first
  bool silent = false;  // answers nothing at all
};

// What the cards send back for one request, and the size of that request on the line.
struct EmuReply {
  std::vector<uint8_t> bytes;
  size_t request_bytes = 0;
};

class CardBank {
 public:
  // `cards` lists the card numbers present (0..3).
  explicit CardBank(const std::vector<int>& cards);

  // Bytes sent by the program; replies queue up in the outbox.
  void receive(const uint8_t* data, size_t count);
  // The line has gone quiet: a command byte not followed by a frame was a probe.
  void line_quiet();
  bool probe_pending() const { return state_ == State::Command; }

  std::deque<EmuReply>& outbox() { return outbox_; }
  // Forgets a half-received request and every queued reply (a purge of the line).
  void reset_line();

  // A text command: "det C I V", "in C I V", "can C I V", "reg C ADDR V", "drop C N",
  // "corrupt C N", "silent C", "resume C". Empty on success, else what was wrong.
  std::string apply(const std::vector<std::string>& words);
  // "FRAME C: " and the 55 bytes of card C's last command frame in lower-case hex (zeros
  // before the first frame).
  std::string frame_line(int card) const;

  const EmulatedCard& card(int c) const { return cards_[static_cast<size_t>(c)]; }
  // What a card measures, for a model of the layout behind the cards to set.
  EmulatedCard& card_inputs(int c) { return cards_[static_cast<size_t>(c)]; }
  // Called with each valid command frame of a present card, before the card answers it.
  std::function<void(int card, const std::array<uint8_t, kCommandBytes>& frame)> on_frame;
  bool present(int c) const {
    return c >= 0 && c < kCards && cards_[static_cast<size_t>(c)].present;
  }

 private:
  enum class State { Idle, Command, Frame, DirectAddress, DirectOperation, DirectData };

  void idle_byte(uint8_t byte);
  void answer_probe();
  void frame_complete();
  void reply(std::vector<uint8_t> bytes, size_t request_bytes);
  std::vector<uint8_t> answer_of(const EmulatedCard& c) const;
  bool answers(int c) const { return present(c) && !cards_[static_cast<size_t>(c)].silent; }

  std::array<EmulatedCard, kCards> cards_{};
  int card_count_ = 0;
  State state_ = State::Idle;
  std::array<uint8_t, kCommandBytes> frame_{};
  size_t frame_size_ = 0;
  int selected_ = -1;  // the card addressed by the last frame: direct accesses go to it
  uint8_t address_ = 0;
  std::deque<EmuReply> outbox_;
};
