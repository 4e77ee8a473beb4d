#include "tools/cards/emu/card_bank.h"

#include <cstdio>
#include <sstream>

#include "cards/card_link.h"
#include "core/tokens.h"

namespace {

constexpr uint8_t kCorruptMark = 0x82;

// The card a command byte (16 x card + 1) addresses, or -1.
int command_card(uint8_t byte) {
  return (byte & 0x0F) == 1 && byte < kSingleCardProbe ? byte >> 4 : -1;
}

}  // namespace

bool parse_card_list(const std::string& list, std::vector<int>& cards) {
  cards.clear();
  std::stringstream in(list);
  std::string item;
  while (std::getline(in, item, ',')) {
    if (item.size() != 1 || item[0] < '0' || item[0] > '3') return false;
    cards.push_back(item[0] - '0');
  }
  return !cards.empty();
}

CardBank::CardBank(const std::vector<int>& cards) {
  for (int c : cards) {
    if (c < 0 || c >= kCards || cards_[static_cast<size_t>(c)].present) continue;
    cards_[static_cast<size_t>(c)].present = true;
    ++card_count_;
  }
}

void CardBank::receive(const uint8_t* data, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const uint8_t byte = data[i];
    switch (state_) {
      case State::Idle:
        idle_byte(byte);
        break;
      case State::Command:
        // A probe is followed by silence, a frame by 0x08; anything else is no request.
        if (frame_[0] != kSingleCardProbe && byte == kFrameMark) {
          frame_[1] = byte;
          frame_size_ = 2;
          state_ = State::Frame;
        } else {
          state_ = State::Idle;
          idle_byte(byte);
        }
        break;
      case State::Frame:
        frame_[frame_size_++] = byte;
        if (frame_size_ == frame_.size()) frame_complete();
        break;
      case State::DirectAddress:
        address_ = byte;
        state_ = State::DirectOperation;
        break;
      case State::DirectOperation:
        state_ = State::Idle;
        if (byte == kDirectWrite) {
          state_ = State::DirectData;
        } else if (byte == kDirectRead) {
          if (answers(selected_)) reply({cards_[static_cast<size_t>(selected_)].reg[address_]}, 3);
        } else {
          idle_byte(byte);
        }
        break;
      case State::DirectData:
        if (present(selected_)) cards_[static_cast<size_t>(selected_)].reg[address_] = byte;
        state_ = State::Idle;
        break;
    }
  }
}

void CardBank::idle_byte(uint8_t byte) {
  if (byte == kSingleCardProbe || command_card(byte) >= 0) {
    frame_[0] = byte;
    state_ = State::Command;
  } else if (byte == kDirectAccess) {
    state_ = State::DirectAddress;
  }
}

void CardBank::line_quiet() {
  if (state_ == State::Command) answer_probe();
}

// 0x41 asks for a card 0 working alone: it answers only when no other card shares the line,
// so that a line with several cards is always searched card by card.
void CardBank::answer_probe() {
  state_ = State::Idle;
  const uint8_t probe = frame_[0];
  if (probe == kSingleCardProbe) {
    if (answers(0) && card_count_ == 1) reply({kAnswerMark}, 1);
    return;
  }
  const int c = command_card(probe);
  if (answers(c)) reply({static_cast<uint8_t>(kAnswerMark + 16 * c)}, 1);
}

void CardBank::frame_complete() {
  state_ = State::Idle;
  for (size_t i = 0; i < kFrameTrailer.size(); ++i) {
    if (frame_[kFrameTrailerByte + i] != kFrameTrailer[i]) return;
  }
  const int c = command_card(frame_[0]);
  if (!present(c)) return;
  EmulatedCard& card = cards_[static_cast<size_t>(c)];
  card.last_frame = frame_;
  ++card.frames;
  selected_ = c;
  if (on_frame) on_frame(c, frame_);
  if (card.silent) return;
  if (card.drop > 0) {
    --card.drop;
    return;
  }
  std::vector<uint8_t> answer = answer_of(card);
  if (card.corrupt > 0) {
    --card.corrupt;
    answer[0] = kCorruptMark;
  }
  reply(std::move(answer), frame_.size());
}

std::vector<uint8_t> CardBank::answer_of(const EmulatedCard& c) const {
  std::vector<uint8_t> a(kAnswerBytes, 0);
  a[0] = kAnswerMark;
  for (size_t i = 0; i < c.can.size(); ++i) a[1 + i] = c.can[i];
  for (size_t i = 40; i < 80; ++i) {
    if (c.in[i]) a[6 + (i - 40) / 8] |= static_cast<uint8_t>(1u << ((i - 40) % 8));
  }
  for (size_t i = 0; i < c.det.size(); ++i) {
    if (c.det[i]) a[11 + i / 8] |= static_cast<uint8_t>(1u << (i % 8));
  }
  for (size_t i = 0; i < 36; ++i) {
    if (c.in[i]) a[16 + i / 4] |= static_cast<uint8_t>(1u << (i % 4));
  }
  return a;
}

void CardBank::reply(std::vector<uint8_t> bytes, size_t request_bytes) {
  outbox_.push_back({std::move(bytes), request_bytes});
}

void CardBank::reset_line() {
  state_ = State::Idle;
  frame_size_ = 0;
  outbox_.clear();
}

std::string CardBank::apply(const std::vector<std::string>& words) {
  if (words.size() < 2) return "commande incomplète";
  const std::string& verb = words[0];
  int32_t c = -1;
  if (!parse_digits(words[1], c) || !present(c)) return "carte absente : " + words[1];
  EmulatedCard& card = cards_[static_cast<size_t>(c)];
  std::vector<int> args;
  for (size_t i = 2; i < words.size(); ++i) {
    int32_t v = 0;
    if (!parse_whole(words[i], v)) return "nombre attendu : " + words[i];
    args.push_back(v);
  }
  auto set_cell = [&](auto& table, int max_value) -> std::string {
    if (args.size() != 2) return "attendu : " + verb + " C INDEX VALEUR";
    if (args[0] < 0 || args[0] >= static_cast<int>(table.size())) return "index hors limites";
    if (args[1] < 0 || args[1] > max_value) return "valeur hors limites";
    table[static_cast<size_t>(args[0])] = static_cast<uint8_t>(args[1]);
    return {};
  };
  auto set_count = [&](int& counter) -> std::string {
    if (args.size() != 1 || args[0] < 0) return "attendu : " + verb + " C N";
    counter = args[0];
    return {};
  };
  if (verb == "det") return set_cell(card.det, 1);
  if (verb == "in") return set_cell(card.in, 1);
  if (verb == "can") return set_cell(card.can, 255);
  if (verb == "reg") return set_cell(card.reg, 255);
  if (verb == "drop") return set_count(card.drop);
  if (verb == "corrupt") return set_count(card.corrupt);
  if (verb == "silent" || verb == "resume") {
    if (!args.empty()) return "attendu : " + verb + " C";
    card.silent = verb == "silent";
    return {};
  }
  return "commande inconnue : " + verb;
}

std::string CardBank::frame_line(int c) const {
  std::string line = "FRAME " + std::to_string(c) + ":";
  if (c < 0 || c >= kCards) return line;
  for (uint8_t byte : cards_[static_cast<size_t>(c)].last_frame) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", byte);
    line += hex;
  }
  return line;
}
