#include "cards/io_image.h"

#include <algorithm>

#include "cards/card_link.h"
#include "core/system.h"

namespace {

constexpr int kServoCentre = 512;
constexpr int kServoManualCentre = 128;
constexpr int kServoSpeedIndex = 10;

int bit_of(uint8_t byte, int bit) {
  return (byte >> bit) & 1;
}

void reset_servos(IoImage& io) {
  io.srv_cmd.fill(0);
  for (int card = 0; card < kCards; ++card) {
    for (int i = 0; i < kServoPerCard; ++i) {
      io.srv_cmd[static_cast<size_t>(card * kSrvCmdPerCard + i)] = kServoCentre;
    }
  }
  io.srv_pos.fill(kServoCentre);
  io.srv_man.fill(kServoManualCentre);
  io.srv_man_flag.fill(0);
  io.srv_reserved.fill(0);
}

}  // namespace

void outputs_off(IoImage& io) {
  for (auto* table : {&io.canton_man_flag, &io.canton_man_speed}) table->fill(0);
  for (auto* table : {&io.out, &io.out_man_flag, &io.out_man}) table->fill(0);
  for (auto* table : {&io.led, &io.led_cli, &io.led_phase, &io.led_man_flag, &io.led_man,
                      &io.led_cli_man, &io.led_phase_man}) {
    table->fill(0);
  }
}

void reset_io_image(System& sys) {
  IoImage& io = sys.io;
  io.det.fill(0);
  outputs_off(io);
  reset_servos(io);
  io.leds_shown.fill(1);
  io.can.fill(0);
  io.in.fill(0);
}

void decode_answer(System& sys, int card) {
  if (card < 0 || card >= kCards) return;
  IoImage& io = sys.io;
  const auto& answer = sys.cardlink.links[static_cast<size_t>(card)].answer;
  for (int i = 0; i < kCanPerCard; ++i) {
    const size_t slot = static_cast<size_t>(card * kCanPerCard + i);
    const int value = answer[static_cast<size_t>(1 + i)];
    io.can[slot] = io.pot_inverted[slot] ? 255 - value : value;
  }
  for (int i = 0; i < kDetPerCard; ++i) {
    io.det[static_cast<size_t>(card * kDetPerCard + i)] =
        bit_of(answer[static_cast<size_t>(11 + i / 8)], i % 8);
  }
  const size_t in_base = static_cast<size_t>(card * kInPerCard);
  for (int j = 0; j < 9; ++j) {
    for (int k = 0; k < 4; ++k) {
      io.in[in_base + static_cast<size_t>(4 * j + k)] =
          bit_of(answer[static_cast<size_t>(16 + j)], k);
    }
  }
  for (int j = 0; j < 5; ++j) {
    for (int k = 0; k < 8; ++k) {
      io.in[in_base + static_cast<size_t>(40 + 8 * j + k)] =
          bit_of(answer[static_cast<size_t>(6 + j)], k);
    }
  }
}

void servo_ramp(System& sys) {
  IoImage& io = sys.io;
  for (int card = 0; card < kCards; ++card) {
    for (int i = 0; i < kServoPerCard; ++i) {
      int32_t& position = io.srv_pos[static_cast<size_t>(card * kServoPerCard + i)];
      const size_t cmd = static_cast<size_t>(card * kSrvCmdPerCard + i);
      // 64 bits so that any setpoint and speed written on the bus steps without overflow; a
      // negative speed would drive the servo away from its setpoint for ever: it holds still.
      const int64_t s = io.srv_cmd[cmd];
      const int64_t v = std::max<int64_t>(0, io.srv_cmd[cmd + kServoSpeedIndex]);
      int64_t p = position;
      if (p < s) {
        p += v;
        if (p > s) p = s;
      }
      if (p > s) {
        p -= v;
        if (p < s) p = s;
      }
      position = static_cast<int32_t>(p);
    }
  }
}
