#include "cards/card_exchange.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "cards/card_link.h"
#include "core/system.h"

namespace {

constexpr int kSpeedByte = 2;
constexpr int kDirectionByte = 18;
constexpr int kLedLitByte = 28;
constexpr int kLedSteadyByte = 34;
constexpr int kLedPhaseByte = 40;
constexpr int kServoByte = 46;

bool valid_card(int card) {
  return card >= 0 && card < kCards;
}

uint8_t to_byte(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

void set_bit(std::array<uint8_t, kCommandBytes>& frame, int byte, int bit) {
  frame[static_cast<size_t>(byte)] |= static_cast<uint8_t>(1u << bit);
}

// Byte of the frame (from the first byte of a six-byte LED group) and bit for LED 0..47. Each
// half of 24 LEDs takes three bytes: LEDs 0..7, then 12..19, then 8..11 and 20..23.
void led_position(int led, int& byte, int& bit) {
  const int half = led / 24;
  const int j = led % 24;
  if (j < 8) {
    byte = 0, bit = j;
  } else if (j < 12) {
    byte = 2, bit = j - 8;
  } else if (j < 20) {
    byte = 1, bit = j - 12;
  } else {
    byte = 2, bit = j - 16;
  }
  byte += 3 * half;
}

// Output 0..79 to its frame byte, or -1 for outputs 24..39 which the card does not receive.
int output_byte(int output) {
  if (output < 24) return 20 + output / 8;
  if (output < 40) return -1;
  return 23 + (output - 40) / 8;
}

void put_cantons(const System& sys, int card, std::array<uint8_t, kCommandBytes>& frame) {
  const IoImage& io = sys.io;
  const bool stopped = sys.ticks.arret_urg_state == 1;
  for (int i = 0; i < kDetPerCard; ++i) {
    const size_t slot = static_cast<size_t>(card * kDetPerCard + i);
    const int speed =
        io.canton_man_flag[slot] ? io.canton_man_speed[slot] : sys.cantons.Vit_reel[slot];
    frame[static_cast<size_t>(kSpeedByte + i)] = stopped ? 0 : to_byte(std::abs(speed));
    if ((speed >= 0) != (io.canton_inverted[slot] != 0)) {
      set_bit(frame, kDirectionByte + i / 8, i % 8);
    }
  }
}

void put_outputs(const IoImage& io, int card, std::array<uint8_t, kCommandBytes>& frame) {
  for (int i = 0; i < kOutPerCard; ++i) {
    const size_t slot = static_cast<size_t>(card * kOutPerCard + i);
    const int value = io.out_man_flag[slot] ? io.out_man[slot] : io.out[slot];
    const int byte = output_byte(i);
    if (byte >= 0 && value != 0) set_bit(frame, byte, i % 8);
  }
}

void put_leds(const IoImage& io, int card, std::array<uint8_t, kCommandBytes>& frame) {
  for (int i = 0; i < kLedPerCard; ++i) {
    const size_t slot = static_cast<size_t>(card * kLedPerCard + i);
    const bool manual = io.led_man_flag[slot] != 0;
    const bool lit = (manual ? io.led_man[slot] : io.led[slot]) != 0;
    const bool blinks = (manual ? io.led_cli_man[slot] : io.led_cli[slot]) != 0;
    const bool inverted = (manual ? io.led_phase_man[slot] : io.led_phase[slot]) != 0;
    int byte = 0;
    int bit = 0;
    led_position(i, byte, bit);
    if (lit) set_bit(frame, kLedLitByte + byte, bit);
    if (!blinks) set_bit(frame, kLedSteadyByte + byte, bit);
    if (inverted) set_bit(frame, kLedPhaseByte + byte, bit);
  }
}

void put_servos(const IoImage& io, int card, std::array<uint8_t, kCommandBytes>& frame) {
  for (int i = 0; i < kServoPerCard; ++i) {
    const size_t slot = static_cast<size_t>(card * kServoPerCard + i);
    const int value = io.srv_man_flag[slot] ? io.srv_man[slot] : io.srv_pos[slot] / 4;
    frame[static_cast<size_t>(kServoByte + i)] = to_byte(value);
  }
}

bool send_and_receive(System& sys, int card) {
  return send_frame(sys, card) && receive_answer(sys, card);
}

void drain_step(System& sys) {
  drain_input(sys, 5);
}

void double_sync(System& sys) {
  sync_link(sys);
  sys.host.sleep_ms(10);
  sync_link(sys);
}

// What follows a missing answer, each step followed by one more send and receive.
constexpr void (*kRecovery[])(System&) = {drain_step, sync_link, double_sync};

bool operator_restores_link(System& sys, int card) {
  char text[200];
  std::snprintf(text, sizeof text,
                "Perte de liaison avec la (carte ZIR %d)\n Si vous voulez rétablir la liaison :\n"
                "  1 - rebranchez le câble, \n  2 - cliquez sur [OUI] ",
                card);
  return sys.host.ask_yes_no("ZIR - Erreur", text, BoxIcon::Error);
}

// The card's direct-access slots in order; false when a read got no answer.
bool run_direct_slots(System& sys, int card) {
  for (int s = 0; s < kDirectSlots; ++s) {
    DirectSlot& slot = sys.cardlink.slots[static_cast<size_t>(card * kDirectSlots + s)];
    const uint8_t address = to_byte(slot.address);
    if (slot.state == 'w') {
      slot.state = 'x';
      const uint8_t bytes[] = {kDirectAccess, address, kDirectWrite, to_byte(slot.data)};
      send_bytes(sys, bytes, sizeof bytes);
    } else if (slot.state == 'r' || slot.state == 'a') {
      if (slot.state == 'r') slot.state = 'x';
      const uint8_t bytes[] = {kDirectAccess, address, kDirectRead};
      send_bytes(sys, bytes, sizeof bytes);
      uint8_t data = 0;
      if (!wait_byte(sys, data)) {
        send_sync_zeros(sys);
        ++sys.cardlink.serial.error_counter;
        return false;
      }
      slot.data = data;
    }
  }
  return true;
}

bool link_usable(const System& sys, int card) {
  return valid_card(card) && sys.cardlink.serial.active &&
         sys.cardlink.links[static_cast<size_t>(card)].linked;
}

}  // namespace

void build_command(System& sys, int card) {
  if (!valid_card(card)) return;
  auto& frame = sys.cardlink.links[static_cast<size_t>(card)].command;
  frame.fill(0);
  frame[0] = card_byte(card);
  frame[1] = kFrameMark;
  put_cantons(sys, card, frame);
  put_outputs(sys.io, card, frame);
  put_leds(sys.io, card, frame);
  put_servos(sys.io, card, frame);
  std::copy(kFrameTrailer.begin(), kFrameTrailer.end(), frame.begin() + kFrameTrailerByte);
}

bool send_frame(System& sys, int card) {
  if (!valid_card(card)) return false;
  const auto& frame = sys.cardlink.links[static_cast<size_t>(card)].command;
  return send_bytes(sys, frame.data(), frame.size());
}

bool receive_answer(System& sys, int card) {
  SerialLink& serial = sys.cardlink.serial;
  if (!valid_card(card) || !serial.active || !serial.port) return false;
  const uint32_t start = sys.host.now_ms();
  sys.host.sleep_ms(1);
  std::array<uint8_t, kAnswerBytes> answer{};
  // One byte a read: a port waits its time limit anew for each byte of a longer read, and the
  // whole answer must be in within 100 ms of the start.
  for (uint8_t& byte : answer) {
    const int elapsed = static_cast<int>(sys.host.now_ms() - start);
    const int remaining = std::max(0, kWaitLimitMs - elapsed);
    if (serial.port->read_bytes(&byte, 1, remaining) == 0) {
      ++serial.error_counter;
      return false;
    }
  }
  if (answer[0] != kAnswerMark) return false;
  sys.cardlink.links[static_cast<size_t>(card)].answer = answer;
  return true;
}

bool transfer(System& sys, int card) {
  if (!link_usable(sys, card)) return true;
  CardLink& link = sys.cardlink.links[static_cast<size_t>(card)];
  link.command[0] = card_byte(card);
  bool answered = send_and_receive(sys, card);
  for (auto step : kRecovery) {
    if (answered) break;
    step(sys);
    answered = send_and_receive(sys, card);
  }
  if (!answered) {
    if (!operator_restores_link(sys, card)) {
      link.linked = 0;
      return false;
    }
    sync_link(sys);
  }
  return run_direct_slots(sys, card);
}

void exchange_card(System& sys, int card) {
  if (!link_usable(sys, card)) return;
  CardLink& link = sys.cardlink.links[static_cast<size_t>(card)];
  build_command(sys, card);
  constexpr int kAttempts = 4;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (transfer(sys, card)) break;
    // After the operator's No the card is already unlinked: no further box for it.
    if (attempt == kAttempts && link.linked) {
      char text[80];
      std::snprintf(text, sizeof text, "Gros Problème avec la liaison série (carte %d)", card);
      sys.host.message_box("ZIR - Erreur", text, BoxIcon::Error);
      link.linked = 0;
    }
  }
  if (link.linked) decode_answer(sys, card);
}

void exchange_cards(System& sys) {
  for (int card = 0; card < kCards; ++card) exchange_card(sys, card);
}

void switch_off_cards(System& sys) {
  sys.cantons.Vit_reel.fill(0);
  outputs_off(sys.io);
  exchange_cards(sys);
}
